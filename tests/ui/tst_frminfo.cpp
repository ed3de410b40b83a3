#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/frminfo.h"
#include "ui/frmmain.h"

using namespace marlovin;

static const auto text = [](const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(name)->text();
};

// Opens the window modally over `owner` and runs `whileOpen` inside its loop, which is to close
// it (the test's time limit stands in for a window that stays open).
static int openModally(QWidget* owner, const std::function<void(frmInfo&)>& whileOpen) {
    frmInfo info(owner);
    QTimer::singleShot(0, &info, [&] { whileOpen(info); });
    return info.exec();
}

TEST(AboutWindow, ShowsMakerProductAndVersionUneditablyAndEnterEscOrOkCloseItScrolledToTheTop) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_unknown /* a click on "&OK" */}) {
        const auto lookAndClose = [key](frmInfo& info) {
            EXPECT_EQ(text(info, "Label1") + text(info, "Label2") + text(info, "Label4"),
                      "DunfeldMarlovin1.0.1");
            auto* credits = info.findChild<QPlainTextEdit*>("Text1");
            QTest::keyClicks(credits, "xyz");
            EXPECT_FALSE(credits->toPlainText().contains("xyz"));
            QScrollBar* bar = credits->verticalScrollBar();
            EXPECT_EQ(bar->value(), 0);  // also after the last opening was scrolled down
            bar->setValue(bar->maximum());
            key == Qt::Key_unknown
                ? QTest::mouseClick(info.findChild<QPushButton*>("Command1"), Qt::LeftButton)
                : QTest::keyClick(credits, key);
        };
        EXPECT_EQ(openModally(nullptr, lookAndClose), QDialog::Accepted);
    }
}

// The About window opens from the first event processing after a person's red disc has dropped,
// before the computer answers; the menu is tried through the platform window, so that modality
// applies (a column click or Ctrl+N would be refused in the middle of a turn anyway).
TEST(AboutWindow, BlocksTheMainWindowAndAnInterruptedTurnCarriesOn) {
    frmMain main;
    main.show();
    main.findChild<QAction*>("mPlayNew")->trigger();
    const auto menuOpensOnClick = [&main] {
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {},
                          main.menuBar()->actionGeometry(main.menuBar()->actions()[0]).center());
        return QApplication::activePopupWidget() != nullptr;
    };
    bool openedMidTurn = false;
    const auto tryTheMenuThenClose = [&](frmInfo& info) {
        openedMidTurn = main.Controller().TurnInProgress();
        EXPECT_FALSE(menuOpensOnClick());
        QTest::keyClick(&info, Qt::Key_Escape);
    };
    QMetaObject::invokeMethod(
        &main, [&] { openModally(&main, tryTheMenuThenClose); }, Qt::QueuedConnection);
    QTest::mouseClick(main.findChild<QPushButton*>("Command1(3)"), Qt::LeftButton);
    EXPECT_TRUE(openedMidTurn);
    EXPECT_EQ(text(main, "Label1") + " " + text(main, "Label5"), "Rot 742");  // it has answered
    EXPECT_TRUE(menuOpensOnClick());
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // "-platform" still overrides it
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
