#pragma once

#include <QIcon>
#include <QImage>

namespace marlovin {

// The window icon: the 32 x 32 bitmap as it is, and the build's drawings of its vector source at
// the other sizes a desktop shows, each read when first asked for.
QIcon ProgramIcon();

// The About window's banner for a device pixel ratio: the bitmap at 1, the build's drawing at the
// densities it makes, and between two of those the denser one scaled down smoothly (above the
// densest, that one scaled up).
QImage BannerAt(qreal ratio);

}  // namespace marlovin
