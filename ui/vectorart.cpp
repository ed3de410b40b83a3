#include "ui/vectorart.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <cmath>

namespace marlovin {

QImage RenderVector(const QString& resource, QSize size, qreal ratio, const QColor& background) {
    QImage image(static_cast<int>(std::ceil(size.width() * ratio)),
                 static_cast<int>(std::ceil(size.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QSvgRenderer renderer(resource);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QIcon ProgramIcon() {
    QIcon icon(QStringLiteral(":/marlovin/icon.png"));
    // 32 pixels at ratios from 1.25 to 4; smaller sizes keep coming from the bitmap.
    for (const int side : {40, 48, 56, 64, 80, 96, 128}) {
        icon.addPixmap(QPixmap::fromImage(RenderVector(QStringLiteral(":/marlovin/icon.svg"),
                                                       QSize(side, side), 1, Qt::transparent)));
    }
    return icon;
}

}  // namespace marlovin
