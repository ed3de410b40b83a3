#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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

QString labelText(const QWidget& window, const char* name) {
    QLabel* label = control<QLabel>(window, name);
    return label != nullptr ? label->text() : QString();
}

// Shows the window as the main window's Info command does: modally, returning after it closed.
// While it is open, `whileOpen` runs once inside the modal loop; it must close the window.
int openModally(QWidget* owner, const std::function<void(frmInfo&)>& whileOpen) {
    constexpr int kStillOpen = 4711;
    frmInfo info(owner);
    QTimer::singleShot(0, &info, [&info, &whileOpen] {
        whileOpen(info);
        if (info.isVisible()) {
            info.done(kStillOpen);
        }
    });
    const int result = info.exec();
    EXPECT_NE(result, kStillOpen) << "the window did not close";
    return result;
}

TEST(AboutWindow, TitlesNameTheMakerAndTheProductFromTheBuild) {
    frmInfo info;
    EXPECT_EQ(info.windowTitle(), QStringLiteral("Info"));
    EXPECT_EQ(labelText(info, "Label1"), QStringLiteral("Dunfeld"));
    EXPECT_EQ(labelText(info, "Label2"), QStringLiteral("Marlovin"));
    EXPECT_EQ(labelText(info, "Label2"), QString::fromUtf8(version::kProductName));
}

TEST(AboutWindow, VersionShowsMajorMinorAndRevisionButNotTheBuildNumber) {
    static_assert(version::kMajor == 1 && version::kMinor == 0 && version::kBuild == 0 &&
                  version::kRevision == 1);
    frmInfo info;
    EXPECT_EQ(labelText(info, "Label4"), QStringLiteral("1.0.1"));
}

TEST(AboutWindow, RowsAndCreditsReadAsDesigned) {
    frmInfo info;
    EXPECT_EQ(labelText(info, "Label9"), QStringLiteral("Copyright:"));
    EXPECT_EQ(labelText(info, "Label5"), QStringLiteral("Lizenz:"));
    EXPECT_EQ(labelText(info, "Label6"), QStringLiteral("Freeware"));
    EXPECT_EQ(labelText(info, "Label3"), QStringLiteral("Version:"));
    EXPECT_EQ(labelText(info, "Label7"), QStringLiteral("Credits:"));
    EXPECT_FALSE(labelText(info, "Label8").isEmpty());

    auto* credits = control<QPlainTextEdit>(info, "Text1");
    ASSERT_NE(credits, nullptr);
    const QStringList lines = credits->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 10) << "nine lines, each ended by a line break";
    EXPECT_EQ(lines[0], QStringLiteral("Entwickler:"));
    EXPECT_EQ(lines[3], QStringLiteral("Referenzen:"));
    EXPECT_EQ(lines[6], QStringLiteral("Besten Dank:"));
    EXPECT_TRUE(lines[2].isEmpty() && lines[5].isEmpty() && lines[9].isEmpty());
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("example.org"))) << lines[4].toStdString();
    EXPECT_FALSE(credits->toPlainText().contains(QLatin1Char('\r')));
}

TEST(AboutWindow, ControlsSitAtTheirPixelPositions) {
    frmInfo info;
    EXPECT_EQ(info.size(), QSize(417, 294));
    EXPECT_EQ(info.minimumSize(), info.maximumSize()) << "not resizable";

    const std::pair<const char*, QRect> expected[] = {
        {"Image1", QRect(0, 0, 154, 294)},   {"Label1", QRect(168, 8, 241, 33)},
        {"Label2", QRect(168, 40, 241, 33)}, {"Label9", QRect(168, 80, 97, 17)},
        {"Label8", QRect(256, 80, 97, 17)},  {"Label4", QRect(256, 120, 81, 17)},
        {"Text1", QRect(160, 160, 249, 97)}, {"Command1", QRect(328, 264, 81, 21)},
    };
    for (const auto& [name, rect] : expected) {
        QWidget* widget = control(info, name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), rect) << name;
    }
    QWidget* line = control(info, "Line1");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->geometry().topLeft(), QPoint(154, 72));
    EXPECT_GE(line->geometry().right(), info.width() - 1) << "reaches the right border";
}

