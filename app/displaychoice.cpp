#include "app/displaychoice.h"

namespace marlovin {

namespace {

// XDG_CURRENT_DESKTOP is a colon-separated list, such as "ubuntu:GNOME".
bool NamesGnome(const std::string& desktops) {
    return (":" + desktops + ":").find(":GNOME:") != std::string::npos;
}

}  // namespace

DisplayChoice ChooseDisplay(const std::function<std::string(const char* name)>& env) {
    const std::string platform = env("QT_QPA_PLATFORM");
    // Options follow the name after a colon; a list such as "xcb;wayland" is tried in turn.
    const bool xcbOnly =
        platform.find(';') == std::string::npos && platform.substr(0, platform.find(':')) == "xcb";
    if (!platform.empty() && !xcbOnly)
        return {};
    if (!env("DISPLAY").empty()) {
        if (platform.empty() && NamesGnome(env("XDG_CURRENT_DESKTOP")))
            return {"xcb;wayland", ""};
        return {};
    }
    if (xcbOnly)
        return {"", "QT_QPA_PLATFORM is xcb, but DISPLAY is not set"};
    if (!env("WAYLAND_DISPLAY").empty())
        return {"wayland", ""};
    return {"", "neither DISPLAY nor WAYLAND_DISPLAY is set"};
}

}  // namespace marlovin
