#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "version.h"

namespace marlovin {
namespace {

template <typename T = QWidget>
T* control(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString text(const QWidget& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QLatin1String(name));
    return label != nullptr ? label->text() : QStringLiteral("<no %1>").arg(name);
}

// Opens the window as the main window's Info command does, modally, and returns after it closed.
// `whileOpen` runs once inside the modal loop and is to close it.
int openModally(QWidget* owner, const std::function<void(frmInfo&)>& whileOpen) {
    constexpr int kStillOpen = 4711;
    frmInfo info(owner);
    QTimer::singleShot(0, &info, [&info, &whileOpen] {
        whileOpen(info);
        if (info.isVisible())
            info.done(kStillOpen);
    });
    const int result = info.exec();
    EXPECT_NE(result, kStillOpen) << "the window did not close";
    return result;
}

TEST(AboutWindow, ShowsMakerProductAndVersionFromTheBuild) {
    static_assert(version::kMajor == 1 && version::kMinor == 0 && version::kBuild == 0 &&
                  version::kRevision == 1);
    frmInfo info;
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(text(info, "Label1"), QStringLiteral("Dunfeld"));
    EXPECT_EQ(text(info, "Label2"), QString::fromUtf8(version::kProductName));
    EXPECT_EQ(text(info, "Label2"), QStringLiteral("Marlovin"));
    EXPECT_EQ(text(info, "Label4"), QStringLiteral("1.0.1")) << "the build number is left out";
}

TEST(AboutWindow, LaysOutItsControlsInPixelsWithTheInputsOnTop) {
    frmInfo info;
    EXPECT_EQ(info.size(), QSize(417, 294));
    EXPECT_EQ(info.minimumSize(), info.maximumSize());
    const std::pair<const char*, QRect> expected[] = {{"Image1", {0, 0, 154, 294}},
                                                      {"Label2", {168, 40, 241, 33}},
                                                      {"Label8", {256, 80, 97, 17}},
                                                      {"Text1", {160, 160, 249, 97}},
                                                      {"Command1", {328, 264, 81, 21}}};
    for (const auto& [name, rect] : expected) {
        QWidget* widget = control(info, name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), rect) << name;
    }
    // The credits box covers the lowest pixel row of the "Credits:" label.
    QWidget* hit = info.childAt(200, 160);
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit->objectName() == QStringLiteral("Text1") ||
                control(info, "Text1")->isAncestorOf(hit));
}

TEST(AboutWindow, TitlesUseTheGothicFaceInDarkRedAndTheRestArialAt13Pixels) {
    frmInfo info;
    for (const char* name : {"Label1", "Label2"}) {
        QWidget* title = control(info, name);
        ASSERT_NE(title, nullptr);
        const QFontInfo face(title->font());
        EXPECT_TRUE(face.family().startsWith(QStringLiteral("Century Gothic")) ||
                    face.family().startsWith(QStringLiteral("URW Gothic")))
            << face.family().toStdString();
        EXPECT_EQ(face.pixelSize(), 24);
        EXPECT_TRUE(face.bold());
        EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(189, 0, 4));
    }
    for (const char* name : {"Label3", "Text1"}) {
        QWidget* widget = control(info, name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(QFontInfo(widget->font()).pixelSize(), 13);
    }
}

TEST(AboutWindow, PaintsTheBannerOnWhiteAndTheSeparatorToTheRightBorder) {
    frmInfo info;
    info.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));
    const QImage shot = info.grab().toImage();
    EXPECT_NE(shot.pixelColor(10, 10), QColor(Qt::white)) << "banner picture missing";
    EXPECT_EQ(shot.pixelColor(412, 100), QColor(Qt::white));
    for (int x : {155, 300, 416})
        EXPECT_LT(shot.pixelColor(x, 72).lightness(), 100) << "separator at x " << x;
}

