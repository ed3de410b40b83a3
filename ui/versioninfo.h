#pragma once

#include <QString>
#include <cstdint>

namespace marlovin {

// The product name and version numbers the About window shows. Where the platform has version
// resources they are read from the executable's own (empty and 0 if it carries none); elsewhere
// they are the values the build supplies.
struct ProgramVersion {
    QString productName;
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t revision = 0;
};

ProgramVersion ReadProgramVersion();

}  // namespace marlovin
