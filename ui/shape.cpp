#include "ui/shape.h"

#include <QPainter>
#include <QPen>

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

}  // namespace marlovin