TEST(AboutWindow, OpensCentredOnTheScreenNotOnItsOwner) {
    QWidget owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    frmInfo info(&owner);
    info.show();
    const QPoint screenCentre = owner.screen()->geometry().center();
    EXPECT_LE((info.frameGeometry().center() - screenCentre).manhattanLength(), 1);
}

TEST(AboutWindow, CreditsBoxRefusesEditsAndScrollsToItsLastSection) {
    frmInfo info;
    info.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));
    auto* credits = control<QPlainTextEdit>(info, "Text1");
    ASSERT_NE(credits, nullptr);
    const QString before = credits->toPlainText();
    EXPECT_EQ(before.count(QLatin1Char('\n')), 9) << "nine lines, each ended by a line break";
    EXPECT_TRUE(before.endsWith(QLatin1Char('\n')));

    credits->setFocus();
    credits->selectAll();
    QTest::keyClicks(credits, QStringLiteral("xyz"));
    QTest::keyClick(credits, Qt::Key_Backspace);
    QTest::keyClick(credits, Qt::Key_X, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(credits, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(credits->toPlainText(), before);
    EXPECT_TRUE(credits->verticalScrollBar()->isVisible());
    EXPECT_GT(credits->verticalScrollBar()->maximum(), 0);
}

TEST(AboutWindow, ReopeningShowsTheSameContentScrolledToTheTop) {
    QWidget owner;
    owner.show();
    struct Seen {
        QStringList texts;
        int scroll = -1;
        bool selection = true;
    } first, second;
    auto lookThenScrollAway = [](frmInfo& info, Seen& seen) {
        for (QLabel* label : info.findChildren<QLabel*>())
            seen.texts << label->text();
        auto* credits = info.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        seen.texts << credits->toPlainText();
        seen.scroll = credits->verticalScrollBar()->value();
        seen.selection = credits->textCursor().hasSelection();
        credits->selectAll();
        credits->verticalScrollBar()->setValue(credits->verticalScrollBar()->maximum());
        QTest::keyClick(&info, Qt::Key_Escape);
    };
    openModally(&owner, [&](frmInfo& info) { lookThenScrollAway(info, first); });
    openModally(&owner, [&](frmInfo& info) { lookThenScrollAway(info, second); });
    EXPECT_EQ(second.texts, first.texts);
    EXPECT_EQ(second.scroll, 0);
    EXPECT_FALSE(second.selection);
}

// A way of closing the window, and whether it goes through the OK button.
struct Closing {
    const char* how;
    std::function<void(frmInfo&)> close;
    bool throughOk;
};
void PrintTo(const Closing& closing, std::ostream* out) {
    *out << closing.how;
}

class AboutWindowClosing : public ::testing::TestWithParam<Closing> {};

TEST_P(AboutWindowClosing, EndsTheModalCall) {
    bool okClicked = false;
    const int result = openModally(nullptr, [&](frmInfo& info) {
        QObject::connect(control<QPushButton>(info, "Command1"), &QPushButton::clicked,
                         [&okClicked] { okClicked = true; });
        GetParam().close(info);
    });
    EXPECT_EQ(okClicked, GetParam().throughOk);
    EXPECT_EQ(result, GetParam().throughOk ? QDialog::Accepted : QDialog::Rejected);
}

void pressOnFocus(frmInfo& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog, key,
                    modifiers);
}

INSTANTIATE_TEST_SUITE_P(
    ByKeyButtonOrCloseBox, AboutWindowClosing,
    ::testing::Values(
        Closing{"Enter", [](frmInfo& dialog) { pressOnFocus(dialog, Qt::Key_Return); }, true},
        Closing{"Esc", [](frmInfo& dialog) { pressOnFocus(dialog, Qt::Key_Escape); }, true},
        Closing{"AltO",
                [](frmInfo& dialog) {
                    QApplication::setActiveWindow(&dialog);
                    pressOnFocus(dialog, Qt::Key_O, Qt::AltModifier);
                    // A mnemonic presses the button with a short animation.
                    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }));
                },
                true},
        Closing{"ClickOnOk",
                [](frmInfo& dialog) {
                    QTest::mouseClick(control<QPushButton>(dialog, "Command1"), Qt::LeftButton);
                },
                true},
        Closing{"CloseBox", [](frmInfo& dialog) { dialog.close(); }, false}),
    [](const ::testing::TestParamInfo<Closing>& param) { return std::string(param.param.how); });