TEST(AboutWindow, ControlsStackWithThePictureAtTheBottomAndTheInputsOnTop) {
    frmInfo info;
    QStringList order;
    for (QObject* child : info.children()) {
        if (child->isWidgetType()) {
            order << child->objectName();
        }
    }
    const QStringList bottomToTop = {
        QStringLiteral("Image1"),  QStringLiteral("Line1"),  QStringLiteral("Label1"),
        QStringLiteral("Label2"),  QStringLiteral("Label5"), QStringLiteral("Label6"),
        QStringLiteral("Label7"),  QStringLiteral("Label8"), QStringLiteral("Label9"),
        QStringLiteral("Label3"),  QStringLiteral("Label4"), QStringLiteral("Text1"),
        QStringLiteral("Command1")};
    EXPECT_EQ(order, bottomToTop);

    // The credits box covers the lowest pixel row of the "Credits:" label.
    QWidget* text = control(info, "Text1");
    QWidget* hit = info.childAt(200, 160);
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit == text || text->isAncestorOf(hit)) << hit->objectName().toStdString();
}

TEST(AboutWindow, TitlesUseTheGothicFaceInDarkRedAndTheRestArial) {
    frmInfo info;
    for (const char* name : {"Label1", "Label2"}) {
        QLabel* title = control<QLabel>(info, name);
        ASSERT_NE(title, nullptr);
        const QFontInfo face(title->font());
        EXPECT_TRUE(face.family().startsWith(QStringLiteral("Century Gothic")) ||
                    face.family().startsWith(QStringLiteral("URW Gothic")))
            << name << ": " << face.family().toStdString();
        EXPECT_EQ(face.pixelSize(), 24) << name;
        EXPECT_TRUE(title->font().bold()) << name;
        EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(189, 0, 4)) << name;
    }
    for (const char* name : {"Label3", "Label8", "Text1"}) {
        QWidget* widget = control(info, name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->font().family(), QStringLiteral("Arial")) << name;
        EXPECT_EQ(QFontInfo(widget->font()).pixelSize(), 13) << name;
        EXPECT_FALSE(widget->font().bold()) << name;
    }
}

TEST(AboutWindow, PaintsWhiteWithTheBannerAndAFullWidthSeparator) {
    frmInfo info;
    info.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));
    const QImage shot = info.grab().toImage();
    EXPECT_NE(shot.pixelColor(10, 10), QColor(Qt::white)) << "banner picture missing";
    EXPECT_EQ(shot.pixelColor(412, 100), QColor(Qt::white));
    for (int x : {160, 300, 416}) {
        EXPECT_LT(shot.pixelColor(x, 72).lightness(), 100) << "separator at x " << x;
    }
}

TEST(AboutWindow, OpensCentredOnTheScreenNotOnItsOwner) {
    QWidget owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    frmInfo info(&owner);
    info.show();
    const QPoint screenCentre = owner.screen()->geometry().center();
    EXPECT_LE((info.frameGeometry().center() - screenCentre).manhattanLength(), 1);
    EXPECT_TRUE(info.isModal());
    EXPECT_EQ(info.parentWidget(), &owner);
}

// How the window is closed, and whether that went through the OK button.
struct Closing {
    const char* how;
    std::function<void(frmInfo&)> close;
    bool throughOk;
};

class AboutWindowClosing : public ::testing::TestWithParam<Closing> {};

TEST_P(AboutWindowClosing, EndsTheModalCall) {
    QWidget owner;
    owner.show();
    bool okClicked = false;
    const int result = openModally(&owner, [&](frmInfo& info) {
        auto* ok = control<QPushButton>(info, "Command1");
        ASSERT_NE(ok, nullptr);
        QObject::connect(ok, &QPushButton::clicked, [&okClicked] { okClicked = true; });
        GetParam().close(info);
    });
    EXPECT_EQ(okClicked, GetParam().throughOk);
    EXPECT_EQ(result, GetParam().throughOk ? QDialog::Accepted : QDialog::Rejected);
}

