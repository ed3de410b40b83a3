#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <bit>
#include <functional>
#include <memory>
#include <tuple>

#include "engine/search.h"
#include "tests/support/recordingview.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"
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

// The items' texts in order, each menu's items in brackets after its own text.
static QString menuTree(const QList<QAction*>& items) {
    QStringList texts;
    for (QAction* item : items)
        texts << item->text() + (item->menu() ? "(" + menuTree(item->menu()->actions()) + ")" : "");
    return texts.join(',');
}

static QString text(const QWidget* window, const char* label) {
    return window->findChild<QLabel*>(label)->text();
}

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<frmMain>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    // Texts, places (the layout's twips divided by 15), icon and state at start-up; then Ctrl+N
    // and a click that the computer answers.
    void startUpThenCtrlNThenAClickThatTheComputerAnswers() {
        QCOMPARE(menuTree(window_->menuBar()->actions()),
                 "&Spiel(&Neues Spiel,&Verlassen),&Optionen(&CPU-Spieler(&Rot,&Gelb),"
                 "&Schwierigkeit(Stufe &1,Stufe &2,Stufe &3,Stufe &4)),&Info");
        QCOMPARE(marks(), "-x-x--");
        const std::tuple<const char*, QRect, QString> labels[] = {
            {"Label1", {8, 232, 185, 25}, "ready"},
            {"Label3", {8, 264, 33, 17}, "Züge:"},
            {"Label4", {104, 264, 41, 17}, "Cutoffs:"},
            {"Label5", {40, 264, 49, 17}, ""},
            {"Label6", {144, 264, 49, 17}, ""}};
        for (const auto& [name, geometry, caption] : labels) {
            QCOMPARE(window_->findChild<QLabel*>(name)->geometry(), geometry);
            QCOMPARE(text(window_.get(), name), caption);
        }
        for (int i = 0; i < kCells; ++i)
            QCOMPARE(circle(i)->geometry(), QRect(16 + 24 * (i / 7), 160 - 24 * (i % 7), 25, 25));
        for (int i = 0; i < kColumns; ++i) {
            QCOMPARE(button(i)->geometry(), QRect(16 + 24 * i, 200, 25, 25));
            QCOMPARE(button(i)->text(), QString::number(i));
        }
        QCOMPARE(enabledButtons(), 0);
        QCOMPARE(window_->findChild<Shape*>("Shape1")->geometry(), QRect(8, 8, 185, 185));
        QCOMPARE(window_->centralWidget()->size(), QSize(201, 285));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(window_->windowIcon().pixmap(32, 32).size(), QSize(32, 32));

        QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(fills(kWhite), kCells);
        Board expected;
        DropPiece(expected, 3, kRed);
        testing::RecordingView search;
        DropPiece(expected, ChooseMove(expected, search, 3, kYellow), kYellow);
        clickColumn(3);
        QCOMPARE(window_->State().board, expected);
        QCOMPARE(fills(kRedDisc) + fills(kYellowDisc), 2);
        QCOMPARE(text(window_.get(), "Label1") + " " + text(window_.get(), "Label5"), "Rot 742");
        QCOMPARE(text(window_.get(), "Label6"), QString::number(search.counters[0]));
        // Stacking and colours: a highlighted four, a circle over its lower neighbour, discs.
        window_->HighlightFour({Cell{0, 0}, Cell{1, 1}, Cell{2, 2}, Cell{3, 3}});
        const QImage shot = window_->centralWidget()->grab().toImage();
        const std::pair<QPoint, QColor> probes[] = {
            {{16, 172}, kBlack}, {{40, 172}, kSilver}, {{100, 172}, kRedDisc}, {{172, 28}, kWhite}};
        for (const auto& [probe, colour] : probes)
            QCOMPARE(shot.pixelColor(probe), colour);
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

    // "&Info" chosen while a person's disc is being drawn, with the main window far from the
    // screen's centre, closed by Enter, Esc or a click on "&OK"; each turn then carries on.
    void aboutWindowOpensCentredMidTurnBlocksTheMainWindowAndClosesByEnterEscOrOk() {
        window_->move(window_->screen()->geometry().center() + QPoint(150, 100));
        action("mPlayNew")->trigger();
        const auto menuOpensOnClick = [this] {
            QTest::mouseClick(
                window_->windowHandle(), Qt::LeftButton, {},
                window_->menuBar()->actionGeometry(window_->menuBar()->actions()[0]).center());
            return QApplication::activePopupWidget() != nullptr;
        };
        int discs = 0;
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_unknown /* "&OK" */}) {
            QStringList seen;
            const auto lookAndClose = [&] {
                auto* info = qobject_cast<frmInfo*>(QApplication::activeModalWidget());
                auto* credits = info->findChild<QPlainTextEdit*>("Text1");
                QTest::keyClicks(credits, "xyz");
                seen << text(info, "Label1") + text(info, "Label2") + text(info, "Label4")
                     << QString("%1 %2")
                            .arg(credits->toPlainText().contains("xyz"))
                            .arg(credits->verticalScrollBar()->value());
                credits->verticalScrollBar()->setValue(credits->verticalScrollBar()->maximum());
                const QPoint offCentre =
                    info->frameGeometry().center() - info->screen()->geometry().center();
                seen << QString("%1x%2 %3")
                            .arg(info->width())
                            .arg(info->height())
                            .arg(offCentre.manhattanLength() <= 1);
                for (QWidget* child : info->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                    // The line's stored end lies beyond the window, which clips it at its border.
                    if (!info->rect().contains(child->geometry()) &&
                        !(child->objectName() == "Line1" &&
                          child->geometry().left() < info->width() &&
                          child->geometry().right() >= info->width() - 1))
                        seen << child->objectName() + " outside";
                }
                seen << QString::number(window_->Controller().TurnInProgress() &&
                                        !menuOpensOnClick());
                key == Qt::Key_unknown
                    ? QTest::mouseClick(info->findChild<QPushButton*>("Command1"), Qt::LeftButton)
                    : QTest::keyClick(credits, key);
            };
            QMetaObject::invokeMethod(
                window_.get(),
                [&] {
                    QTimer::singleShot(0, lookAndClose);
                    action("mInfo")->trigger();
                },
                Qt::QueuedConnection);
            clickColumn(3);
            QCOMPARE(seen, QStringList({"DunfeldMarlovin1.0.1", "0 0", "417x294 1", "1"}));
            QCOMPARE(text(window_.get(), "Label1"), "Rot");  // the computer has answered
            QCOMPARE(std::popcount(window_->State().board.OccupiedBits()), discs += 2);
        }
        QVERIFY(menuOpensOnClick());
    }

  private:
    QAction* action(const QString& name) const { return window_->findChild<QAction*>(name); }
    QPushButton* button(int i) const {
        return window_->findChild<QPushButton*>(QString("Command1(%1)").arg(i));
    }
    Shape* circle(int i) const { return window_->findChild<Shape*>(QString("matrix(%1)").arg(i)); }
    void clickColumn(int i) const { QTest::mouseClick(button(i), Qt::LeftButton); }
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
