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
//
// GNOME draws no frame for Wayland clients, and the title bar Qt then draws itself offers
// minimise and maximise whatever the window asks for. So in a GNOME session that has an X
// display (Xwayland) and no platform named, X11 comes first: GNOME frames the window from its
// hints. Wayland stays as the fallback should X11 fail to start.
DisplayChoice ChooseDisplay(const std::function<std::string(const char* name)>& env);

}  // namespace marlovin
