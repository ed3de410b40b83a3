#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <algorithm>
#include <vector>

#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

const QRgb kGreen = qRgb(0, 255, 0);

// Part of `widget` drawn at `ratio` over green, which no shape uses; returned in device pixels.
static QImage draw(QWidget* widget, qreal ratio, QRect part) {
    QImage image((QSizeF(part.size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::green);
    widget->render(&image, {}, QRegion(part));
    image.setDevicePixelRatio(1);
    return image;
}

class DensityTest : public QObject {
    Q_OBJECT
  private slots:
    void board_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
    }
    void board() {
        QFETCH(qreal, ratio);
        frmMain window;
        window.findChild<Shape*>(QStringLiteral("Shape1"))->SetFillColor(Qt::white);
        for (int i = 0; i < kCells; ++i) {
            auto* circle = window.findChild<Shape*>(QStringLiteral("matrix(%1)").arg(i));
            circle->SetFillColor(QList<QColor>{Qt::white, Qt::yellow, Qt::red}[i % 3]);
            if (i % 8 == 0 && i < 32)  // a diagonal four
                circle->SetBorderColor(Qt::black);
        }
        const QImage board = draw(window.centralWidget(), ratio, {8, 8, 185, 185});
        if (ratio == 1) {
            const QImage golden(QStringLiteral(MARLOVIN_SOURCE_DIR "/tests/ui/board_1x.png"));
            QCOMPARE(board, golden.convertToFormat(QImage::Format_RGB32));
            return;
        }
        for (Shape* shape : window.findChildren<Shape*>()) {
            QImage image = draw(shape, ratio, shape->rect());
            const QList<QRgb> plain{kGreen, shape->FillColor().rgb(), shape->BorderColor().rgb()};
            QRect painted;
            int blended = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    painted |= image.pixel(x, y) != kGreen ? QRect(x, y, 1, 1) : QRect();
                    blended += plain.contains(image.pixel(x, y)) ? 0 : 1;
                }
            }
            image = image.copy(painted);
            image.save("/tmp/hidpi_shape_" + shape->objectName() + ".png");
            QCOMPARE(image, image.mirrored(true, false));
            QCOMPARE(image, image.mirrored(false, true));
            QVERIFY(blended > 0 || shape->objectName() == "Shape1");  // a square has no curve
            // The border's width along the four axes, walking in from each edge to the fill.
            const int end = image.width() - 1, mid = end / 2;
            std::vector<int> widths;
            for (auto [at, step] : {std::pair{QPoint(0, mid), QPoint(1, 0)},
                                    {{mid, 0}, {0, 1}},
                                    {{end, mid}, {-1, 0}},
                                    {{mid, end}, {0, -1}}}) {
                int width = 0;
                for (; image.pixel(at) != shape->FillColor().rgb(); at += step)
                    ++width;
                widths.push_back(width);
            }
            QVERIFY(std::ranges::max(widths) - std::ranges::min(widths) <= 1);
        }
    }
};

QTEST_MAIN(DensityTest)
#include "tst_density.moc"
