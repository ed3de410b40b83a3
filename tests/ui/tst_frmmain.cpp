#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <bit>
#include <functional>
#include <memory>
#include <tuple>

#include "engine/board.h"
#include "engine/search.h"
#include "tests/support/recordingview.h"
#include "ui/frmmain.h"
#include "ui/qttranslation.h"
#include "ui/shape.h"

using namespace marlovin;

const QColor kWhite(Qt::white), kYellowDisc(Qt::yellow), kRedDisc(Qt::red), kBlack(Qt::black);
const QColor kSilver(192, 192, 192);

// Runs `act`, closing every modal window that opens meanwhile; returns what they showed.
static QStringList closingModals(const std::function<void()>& act) {
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&seen] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            seen << modal->windowTitle() + ": " + modal->property("text").toString();
            modal->close();
        }
    });
    poll.start(10);
    act();
    return seen;
}

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<frmMain>();
        window_->show();
        // Wayland leaves focus to the compositor, and a headless one has no seat to give it.
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    // The other cases start their games by "&Neues Spiel".
    void startUpThenCtrlNThenAClickThatTheComputerAnswers() {
        QCOMPARE(text("Label1") + text("Label5") + text("Label6"), "ready");
        QCOMPARE(marks(), "-x-x--");
        QCOMPARE(enabledButtons(), 0);

        QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(fills(kWhite), kCells);
        QCOMPARE(enabledButtons(), kColumns);

        Board expected;
        DropPiece(expected, 3, kRed);
        testing::RecordingView search;
        DropPiece(expected, ChooseMove(expected, search, 3, kYellow), kYellow);
        clickColumn(3);
        QCOMPARE(window_->State().board, expected);
        QCOMPARE(fills(kRedDisc) + fills(kYellowDisc), 2);
        QCOMPARE(text("Label1") + " " + text("Label5"), "Rot 742");  // red, a person, is to move
        QCOMPARE(text("Label6"), QString::number(search.cutOffs));
    }

    void disabledWindowRefusesInputThenAWinBlackensTheFourAndDisablesTheButtons() {
        action("mCPUyellow")->trigger();  // two people play
        action("mPlayNew")->trigger();
        clickColumn(0);
        window_->SetWindowEnabled(false);
        // The About window would open if the click on "&Info" got through.
        QStringList seen = closingModals([this] {
            clickColumn(1);
            QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
            QTest::keyClick(window_->menuBar(), Qt::Key_S, Qt::AltModifier);
            QTest::mouseClick(window_->menuBar(), Qt::LeftButton, {},
                              window_->menuBar()->actionGeometry(action("mInfo")).center());
        });
        QVERIFY(seen.isEmpty() && QApplication::activePopupWidget() == nullptr);
        QCOMPARE(fills(kRedDisc) + fills(kYellowDisc), 1);
        QCOMPARE(enabledButtons(), kColumns);  // refused, but not greyed

        window_->SetWindowEnabled(true);
        seen = closingModals([this] {
            for (int column : {1, 0, 1, 0, 1, 0})
                clickColumn(column);
        });
        QCOMPARE(seen, {"Marlovin: Der Spieler Rot hat gegen den Spieler Gelb gewonnen."});
        for (int i = 0; i < kCells; ++i)
            QCOMPARE(circle(i)->BorderColor(), i < 4 ? kBlack : kSilver);
        QCOMPARE(enabledButtons(), 0);
    }

    void difficultyItemsKeepExactlyOneCheckMark() {
        for (int index : {2, 2, 0, 3, 1}) {  // choosing the checked item again keeps it
            action(QString("mS1(%1)").arg(index))->trigger();
            QCOMPARE(marks(), QString("-x----").replace(2 + index, 1, 'x'));
            QCOMPARE(window_->State().searchDepth, index + 2);
        }
    }

    // The computer plays both colours at the highest level. Its searches end within the 16 ms
    // that a disabled window waits between processing events, so the watcher, once a turn is
    // under way, holds up processing for longer; it closes the window when the board holds the
    // search's trial discs. The program's event loop must then end as main() would return.
    void closingMidSearchEndsTheProgramWithStatusZero() {
        action("mCPUr")->trigger();
        action("mS1(3)")->trigger();
        QTimer::singleShot(0, action("mPlayNew"), &QAction::trigger);
        int discs = -1;  // played when the window is closed
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            const int drawn = fills(kRedDisc) + fills(kYellowDisc);
            if (discs < 0 && std::popcount(window_->State().board.OccupiedBits()) > drawn) {
                discs = drawn;
                window_->close();
            } else if (discs < 0 && window_->Controller().TurnInProgress())
                QTest::qSleep(20);
        });
        watcher.start(1);
        QTimer::singleShot(60000, &watcher, [] { QCoreApplication::exit(1); });  // hang guard
        QCOMPARE(QApplication::exec(), 0);
        // The trial discs were taken back, and no more moves were played.
        QCOMPARE(std::popcount(window_->State().board.OccupiedBits()), discs);
    }

    void controlsSitAndPaintWhereTheLayoutPutsThem() {
        action("mPlayNew")->trigger();
        clickColumn(3);
        window_->HighlightFour({Cell{0, 0}, Cell{1, 1}, Cell{2, 2}, Cell{3, 3}});
        const QImage shot = window_->centralWidget()->grab().toImage();
        // Each control's place, and a pixel of it in the client area with its colour if given.
        const std::tuple<const char*, QRect, QPoint, QColor> controls[] = {
            {"Shape1", {8, 8, 185, 185}, {9, 100}, kBlack},
            {"matrix(0)", {16, 160, 25, 25}, {16, 172}, kBlack},   // a border of the four
            {"matrix(7)", {40, 160, 25, 25}, {40, 172}, kSilver},  // drawn over matrix(0)
            {"matrix(21)", {88, 160, 25, 25}, {100, 172}, kRedDisc},
            {"matrix(48)", {160, 16, 25, 25}, {172, 28}, kWhite},
            {"Command1(6)", {160, 200, 25, 25}, {}, {}},
            {"Label1", {8, 232, 185, 25}, {}, {}},
            {"Label5", {40, 264, 49, 17}, {}, {}},
            {"Label6", {144, 264, 49, 17}, {}, {}},
        };
        for (const auto& [name, geometry, probe, colour] : controls) {
            QCOMPARE(window_->findChild<QWidget*>(name)->geometry(), geometry);
            if (colour.isValid())
                QCOMPARE(shot.pixelColor(probe), colour);
        }
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
    }

    // Two people fill the board without a four; Qt's own texts are German meanwhile.
    void aFullBoardWithoutAFourIsADrawAndTheOtherColourStartsTheNextGame() {
        QVERIFY(InstallQtGermanTexts());
        QCOMPARE(action("mPlayNew")->shortcut().toString(QKeySequence::NativeText), "Strg+N");
        QMessageBox box(QMessageBox::Warning, "Marlovin", "", QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), "OK");
        action("mCPUyellow")->trigger();
        action("mPlayNew")->trigger();
        const QStringList seen = closingModals([this] {
            for (QChar column : QString("0300100300112115112232252233433644544644556566566"))
                clickColumn(column.digitValue());
        });
        QCOMPARE(seen, {"Marlovin: Das Spiel endet unentschieden."});
        QCOMPARE(fills(kWhite) + enabledButtons(), 0);
        action("mPlayNew")->trigger();
        QCOMPARE(text("Label1"), "Gelb");
    }

  private:
    QAction* action(const QString& name) const { return window_->findChild<QAction*>(name); }
    QString text(const char* label) const { return window_->findChild<QLabel*>(label)->text(); }
    Shape* circle(int i) const { return window_->findChild<Shape*>(QString("matrix(%1)").arg(i)); }
    void clickColumn(int i) const {
        QTest::mouseClick(window_->findChild<QPushButton*>(QString("Command1(%1)").arg(i)),
                          Qt::LeftButton);
    }
    int fills(const QColor& colour) const {
        return int(std::ranges::count(window_->findChildren<Shape*>(), colour, &Shape::FillColor));
    }
    int enabledButtons() const {
        return int(
            std::ranges::count_if(window_->findChildren<QPushButton*>(), &QWidget::isEnabled));
    }
    // The check marks of "&Rot", "&Gelb" and "Stufe &1" to "Stufe &4".
    QString marks() const {
        QString marks;
        for (const char* name : {"mCPUr", "mCPUyellow", "mS1(0)", "mS1(1)", "mS1(2)", "mS1(3)"})
            marks += action(name)->isChecked() ? 'x' : '-';
        return marks;
    }

    std::unique_ptr<frmMain> window_;
};

QTEST_MAIN(MainWindowTest)

#include "tst_frmmain.moc"
