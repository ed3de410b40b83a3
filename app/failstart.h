#pragma once

#include <QString>

namespace marlovin {

// A start without a display ends in one line on stderr, saying what failed, and status 1: no
// core dump, no screen of Qt's own complaints.
[[noreturn]] void FailStart(const QString& what);

}  // namespace marlovin