// The About window over a running main window.
class AboutOverMainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    }
    QAction* action(const char* name) { return control<QAction>(main, name); }
    // Delivered through the platform window, so that modality applies.
    void clickThroughWindow(QWidget* widget, QPoint at) {
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, widget->mapTo(&main, at));
    }
    void clickColumn3ThroughWindow() {
        QWidget* button = control(main, "Command1(3)");
        clickThroughWindow(button, button->rect().center());
    }
    QWidget* openGameMenuThroughWindow() {
        QMenuBar* bar = main.menuBar();
        clickThroughWindow(
            bar, bar->actionGeometry(control<QMenu>(main, "mPlay")->menuAction()).center());
        return QApplication::activePopupWidget();
    }

    frmMain main;
};

TEST_F(AboutOverMainWindow, MainWindowTakesNoClicksKeysOrMenusWhileItIsOpen) {
    action("mCPUyellow")->trigger();  // people on both sides
    action("mPlayNew")->trigger();
    const Board before = main.State().board;

    QWidget* popup = nullptr;
    openModally(&main, [&](frmInfo& info) {
        clickColumn3ThroughWindow();
        QTest::keyClick(main.windowHandle(), Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(info.windowHandle(), Qt::Key_N, Qt::ControlModifier);
        popup = openGameMenuThroughWindow();
        EXPECT_TRUE(info.isVisible());
        QTest::keyClick(&info, Qt::Key_Escape);
    });
    EXPECT_EQ(popup, nullptr) << "a menu opened";
    EXPECT_EQ(main.State().board, before);

    // The same clicks count once it is closed.
    clickColumn3ThroughWindow();
    EXPECT_NE(main.State().board, before);
    popup = openGameMenuThroughWindow();
    ASSERT_NE(popup, nullptr);
    popup->close();
}

TEST_F(AboutOverMainWindow, GameInterruptedByItDuringAPersonsTurnCarriesOnUnchanged) {
    // Red, a person, drops into column 3 and the computer answers for yellow; an undisturbed
    // window makes the same move for comparison.
    frmMain undisturbed;
    undisturbed.show();
    for (frmMain* window : {&main, &undisturbed}) {
        window->findChild<QAction*>(QStringLiteral("mPlayNew"))->trigger();
        ASSERT_EQ(window->State().currentPlayer, kRed);
    }
    QTest::mouseClick(control<QPushButton>(undisturbed, "Command1(3)"), Qt::LeftButton);

    // Queued now, it opens from the first event processing inside the turn.
    bool openedMidTurn = false;
    Board boardWhenOpened;
    QMetaObject::invokeMethod(
        &main,
        [&] {
            openedMidTurn = main.Controller().TurnInProgress();
            boardWhenOpened = main.State().board;
            QTimer::singleShot(0, &main, [] {
                if (auto* info = qobject_cast<frmInfo*>(QApplication::activeModalWidget()))
                    QTest::keyClick(info, Qt::Key_Return);
            });
            action("mInfo")->trigger();
        },
        Qt::QueuedConnection);
    QTest::mouseClick(control<QPushButton>(main, "Command1(3)"), Qt::LeftButton);

    ASSERT_TRUE(openedMidTurn);
    EXPECT_EQ(boardWhenOpened.At(3, 0), kRed);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(main.State().board, undisturbed.State().board);
    EXPECT_EQ(main.State().currentPlayer, kRed) << "the computer has answered";
    for (const char* label : {"Label1", "Label5", "Label6"})
        EXPECT_EQ(text(main, label), text(undisturbed, label)) << label;
}

}  // namespace
}  // namespace marlovin

int main(int argc, char** argv) {
    // Test discovery runs the program too, where no display need exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