void pressOnFocus(frmInfo& info, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = info.focusWidget() != nullptr ? info.focusWidget() : &info;
    QTest::keyClick(target, key, modifiers);
}

INSTANTIATE_TEST_SUITE_P(
    ByKeyButtonOrCloseBox, AboutWindowClosing,
    ::testing::Values(
        Closing{"Enter", [](frmInfo& dialog) { pressOnFocus(dialog, Qt::Key_Return); }, true},
        Closing{"KeypadEnter", [](frmInfo& dialog) { pressOnFocus(dialog, Qt::Key_Enter); }, true},
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
                    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("Command1")),
                                      Qt::LeftButton);
                },
                true},
        Closing{"CloseBox", [](frmInfo& dialog) { dialog.close(); }, false}),
    [](const ::testing::TestParamInfo<Closing>& param) { return std::string(param.param.how); });

TEST(AboutWindow, CreditsBoxRefusesEditsButScrollsToItsLastLines) {
    frmInfo info;
    info.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&info));
    auto* credits = control<QPlainTextEdit>(info, "Text1");
    ASSERT_NE(credits, nullptr);
    const QString before = credits->toPlainText();

    credits->setFocus();
    credits->selectAll();
    QTest::keyClicks(credits, QStringLiteral("xyz"));
    QTest::keyClick(credits, Qt::Key_Backspace);
    QTest::keyClick(credits, Qt::Key_Delete);
    QTest::keyClick(credits, Qt::Key_X, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(credits, Qt::Key_V, Qt::ControlModifier);

    EXPECT_EQ(credits->toPlainText(), before);
    EXPECT_TRUE(credits->isReadOnly());
    EXPECT_TRUE(credits->verticalScrollBar()->isVisible());
    EXPECT_GT(credits->verticalScrollBar()->maximum(), 0) << "the last section needs scrolling";
}

TEST(AboutWindow, ReopeningShowsTheSameContentScrolledToTheTop) {
    QWidget owner;
    owner.show();
    struct Seen {
        QStringList labels;
        QString credits;
        int scroll = -1;
        bool selection = true;
    };
    auto look = [](frmInfo& info, Seen& seen) {
        for (QLabel* label : info.findChildren<QLabel*>()) {
            seen.labels << label->objectName() + QLatin1Char('=') + label->text();
        }
        auto* credits = info.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        seen.credits = credits->toPlainText();
        seen.scroll = credits->verticalScrollBar()->value();
        seen.selection = credits->textCursor().hasSelection();
        // Leave it scrolled down with a selection, as a reader might.
        credits->selectAll();
        credits->verticalScrollBar()->setValue(credits->verticalScrollBar()->maximum());
        QTest::keyClick(&info, Qt::Key_Escape);
    };
    Seen first;
    Seen second;
    openModally(&owner, [&](frmInfo& info) { look(info, first); });
    openModally(&owner, [&](frmInfo& info) { look(info, second); });

    EXPECT_EQ(second.labels, first.labels);
    EXPECT_EQ(second.credits, first.credits);
    EXPECT_EQ(first.scroll, 0);
    EXPECT_EQ(second.scroll, 0);
    EXPECT_FALSE(second.selection);
}

TEST(AboutWindow, TabMovesBetweenTheCreditsBoxAndTheButtonOnly) {
    frmInfo info;
    info.show();
    QApplication::setActiveWindow(&info);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&info));
    QWidget* credits = control(info, "Text1");
    QWidget* ok = control(info, "Command1");
    credits->setFocus();
    QTest::keyClick(credits, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), credits);
}

// The About window over a running main window: yellow and red both played by people unless a
// test says otherwise.
class AboutOverMainWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    }
    QAction* action(const char* name) { return control<QAction>(main, name); }
    QPushButton* column(int index) {
        return main.findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(index));
    }
    // A click as the platform delivers it, so that modality applies.
    void clickThroughWindow(QWidget* widget, QPoint at) {
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, widget->mapTo(&main, at));
    }
    void clickColumnThroughWindow(int index) {
        clickThroughWindow(column(index), column(index)->rect().center());
    }
    QString labelOf(frmMain& window, const char* name) {
        auto* label = window.findChild<QLabel*>(QLatin1String(name));
        return label != nullptr ? label->text() : QString();
    }

    frmMain main;
};

