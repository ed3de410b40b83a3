#pragma once

namespace marlovin {

// The windows are laid out for fonts of given widths. This makes those faces available: the
// host's own where it has them, otherwise the copies built into the program (and, on a host
// without any fonts, makes them the application's font too). Needs the application object;
// only the first call does anything.
void EnsureFonts();

}  // namespace marlovin
