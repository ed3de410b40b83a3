#include "ui/shape.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace marlovin {

Shape::Shape(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

// Setters skip unchanged values: the search sets the same border many times per second.
void Shape::SetFillColor(QColor color) {
    if (color == fill_)
        return;
    fill_ = color;
    update();
}

void Shape::SetBorderColor(QColor color) {
    if (color == border_)
        return;
    border_ = color;
    update();
}

void Shape::SetBorderWidth(int width) {
    if (width == borderWidth_)
        return;
    borderWidth_ = width;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The engine's device is the one the pixels land on: when the widget is rendered into an
    // image, the painter still names the widget as its device.
    const QPaintDevice* target = painter.paintEngine()->paintDevice();
    if (target->devicePixelRatioF() > 1) {
        PaintSmooth(painter);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(fill_);
    if (borderWidth_ > 0) {
        // The border lies inside the shape's bounds, as the outline of a shape control does.
        QPen pen(border_, borderWidth_);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    const int inset = borderWidth_ / 2;
    QRect box = rect().adjusted(inset, inset, -inset, -inset);
    if (borderWidth_ > 0)
        box.adjust(0, 0, -1, -1);  // an outlined QRect covers one pixel more than its size
    if (kind_ == Kind::Circle)
        painter.drawEllipse(box);
    else
        painter.drawRect(box);
}

namespace {

// A circle `side` device pixels across with a border `border` wide inside it, anti-aliased by
// sampling each pixel on a grid that is symmetric about the pixel's centre. The painter's own
// anti-aliasing leaves stray differences between the two halves of a circle; this does not.
QImage smoothCircle(int side, int border, QColor fill, QColor outline) {
    constexpr int kGrid = 8;
    constexpr int kSamples = kGrid * kGrid;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    const double outer = side / 2.0;
    const double inner = std::max(0.0, outer - border);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            int inFill = 0;
            int inBorder = 0;
            for (int sy = 0; sy < kGrid; ++sy) {
                for (int sx = 0; sx < kGrid; ++sx) {
                    const double dx = x + (sx + 0.5) / kGrid - outer;
                    const double dy = y + (sy + 0.5) / kGrid - outer;
                    const double distance2 = dx * dx + dy * dy;
                    if (distance2 <= inner * inner)
                        ++inFill;
                    else if (distance2 <= outer * outer)
                        ++inBorder;
                }
            }
            const auto mix = [&](int a, int b) {
                return (a * inFill + b * inBorder + kSamples / 2) / kSamples;
            };
            image.setPixel(x, y,
                           qRgba(mix(fill.red(), outline.red()), mix(fill.green(), outline.green()),
                                 mix(fill.blue(), outline.blue()), mix(255, 255)));
        }
    }
    return image;
}

}  // namespace

// Above a ratio of 1 the shape is snapped to whole device pixels, so circles come out round and
// symmetric and borders evenly wide at fractional ratios too.
void Shape::PaintSmooth(QPainter& painter) {
    const QTransform toDevice = painter.deviceTransform();
    const QRectF bounds = toDevice.mapRect(QRectF(rect()));
    // Only device pixels wholly inside the widget: a pixel it covers in part may belong to a
    // neighbour drawn later.
    constexpr qreal kSlack = 1e-6;
    const qreal left = std::ceil(bounds.left() - kSlack);
    const qreal top = std::ceil(bounds.top() - kSlack);
    const int side = static_cast<int>(
        std::floor(std::min(bounds.right() - left, bounds.bottom() - top) + kSlack));
    const qreal scale = toDevice.m11();
    const int border =
        borderWidth_ > 0 ? std::max(1, static_cast<int>(std::lround(borderWidth_ * scale))) : 0;
    const QTransform toLogical = toDevice.inverted();

    if (kind_ == Kind::Square) {
        const auto fillSquare = [&](int inset, const QColor& color) {
            const QRectF area(left + inset, top + inset, side - 2 * inset, side - 2 * inset);
            painter.fillRect(toLogical.mapRect(area), color);
        };
        if (border > 0)
            fillSquare(0, border_);
        fillSquare(border, fill_);
        return;
    }
    // Borders change many times a second during a search, between a handful of looks that all
    // circles share, so each look is built once.
    static std::map<std::tuple<int, int, QRgb, QRgb, qreal>, QImage> looks;
    const auto key = std::make_tuple(side, border, fill_.rgba(), border_.rgba(), scale);
    auto look = looks.find(key);
    if (look == looks.end()) {
        if (looks.size() >= 64)  // colours set from elsewhere could otherwise pile up
            looks.clear();
        QImage circle = smoothCircle(side, border, fill_, border > 0 ? border_ : fill_);
        circle.setDevicePixelRatio(scale);
        look = looks.emplace(key, circle).first;
    }
    painter.drawImage(toLogical.map(QPointF(left, top)), look->second);
}

}  // namespace marlovin