TEST_F(AboutOverMainWindow, MainWindowTakesNoClicksKeysOrMenusWhileAboutIsOpen) {
    action("mCPUyellow")->trigger();
    action("mPlayNew")->trigger();
    const Board before = main.State().board;
    const QString status = labelOf(main, "Label1");

    bool aboutWasModal = false;
    QWidget* popup = nullptr;
    openModally(&main, [&](frmInfo& info) {
        aboutWasModal = QApplication::activeModalWidget() == &info;
        clickColumnThroughWindow(3);
        QTest::keyClick(main.windowHandle(), Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(info.windowHandle(), Qt::Key_N, Qt::ControlModifier);
        QMenuBar* bar = main.menuBar();
        clickThroughWindow(
            bar, bar->actionGeometry(control<QMenu>(main, "mPlay")->menuAction()).center());
        popup = QApplication::activePopupWidget();
        EXPECT_TRUE(info.isVisible());
        QTest::keyClick(&info, Qt::Key_Escape);
    });
    EXPECT_TRUE(aboutWasModal);
    EXPECT_EQ(popup, nullptr) << "a menu opened";
    EXPECT_EQ(main.State().board, before);
    EXPECT_EQ(labelOf(main, "Label1"), status);

    // The same clicks count once the About window is gone.
    clickColumnThroughWindow(3);
    EXPECT_NE(main.State().board, before);
    QMenuBar* bar = main.menuBar();
    clickThroughWindow(bar,
                       bar->actionGeometry(control<QMenu>(main, "mPlay")->menuAction()).center());
    popup = QApplication::activePopupWidget();
    EXPECT_NE(popup, nullptr);
    if (popup != nullptr) {
        popup->close();
    }
}

TEST_F(AboutOverMainWindow, GameInterruptedByItDuringAPersonsTurnCarriesOnUnchanged) {
    // Red (a person) drops into column 3; the computer answers for yellow. The same move is made
    // on an undisturbed window for comparison.
    frmMain undisturbed;
    undisturbed.show();
    for (frmMain* window : {&main, &undisturbed}) {
        window->findChild<QAction*>(QStringLiteral("mPlayNew"))->trigger();
        ASSERT_EQ(window->State().currentPlayer, kRed);
    }
    QTest::mouseClick(undisturbed.findChild<QPushButton*>(QStringLiteral("Command1(3)")),
                      Qt::LeftButton);

    // Queued now, the About window opens from the first event processing inside the turn.
    bool openedMidTurn = false;
    Board boardWhenOpened;
    QMetaObject::invokeMethod(
        &main,
        [&] {
            openedMidTurn = main.Controller().TurnInProgress();
            boardWhenOpened = main.State().board;
            QTimer::singleShot(0, &main, [] {
                if (auto* info = qobject_cast<frmInfo*>(QApplication::activeModalWidget())) {
                    QTest::keyClick(info, Qt::Key_Return);
                }
            });
            action("mInfo")->trigger();
        },
        Qt::QueuedConnection);
    QTest::mouseClick(column(3), Qt::LeftButton);

    ASSERT_TRUE(openedMidTurn);
    EXPECT_EQ(boardWhenOpened.At(3, 0), kRed);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(main.State().board, undisturbed.State().board);
    EXPECT_EQ(main.State().currentPlayer, undisturbed.State().currentPlayer);
    for (const char* label : {"Label1", "Label5", "Label6"}) {
        EXPECT_EQ(labelOf(main, label), labelOf(undisturbed, label)) << label;
    }
    EXPECT_EQ(main.State().currentPlayer, kRed) << "the computer has answered";
}

}  // namespace
}  // namespace marlovin

int main(int argc, char** argv) {
    // Test discovery runs the program too, where no display needs to exist.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
