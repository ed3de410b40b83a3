#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "ui/displaycheck.h"

TEST(DisplayCheck, aDisplayIsTriedWhenTheEnvironmentOffersOneAndAWaylandOnlySessionGetsWayland) {
    // DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM; the platform to ask for, "-" for none to try.
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        {":0", "wayland-0", "", ""}, {"", "wayland-0", "", "wayland"},  {"", "", "", "-"},
        {"", "", "xcb", "-"},        {"", "wayland-0", "xcb:x=1", "-"}, {":0", "", "xcb", ""},
        {"", "", "offscreen", ""},   {"", "", "xcb;wayland", ""}};
    for (const auto& [display, wayland, platform, expected] : cases) {
        std::map<std::string, std::string> env = {
            {"DISPLAY", display}, {"WAYLAND_DISPLAY", wayland}, {"QT_QPA_PLATFORM", platform}};
        const auto choice = marlovin::ChooseDisplay([&](const char* name) { return env[name]; });
        EXPECT_EQ(choice.missing.empty() ? choice.platform : "-", expected) << platform;
    }
}
