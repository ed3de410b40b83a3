#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <bit>
#include <memory>
#include <random>

#include "engine/search.h"
#include "engine/windows.h"
#include "tests/support/recordingview.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/qttranslation.h"
#include "ui/shape.h"

using namespace marlovin;

const QColor kSilver(192, 192, 192);
const Qt::GlobalColor kFills[] = {Qt::white, Qt::yellow, Qt::red};  // by cell code

// The items' texts in order, each menu's items in brackets after its own text.
static QString menuTree(const QList<QAction*>& items) {
    QStringList texts;
    for (QAction* item : items)
        texts << item->text() + (item->menu() ? "(" + menuTree(item->menu()->actions()) + ")" : "");
    return texts.join(',');
}

// The values as the debug stream prints them, separated by spaces.
template <typename... Values>
static QString str(const Values&... values) {
    QString text;
    (QDebug(&text).noquote() << ... << values);
    return text.trimmed();
}

// Each captioned control's name, text and place, and the controls that do not lie wholly in the
// window.
static QStringList layout(const QWidget* window) {
    QStringList seen;
    for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect r = child->geometry();
        if (child->property("text").isValid())
            seen << str(child->objectName(), child->property("text").toString(), r);
        if (!window->rect().contains(r))
            seen << child->objectName() + " outside";
    }
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

    // Texts, places (the layout's twips divided by 15) and state at start-up; then Ctrl+N and
    // three clicks that the computer answers. "&Info" is chosen while each person's disc is being
    // drawn, with the main window far from the screen's centre; the About window is closed by
    // Enter, Esc or a click on "&OK". Then Qt's own texts in German.
    void startUpThenTurnsWithTheAboutWindowOpenedMidTurn() {
        QCOMPARE(menuTree(window_->menuBar()->actions()),
                 "&Spiel(&Neues Spiel,&Verlassen),&Optionen(&CPU-Spieler(&Rot,&Gelb),"
                 "&Schwierigkeit(Stufe &1,Stufe &2,Stufe &3,Stufe &4)),&Info");
        QCOMPARE(marks(), "-x-x--");
        QCOMPARE(layout(window_->centralWidget()),
                 QStringList(
                     {"Label1 ready QRect(8,232 185x25)", "Label3 Züge: QRect(8,264 33x17)",
                      "Label4 Cutoffs: QRect(104,264 41x17)", "Label5  QRect(40,264 49x17)",
                      "Label6  QRect(144,264 49x17)", "Command1(0) 0 QRect(16,200 25x25)",
                      "Command1(1) 1 QRect(40,200 25x25)", "Command1(2) 2 QRect(64,200 25x25)",
                      "Command1(3) 3 QRect(88,200 25x25)", "Command1(4) 4 QRect(112,200 25x25)",
                      "Command1(5) 5 QRect(136,200 25x25)", "Command1(6) 6 QRect(160,200 25x25)"}));
        QCOMPARE(
            str(window_->centralWidget()->size(), window_->minimumSize() == window_->maximumSize()),
            "QSize(201, 285) true");

        window_->move(window_->screen()->geometry().center() + QPoint(150, 100));
        QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        Board expected;
        testing::RecordingView search;
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_unknown /* "&OK" */}) {
            DropPiece(expected, 3, kRed);
            DropPiece(expected, ChooseMove(expected, search, 3, kYellow), kYellow);
            QStringList seen;
            const auto lookAndClose = [&] {
                // Only a modal window keeps the main window from taking input.
                auto* info = qobject_cast<frmInfo*>(QApplication::activeModalWidget());
                if (info == nullptr)
                    return;
                auto* credits = info->findChild<QPlainTextEdit*>("Text1");
                QTest::keyClicks(credits, "xyz");
                const QPoint offCentre =
                    info->frameGeometry().center() - info->screen()->geometry().center();
                seen << layout(info)
                     << str(info->size(),
                            offCentre.manhattanLength() <= 1 ||
                                QGuiApplication::platformName() == "wayland",  // its placement
                            credits->verticalScrollBar()->value(),
                            credits->toPlainText().count("xyz"),
                            window_->Controller().TurnInProgress());
                credits->verticalScrollBar()->setValue(credits->verticalScrollBar()->maximum());
                key == Qt::Key_unknown
                    ? QTest::mouseClick(info->findChild<QPushButton*>("Command1"), Qt::LeftButton)
                    : QTest::keyClick(credits, key);
            };
            const auto openInfo = [&] {
                QTimer::singleShot(0, lookAndClose), action("mInfo")->trigger();
            };
            QMetaObject::invokeMethod(window_.get(), openInfo, Qt::QueuedConnection);
            clickColumn(3);
            // The line's stored end lies beyond the window, which clips it at its border.
            QCOMPARE(
                seen,
                QStringList(
                    {"Image1  QRect(0,0 154x294)", "Line1 outside",
                     "Label1 Dunfeld QRect(168,8 241x33)", "Label2 Marlovin QRect(168,40 241x33)",
                     "Label5 Lizenz: QRect(168,100 97x17)", "Label6 Freeware QRect(256,100 97x17)",
                     "Label7 Credits: QRect(168,144 73x17)",
                     "Label8 © 2026 Dunfeld QRect(256,80 97x17)",
                     "Label9 Copyright: QRect(168,80 97x17)",
                     "Label3 Version: QRect(168,120 81x17)", "Label4 1.0.1 QRect(256,120 81x17)",
                     "Command1 &OK QRect(328,264 81x21)", "QSize(417, 294) true 0 0 true"}));
            QCOMPARE(window_->State().board, expected);  // the computer has answered
            QCOMPARE(str(text("Label1"), text("Label5"), text("Label6")),
                     str("Rot", search.counters[1], search.counters[0]));
        }
        QVERIFY(InstallQtGermanTexts());
        QCOMPARE(action("mPlayNew")->shortcut().toString(QKeySequence::NativeText), "Strg+N");
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
            const int drawn = fills(Qt::red) + fills(Qt::yellow);
            if (discs < 0 && std::popcount(window_->State().board.OccupiedBits()) > drawn)
                discs = drawn, window_->close();
            else if (discs < 0 && window_->Controller().TurnInProgress())
                QTest::qSleep(20);
        });
        watcher.start(1);
        QTimer::singleShot(60000, &watcher, [] { QCoreApplication::exit(1); });  // hang guard
        QCOMPARE(QApplication::exec(), 0);
        // The trial discs were taken back, and no more moves were played.
        QCOMPARE(std::popcount(window_->State().board.OccupiedBits()), discs);
    }

    // Random user input against the real window, checked after every action; while the computer
    // moves, the user keeps trying columns, Ctrl+N and the menu bar. It runs as a test of its own
    // (MARLOVIN_SOAK_ACTIONS, MARLOVIN_SOAK_SEED); a failure names the seed and action to replay.
    void soakRandomUserActionsKeepWindowAndGameConsistent() {
        const int actions = qEnvironmentVariableIntValue("MARLOVIN_SOAK_ACTIONS");
        if (actions == 0)
            QSKIP("MARLOVIN_SOAK_ACTIONS not set");
        const int seed = qEnvironmentVariableIntValue("MARLOVIN_SOAK_SEED");
        std::mt19937 rng(seed), meanwhileRng(rng);
        int games = 0, wins = 0, abouts = 0, computerGamesAtStufe4 = 0, index = 0;
        QString failure;
        const auto check = [&](bool ok, const QString& what) {
            if (!ok && failure.isEmpty())
                failure = QString("seed %1, action %2: %3").arg(seed).arg(index).arg(what);
        };
        const auto refused = [&] {
            check(window_->WindowInputEnabled(), "input got through a refusal");
        };
        for (int i = 0; i < kColumns; ++i)
            connect(button(i), &QPushButton::clicked, window_.get(), refused);
        for (const char* name : {"mPlayNew", "mInfo"})
            connect(action(name), &QAction::triggered, window_.get(), refused);
        // Runs after the window's own handler: a new game asked for inside a turn was refused.
        connect(action("mPlayNew"), &QAction::triggered, window_.get(),
                [&] { games += !window_->Controller().TurnInProgress(); });
        QTimer meanwhile;
        connect(&meanwhile, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            const unsigned pick = meanwhileRng(), disabled = !window_->WindowInputEnabled();
            wins += qobject_cast<QMessageBox*>(modal) != nullptr;
            abouts += qobject_cast<frmInfo*>(modal) != nullptr;
            if (modal)
                QTest::keyClick(modal, pick % 2 ? Qt::Key_Escape : Qt::Key_Return);
            else if (disabled && pick % 16 == 0)
                clickColumn(int(pick / 16 % kColumns));
            else if (disabled && pick % 16 == 1)
                QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
            else if (disabled && pick % 16 == 2)
                QTest::mouseClick(window_->menuBar(), Qt::LeftButton, {},
                                  window_->menuBar()->actionGeometry(action("mInfo")).center());
        });
        meanwhile.start(0);
        const char* const menus[] = {"mPlayNew", "mCPUr",  "mCPUyellow", "mInfo",
                                     "mS1(0)",   "mS1(1)", "mS1(2)",     "mS1(3)"};
        std::discrete_distribution<int> pick({44, 12, 7, 3, 6, 6, 2, 2, 2, 2, 2});
        for (; index < actions && failure.isEmpty(); ++index) {
            // The offscreen platform does not hand activation back to the owner when a dialog
            // closes, as a window manager would; shortcuts need an active window.
            QApplication::setActiveWindow(window_.get());
            const Board before = window_->State().board;
            const int act = pick(rng), gamesBefore = games;
            const int column = int(rng() % kColumns);
            const int height = ColumnHeight(before, column);
            const Player mover = window_->State().currentPlayer;
            const bool plays = button(column)->isEnabled() && height < kRows;
            if (act == 0)
                clickColumn(column);
            else if (act == 1)
                QTest::keyClick(window_.get(), Qt::Key(Qt::Key_0 + column));
            else if (act == 2)
                QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
            else
                action(menus[act - 3])->trigger();
            const Board& board = window_->State().board;
            if (act <= 1)
                check(plays ? board.At(column, height) == mover : board == before,
                      QString("input on column %1").arg(column));
            check(act != 2 || games > gamesBefore, "Ctrl+N started no game");
            computerGamesAtStufe4 += games > gamesBefore && marks() == "xx---x";
            std::uint64_t fours = 0;  // cells (row * 7 + column) in a line of four
            for (int w = 0; w < kWindowCount; ++w) {
                for (const int cell : kWindows[w].cells)
                    fours |= std::uint64_t{board.WindowState(w) % 16 == 4} << cell;
            }
            // Black borders are the search's while it runs; after it only a won four keeps them.
            for (int i = 0; i < kCells; ++i) {
                const CellCode code = board.Cells()[i];
                const auto* shape =
                    window_->findChild<Shape*>(QString("matrix(%1)").arg(i % 7 * 7 + i / 7));
                check((games == 0 || shape->FillColor() == QColor(kFills[code])) &&
                          shape->BorderColor() == (fours >> i & 1 ? Qt::black : kSilver),
                      QString("cell %1 (row * 7 + column)").arg(i));
            }
            // A four or a full board ends the game.
            const bool running =
                games > 0 && fours == 0 && std::popcount(board.OccupiedBits()) < kCells;
            check(std::ranges::count_if(window_->findChildren<QPushButton*>(),
                                        &QWidget::isEnabled) == (running ? kColumns : 0),
                  "column buttons");
            check(marks().mid(2).count('x') == 1 &&
                      window_->State().searchDepth == marks().indexOf('x', 2),
                  "levels " + marks());
        }
        action("mExit")->trigger();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(wins > 0 && abouts > 0 && computerGamesAtStufe4 > 0);  // it reached these states
        QVERIFY2(window_->QuitRequested() && !window_->isVisible(), "Verlassen left it open");
    }

  private:
    QString text(const char* label) const { return window_->findChild<QLabel*>(label)->text(); }
    QAction* action(const QString& name) const { return window_->findChild<QAction*>(name); }
    QPushButton* button(int i) const {
        return window_->findChild<QPushButton*>(QString("Command1(%1)").arg(i));
    }
    void clickColumn(int i) const { QTest::mouseClick(button(i), Qt::LeftButton); }
    int fills(const QColor& colour) const {
        return int(std::ranges::count(window_->findChildren<Shape*>(), colour, &Shape::FillColor));
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
