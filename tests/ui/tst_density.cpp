#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

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
    }
};

QTEST_MAIN(DensityTest)
#include "tst_density.moc"
