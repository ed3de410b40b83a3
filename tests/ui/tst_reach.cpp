// Whether the game reaches every player and host: keyboard play and screen readers, screens above
// 1x, hosts with few or no fonts, sessions with only a Wayland display. ctest runs each function
// alone, in its own environment.
#include <QAccessible>
#include <QAction>
#include <QColorSpace>
#include <QFontDatabase>
#include <QLabel>
#include <QRawFont>
#include <QTest>
#include <QTimer>
#include <bit>
#include <map>

#include "ui/displaycheck.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

// Notes each new accessible name of the status line, which is what a screen reader hears.
class ListenedWindow : public frmMain {
  public:
    void ShowPlayerToMove(Player player) override {
        frmMain::ShowPlayerToMove(player);
        const QString name = findChild<QLabel*>("Label1")->accessibleName();
        if (heard.isEmpty() || heard.back() != name)
            heard << name;
    }
    QStringList heard;
};

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

class ReachTest : public QObject {
    Q_OBJECT

    ListenedWindow window_;

    QString Name(const QString& object, QAccessible::Text text = QAccessible::Name) const {
        return QAccessible::queryAccessibleInterface(window_.findChild<QObject*>(object))
            ->text(text);
    }
    void Trigger(const char* action) { window_.findChild<QAction*>(action)->trigger(); }
    // Keys reach the window through whichever control has the focus; here a column button.
    void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window_.findChild<QWidget*>("Command1(5)"), Qt::Key(key), modifiers);
    }

  private slots:
    // Red by hand against the computer's yellow: key 3 (negative times for releases) pressed at
    // 100 and held, so it repeats as release/press pairs of equal time; the window drops the
    // release at 130 as if the computer were still moving. Released at 200, pressed at 250 while
    // the window takes no input, and again at 300: two red discs. Then two people play, yellow
    // starting; keys outside 0-6 change nothing, nor do keys after a win.
    void keyboardAndScreenReader() {
        window_.show();
        QCOMPARE(Name("Shape1") + ", " + Name("Command1(6)"), "Spielfeld, Spalte 6");
        Trigger("mPlayNew");
        for (int time : {100, -130, 130, -160, 160, -200, 250, 300}) {
            window_.SetWindowEnabled(time != -130 && time != 250);
            QKeyEvent key(time < 0 ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_3, {});
            key.setTimestamp(quint64(qAbs(time)));
            QApplication::sendEvent(window_.findChild<QWidget*>("Command1(5)"), &key);
        }
        QCOMPARE(std::popcount(window_.State().board.OccupiedBits()), 4);
        // Only who is to move after each move is heard, not the search's changes of it.
        QCOMPARE(window_.heard, QStringList({"Rot", "Gelb (CPU)", "Rot", "Gelb (CPU)", "Rot"}));
        QCOMPARE(Name("Label5"), "Züge: " + window_.findChild<QLabel*>("Label5")->text());
        QCOMPARE(Name("matrix(21)"), "Spalte 3, Reihe 0: rot");

        Trigger("mCPUyellow");
        Trigger("mPlayNew");
        for (int key : {Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_A, Qt::Key_Z})
            Press(key), Press(key, Qt::KeypadModifier);
        QCOMPARE(window_.State().board, Board{});
        QTimer closer;  // closes the win message
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        closer.start(0);
        for (int column : {2, 6, 3, 6, 4, 6, 5, 0, 1})  // yellow wins with 5; 0 and 1 come after
            Press(Qt::Key_0 + column, column % 2 ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(Name("Shape1", QAccessible::Description),
                 "Spalte 0: leer; Spalte 1: leer; Spalte 2: gelb; Spalte 3: gelb; Spalte 4: gelb; "
                 "Spalte 5: gelb; Spalte 6: rot, rot, rot");
        QCOMPARE(Name("Label1"), "Der Spieler Gelb hat gegen den Spieler Rot gewonnen.");
    }

    // At a ratio of 1 the board is drawn as before. Above it each shape has the symmetry of a
    // square (a mirror and a quarter turn), so its border is as wide on all sides, and a circle
    // has blended edges. The About banner and the window icon are their bitmaps at 1 and their
    // vector sources at 2 (the icon's 64 pixels serve 32 at 2).
    void boardBannerAndIcon() {
        const auto shapes = window_.findChildren<Shape*>();  // the square, matrix(0)...
        for (int i = 0; i < shapes.size(); ++i)
            shapes[i]->SetFillColor(QList<QColor>{Qt::white, Qt::yellow, Qt::red}[i % 3]);
        window_.HighlightFour({{{0, 0}, {1, 1}, {2, 2}, {3, 3}}});
        QCOMPARE(draw(window_.centralWidget(), 1, {8, 8, 185, 185}), file("board_1x.png"));
        for (const qreal ratio : {1.25, 1.5, 1.75, 2.0})
            for (Shape* shape : shapes) {
                const QImage image = draw(shape, ratio, shape->rect());
                QCOMPARE(image, image.mirrored(true, false));
                QCOMPARE(image, image.transformed(QTransform().rotate(90)));
                // Partly covered pixels at a circle's edge come out differently in a thresholded
                // and in a dithered one-bit mask.
                QVERIFY(shape == shapes[0] ||
                        image.createAlphaMask() != image.createAlphaMask(Qt::OrderedAlphaDither));
            }
        frmInfo info(&window_);
        QCOMPARE(draw(&info, 1, {0, 0, 154, 294}), file("banner.png"));
        QCOMPARE(draw(&info, 2, {0, 0, 154, 294}), file("banner_2x.png", 2));
        QCOMPARE(window_.windowIcon().pixmap(32), QPixmap(":/marlovin/icon.png"));
        QCOMPARE(window_.windowIcon().pixmap(64).toImage(), file("icon_2x.png"));
    }

    // Every caption has its glyphs in the font it is drawn with; without a face behind it (no
    // fonts at all), a font draws every character as a box. Labels and buttons show a "text",
    // which must fit; the credits box a "plainText"; menus hold actions.
    void captionsFitAndRender() {
        frmInfo info(&window_);
        for (QWidget* widget : window_.findChildren<QWidget*>() + info.findChildren<QWidget*>()) {
            QStringList texts = {widget->property("text").toString().remove('&'),
                                 widget->property("plainText").toString()};
            for (QAction* action : widget->actions())
                texts << action->text().remove('&');
            const QFont font = widget->font();
            QVERIFY2(QFontDatabase::hasFamily(QFontInfo(font).family()),
                     qPrintable(texts.join('|')));
            for (const QString& text : texts)
                for (const QChar c : text)
                    QVERIFY2(c.isSpace() || QRawFont::fromFont(font).supportsCharacter(c),
                             qPrintable(text));
            QVERIFY2(
                QFontMetrics(font).horizontalAdvance(texts[0]) <= widget->contentsRect().width(),
                qPrintable(widget->objectName() + ": " + texts[0]));
        }
    }

    // DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM; the platform to ask for, "-" for none to try.
    void displayCheck() {
        const char* cases[][4] = {
            {":0", "wayland-0", "", ""}, {"", "wayland-0", "", "wayland"},  {"", "", "", "-"},
            {"", "", "xcb", "-"},        {"", "wayland-0", "xcb:x=1", "-"}, {":0", "", "xcb", ""},
            {"", "", "offscreen", ""},   {"", "", "xcb;wayland", ""}};
        for (const auto& c : cases) {
            std::map<std::string, std::string> env = {
                {"DISPLAY", c[0]}, {"WAYLAND_DISPLAY", c[1]}, {"QT_QPA_PLATFORM", c[2]}};
            const auto choice = ChooseDisplay([&](const char* name) { return env[name]; });
            QCOMPARE(QString::fromStdString(choice.missing.empty() ? choice.platform : "-"), c[3]);
        }
    }
};

QTEST_MAIN(ReachTest)
#include "tst_reach.moc"
