#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QSize>
#include <QString>

namespace marlovin {

// The vector picture `resource` drawn to fill `size` logical pixels at the device pixel ratio
// `ratio`, over `background`; a null image if it cannot be read or drawn.
QImage RenderVector(const QString& resource, QSize size, qreal ratio, const QColor& background);

// The window icon: the 32 x 32 bitmap as it is, and the vector source at the larger sizes that
// denser screens ask for. Needs the main window's resources.
QIcon ProgramIcon();

}  // namespace marlovin
