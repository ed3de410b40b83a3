#include "app/displaychoice.h"

namespace marlovin {

DisplayChoice ChooseDisplay(const std::function<std::string(const char* name)>& env) {
    const std::string platform = env("QT_QPA_PLATFORM");
    // Options follow the name after a colon; a list such as "xcb;wayland" is tried in turn.
    const bool xcbOnly =
        platform.find(';') == std::string::npos && platform.substr(0, platform.find(':')) == "xcb";
    if ((!platform.empty() && !xcbOnly) || !env("DISPLAY").empty())
        return {};
    if (xcbOnly)
        return {"", "QT_QPA_PLATFORM is xcb, but DISPLAY is not set"};
    if (!env("WAYLAND_DISPLAY").empty())
        return {"wayland", ""};
    return {"", "neither DISPLAY nor WAYLAND_DISPLAY is set"};
}

}  // namespace marlovin
