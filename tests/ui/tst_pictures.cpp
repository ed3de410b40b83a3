#include <QtTest>
#include <QtWidgets>
#include <functional>

#include "app/qttranslation.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"

using namespace marlovin;

// Calls onFirstFour once, when the first four of the game has got its black borders on screen.
class WatchedWindow : public frmMain {
  public:
    void HighlightFour(const std::array<Cell, 4>& cells) override {
        frmMain::HighlightFour(cells);
        const std::function<void()> once = std::exchange(onFirstFour, nullptr);
        if (once)
            once();
    }
    std::function<void()> onFirstFour;
};

// `widget` drawn into an image at the device pixel ratio `ratio`, as a repaint would show it.
static QImage Picture(QWidget* widget, qreal ratio) {
    // The main window writes its labels before it repaints.
    QEvent update(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(widget, &update);
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget->render(&image);
    return image;
}

// Plain pixels, whatever colour space the image names.
static QImage Plain(QImage image) {
    image.setColorSpace({});
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The reference pictures of the running Qt's minor version: Qt's style draws its own controls
// differently from one to the next.
static QString ReferenceFolder() {
    const QVersionNumber qt = QLibraryInfo::version();
    return QString(QT_TESTCASE_SOURCEDIR "/references/%1.%2/")
        .arg(qt.majorVersion())
        .arg(qt.minorVersion());
}

// Compares `got` with the reference picture `name`. MARLOVIN_MAKE_REFERENCES=1 writes it there
// instead (the references target). A failure leaves the picture it got in the working directory.
static void CompareWithReference(const QImage& got, const QString& name) {
    const QString reference = ReferenceFolder() + name + ".png";
    if (qEnvironmentVariableIntValue("MARLOVIN_MAKE_REFERENCES") == 1) {
        QVERIFY(got.save(reference));
        return;
    }
    if (got == Plain(QImage(reference)))
        return;
    const QString gotFile = QDir::current().filePath("got-" + name + ".png");
    got.save(gotFile);
    QFAIL(qPrintable(name + " differs from its reference: see " + gotFile));
}

class PicturesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // A blinking text cursor would come and go between pictures.
        QApplication::setCursorFlashTime(0);
        if (qEnvironmentVariableIntValue("MARLOVIN_MAKE_REFERENCES") == 1)
            QVERIFY(QDir().mkpath(ReferenceFolder()));
        if (!QFileInfo::exists(ReferenceFolder()))
            QSKIP(qPrintable("no reference pictures for Qt " + QString(qVersion()) +
                             ": cmake --build build --target references draws them"));
    }

    // The main window when the player looks at it: at start, after "&Neues Spiel", during a
    // computer move with a four highlighted, after a win and after a draw.
    void theMainWindowLooksAsItsReferencesAtEveryMoment() {
        WatchedWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CompareAtEveryRatio(&window, "main-start");
        // Its icon: the bitmap at 32, the build's drawing of the icon's source at 16.
        QCOMPARE(Plain(window.windowIcon().pixmap(32).toImage()), Plain(QImage("icon.png")));
        QCOMPARE(Plain(window.windowIcon().pixmap(16).toImage()), Plain(QImage("icon-16.png")));
        Action(window, "mPlayNew")->trigger();
        CompareAtEveryRatio(&window, "main-new-game");
        // Red's three discs in column 0: yellow's search tries red's four on top of them.
        window.onFirstFour = [&] { CompareAtEveryRatio(&window, "main-search-four"); };
        for (int disc = 0; disc < 3; ++disc)
            QTest::mouseClick(window.findChild<QPushButton*>("Command1(0)"), Qt::LeftButton);
        QVERIFY(window.onFirstFour == nullptr);

        // The message that ends each game, then closed.
        int messages = 0;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&messages] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++messages;
                CompareWithReference(Picture(box, 1), QString("message-%1").arg(messages));
                box->close();
            }
        });
        closer.start(0);
        Action(window, "mCPUyellow")->trigger();
        Action(window, "mPlayNew")->trigger();
        PlayColumns(window, "0011223");
        CompareAtEveryRatio(&window, "main-win");
        Action(window, "mPlayNew")->trigger();
        PlayColumns(window, "0300100300112115112232252233433644544644556566566");
        CompareAtEveryRatio(&window, "main-draw");
    }

    // The menus with their check marks as the window starts, and the shortcut's German key name.
    void theMenusLookAsTheirReferences() {
        QVERIFY(InstallQtGermanTexts());
        frmMain window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char* name : {"mPlay", "mOptions", "mCPU", "m1"}) {
            auto* menu = window.findChild<QMenu*>(name);
            menu->popup(window.geometry().topRight());
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            CompareWithReference(Picture(menu, 1), QString("menu-%1").arg(name));
            menu->close();
        }
    }

    // At each density the program carries a banner for, and under a dark palette: the window is
    // white whatever the theme, so its captions, values and line must stay dark when a dark theme
    // hands out light text; the credits box and the button follow the theme.
    void theAboutWindowLooksAsItsReferences() {
        frmMain window;
        frmInfo info(&window);
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0})
            CompareWithReference(Picture(&info, ratio), QString("about-%1x").arg(ratio));
        const QPalette original = QApplication::palette();
        QApplication::setPalette(QPalette(QColor(53, 53, 53)));
        frmInfo dark(&window);
        const QImage picture = Picture(&dark, 1);
        QApplication::setPalette(original);
        CompareWithReference(picture, "about-dark-palette");
    }

  private:
    static void CompareAtEveryRatio(QWidget* window, const QString& moment) {
        for (const qreal ratio : {1.0, 1.5, 2.0})
            CompareWithReference(Picture(window, ratio), QString("%1-%2x").arg(moment).arg(ratio));
    }
    static QAction* Action(const frmMain& window, const char* name) {
        return window.findChild<QAction*>(name);
    }
    static void PlayColumns(const frmMain& window, const QString& columns) {
        for (const QChar column : columns) {
            const QString button = QString("Command1(%1)").arg(column);
            QTest::mouseClick(window.findChild<QPushButton*>(button), Qt::LeftButton);
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
