#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace marlovin {

// A filled circle or square with a border, like the shape controls the board is built from. At a
// device pixel ratio of 1 it paints without antialiasing so fill and border keep their exact
// colours; above 1 the edges are smoothed. It leaves the pixels outside a circle untouched so a
// lower shape or the window shows through there.
class Shape : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Circle, Square };

    // Fill and border start as the defaults of a painter's brush and pen: black, width 1.
    Shape(Kind kind, QWidget* parent);

    QColor FillColor() const { return fill_; }
    QColor BorderColor() const { return border_; }
    int BorderWidth() const { return borderWidth_; }

    void SetFillColor(QColor color);
    void SetBorderColor(QColor color);
    void SetBorderWidth(int width);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void PaintSmooth(QPainter& painter);

    Kind kind_;
    QColor fill_{Qt::black};
    QColor border_{Qt::black};
    int borderWidth_ = 1;
};

}  // namespace marlovin
