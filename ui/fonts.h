#pragma once

#include <QFont>

namespace marlovin {

// The windows were laid out for fonts of given widths. The program carries faces of those widths
// and draws in them whatever the host has installed, so both windows come out the same pixels on
// every machine.
enum class Face {
    Arial,              // Liberation Sans
    CourierNewBold,     // Liberation Mono Bold
    CenturyGothicBold,  // TeX Gyre Adventor Bold, drawn on URW Gothic with ITC Avant Garde's widths
};

// Registers the built-in faces and makes Liberation Sans at 9 points the application's font, the
// one menus, message boxes and the About window's button are drawn in. Needs the application
// object; only the first call does anything.
void EnsureFonts();

// The built-in face, at the toolkit's default size until the caller sets one.
QFont BuiltInFont(Face face);

}  // namespace marlovin
