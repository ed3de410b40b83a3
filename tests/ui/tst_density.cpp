#include <QColorSpace>
#include <QImage>
#include <QTest>

#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

// A picture file of the working directory as plain pixels at the ratio `r`, whatever colour
// space it names.
static QImage file(const char* name, qreal r = 1) {
    QImage image(name);
    image.setColorSpace({});
    image.setDevicePixelRatio(r);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The part `p` of `widget` drawn at the ratio `r` into the device pixels it wholly covers.
static QImage draw(QWidget* widget, qreal r, QRect p) {
    QImage image(int(p.width() * r), int(p.height() * r), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(r);
    image.fill(Qt::transparent);
    widget->render(&image, {}, QRegion(p));
    return image;
}

class DensityTest : public QObject {
    Q_OBJECT
  private slots:
    // At a ratio of 1 the board is drawn as before. Above it each shape has the symmetry of a
    // square (a mirror and a quarter turn), so its border is as wide on all sides, and a circle
    // has blended edges. The About banner and the window icon are their bitmaps at 1 and their
    // vector sources at 2 (the icon's 64 pixels serve 32 at 2).
    void boardBannerAndIcon() {
        marlovin::frmMain window;
        const auto shapes = window.findChildren<marlovin::Shape*>();  // the square, matrix(0)...
        for (int i = 0; i < shapes.size(); ++i)
            shapes[i]->SetFillColor(QList<QColor>{Qt::white, Qt::yellow, Qt::red}[i % 3]);
        window.HighlightFour({{{0, 0}, {1, 1}, {2, 2}, {3, 3}}});
        QCOMPARE(draw(window.centralWidget(), 1, {8, 8, 185, 185}), file("board_1x.png"));
        for (const qreal ratio : {1.25, 1.5, 1.75, 2.0})
            for (marlovin::Shape* shape : shapes) {
                const QImage image = draw(shape, ratio, shape->rect());
                QCOMPARE(image, image.mirrored(true, false));
                QCOMPARE(image, image.transformed(QTransform().rotate(90)));
                // Partly covered pixels at a circle's edge come out differently in a thresholded
                // and in a dithered one-bit mask.
                QVERIFY(shape == shapes[0] ||
                        image.createAlphaMask() != image.createAlphaMask(Qt::OrderedAlphaDither));
            }
        marlovin::frmInfo info(&window);
        QCOMPARE(draw(&info, 1, {0, 0, 154, 294}), file("banner.png"));
        QCOMPARE(draw(&info, 2, {0, 0, 154, 294}), file("banner_2x.png", 2));
        QCOMPARE(window.windowIcon().pixmap(32), QPixmap(":/marlovin/icon.png"));
        QCOMPARE(window.windowIcon().pixmap(64).toImage(), file("icon_2x.png"));
    }
};

QTEST_MAIN(DensityTest)
#include "tst_density.moc"
