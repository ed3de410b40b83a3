#pragma once

#include <functional>
#include <string>

namespace marlovin {

// What the environment offers before Qt is asked to open a display.
struct DisplayChoice {
    // The platform to ask Qt for; empty leaves the choice to Qt.
    std::string platform;
    // Why there is no display to try; empty when there is one.
    std::string missing;
};

// env gives a variable's value, empty when unset. Qt's default platform here, xcb, cannot start
// without DISPLAY, so a session with only WAYLAND_DISPLAY gets Wayland; platforms other than
// xcb named in QT_QPA_PLATFORM need no display variable and are always tried.
DisplayChoice ChooseDisplay(const std::function<std::string(const char* name)>& env);

}  // namespace marlovin
