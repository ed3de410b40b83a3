#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
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
#include "ui/shape.h"

using namespace marlovin;

// Activates the window as a window manager would. Where none does (a headless Wayland compositor,
// which has no seat to give focus; the offscreen platform, which does not hand activation back to
// the owner when a dialog closes), only the call that Qt 6.5 deprecated does it.
static void Activate(QWidget* window) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(window);
    QT_WARNING_POP
}

// What a screen reader hears of the status line: each announcement of its accessible name.
static const QObject* statusLine = nullptr;
static QStringList heard;
static void Hear(QAccessibleEvent* event) {
    if (event->type() == QAccessible::NameChanged && event->object() == statusLine)
        heard << event->accessibleInterface()->text(QAccessible::Name);
}

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        // Before the window's own filter, so this one sees only what that lets through.
        qApp->installEventFilter(this);
        // As a screen reader does: the platform then passes on what the window announces.
        QAccessible::installUpdateHandler(Hear);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        window_ = std::make_unique<frmMain>();
        statusLine = window_->findChild<QLabel*>("Label1");
        heard.clear();
        window_->show();
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            Activate(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() {
        window_.reset();
        qApp->removeEventFilter(this);
    }

    // The menus in a game. "&Info", chosen while red's disc is being drawn with the main window far
    // from the screen's centre, opens the About window; once "&OK" has closed it, the computer
    // answers the disc (the soak closes it by Enter and Esc). "&Gelb", and "&Rot" while red is to
    // move, change their check marks alone: nothing moves, and the status line keeps its words
    // until the turn passes. "Stufe &1" to "Stufe &4" each alone carry the check mark and have the
    // computer, now red, search 2 to 5 moves deep: the counters then count as a search of that
    // depth does, and screen readers hear each value under its own caption.
    void menuCommandsInAGameTakeEffectWhenTheyShould() {
        window_->move(window_->screen()->geometry().center() + QPoint(150, 100));
        QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        QMetaObject::invokeMethod(this, &MainWindowTest::OpenAbout, Qt::QueuedConnection);
        ClickColumn(3);
        QVERIFY(aboutClosed_);
        action("mCPUyellow")->trigger();
        action("mCPUr")->trigger();
        QCOMPARE(DiscsOnBoard(), 2);
        QCOMPARE(window_->findChild<QLabel*>("Label1")->text(), "Rot");
        ClickColumn(3);
        QCOMPARE(window_->findChild<QLabel*>("Label1")->text(), "Gelb");
        for (int level = 0; level < 4; ++level) {
            const QString item = QString("mS1(%1)").arg(level);
            action(item)->trigger();
            action("mPlayNew")->trigger();
            const QList<QAction*> items = window_->findChild<QMenu*>("m1")->actions();
            QVERIFY(std::ranges::count_if(items, &QAction::isChecked) == 1);
            QVERIFY(action(item)->isChecked());
            Board empty;
            testing::RecordingView search;
            ChooseMove(empty, search, level + 2, kRed);
            const auto moves = std::ranges::count(search.calls, "IncrementCounter(SearchedMoves)");
            const auto cutOffs = std::ranges::count(search.calls, "IncrementCounter(CutOffs)");
            QCOMPARE(Name("Label5"), "Züge: " + QString::number(moves));
            QCOMPARE(Name("Label6"), "Cutoffs: " + QString::number(cutOffs));
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
        int discsWhenClosed = -1;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            if (discsWhenClosed >= 0)
                return;
            if (DiscsOnBoard() > DiscsDrawn()) {
                discsWhenClosed = DiscsDrawn();
                window_->close();
            } else if (window_->Controller().TurnInProgress()) {
                QTest::qSleep(20);
            }
        });
        watcher.start(1);
        QCOMPARE(QApplication::exec(), 0);
        // The trial discs were taken back, and no more moves were played.
        QCOMPARE(DiscsOnBoard(), discsWhenClosed);
    }

    // Red by hand against the computer's yellow: key 3 (negative times for releases) pressed at
    // 100 and held, so it repeats as release/press pairs of equal time; the window drops the
    // release at 130 as if the computer were still moving. Released at 200, pressed at 250 while
    // the window takes no input, and again at 300: two red discs, each answered. Then two people
    // play, yellow starting: digits 0 to 6 on the main row and the keypad play, 7 and 8 play
    // nothing, and after yellow's four no key plays. Screen readers hear each button's column and
    // the key that plays it, and each column's discs from the bottom up.
    void digitKeysPlayOneDiscAPressAndScreenReadersHearEachMove() {
        action("mPlayNew")->trigger();
        for (const int time : {100, -130, 130, -160, 160, -200, 250, 300}) {
            const bool refused = time == -130 || time == 250;
            window_->SetWindowEnabled(!refused);
            QKeyEvent key(time < 0 ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_3, {});
            key.setTimestamp(static_cast<quint64>(std::abs(time)));
            QApplication::sendEvent(Button(5), &key);
        }
        QCOMPARE(DiscsOnBoard(), 4);
        // Only who is to move after each move is heard, not the search's changes of it; a player
        // named anew is heard anew, though the words stay the same.
        window_->ShowPlayerToMove(kRed);
        const QStringList expected = {"Rot", "Gelb (CPU)", "Rot", "Gelb (CPU)", "Rot", "Rot"};
        QCOMPARE(heard, expected);
        QCOMPARE(Name("matrix(21)"), "Spalte 3, Reihe 0: rot");

        action("mCPUyellow")->trigger();
        action("mPlayNew")->trigger();
        QTimer closer;
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        closer.start(0);
        for (int i = 0; i < kColumns; ++i) {
            QCOMPARE(Name(Button(i)->objectName()), QString("Spalte %1").arg(i));
            QCOMPARE(Name(Button(i)->objectName(), QAccessible::Description),
                     QString("Wirft eine Scheibe in Spalte %1 (Taste %1)").arg(i));
        }
        // Keys reach the window through whichever control has the focus; here a column button.
        for (const int column : {2, 6, 7, 3, 2, 8, 4, 6, 5, 0, 1}) {
            const bool keypad = column % 2 == 1;
            const Qt::KeyboardModifiers modifiers = keypad ? Qt::KeypadModifier : Qt::NoModifier;
            QTest::keyClick(Button(5), Qt::Key(Qt::Key_0 + column), modifiers);
        }
        QCOMPARE(Name("Shape1", QAccessible::Description),
                 "Spalte 0: leer; Spalte 1: leer; Spalte 2: gelb, rot; Spalte 3: gelb; "
                 "Spalte 4: gelb; Spalte 5: gelb; Spalte 6: rot, rot");
        QCOMPARE(Name("Label1"), "Der Spieler Gelb hat gegen den Spieler Rot gewonnen.");
    }

    // Random user input against the real window, checked after every action; while the computer
    // moves, the user keeps trying columns, Ctrl+N and the menu bar. It runs as a test of its own
    // (MARLOVIN_SOAK_ACTIONS, MARLOVIN_SOAK_SEED); a failure names the seed and action to replay.
    void soakRandomUserActionsKeepWindowAndGameConsistent() {
        const int actions = qEnvironmentVariableIntValue("MARLOVIN_SOAK_ACTIONS");
        if (actions == 0)
            QSKIP("MARLOVIN_SOAK_ACTIONS not set");
        soakSeed_ = qEnvironmentVariableIntValue("MARLOVIN_SOAK_SEED");
        // Counts the new games. This runs after the window's own handler, so a new game asked
        // for inside a turn, which is refused, finds the turn still in progress.
        connect(action("mPlayNew"), &QAction::triggered, window_.get(), [this] {
            if (!window_->Controller().TurnInProgress())
                ++soakGames_;
        });
        std::mt19937 random(static_cast<unsigned>(soakSeed_));
        meanwhileRandom_.seed(static_cast<unsigned>(soakSeed_));
        QTimer meanwhile;
        connect(&meanwhile, &QTimer::timeout, this, &MainWindowTest::ActMeanwhile);
        meanwhile.start(0);
        std::discrete_distribution<int> pick({44, 12, 7, 3, 6, 6, 2, 2, 2, 2, 2});
        for (int action = 0; action < actions && !QTest::currentTestFailed(); ++action) {
            const int act = pick(random);
            const int column = static_cast<int>(random() % kColumns);
            Act(act, column);
            CheckWindowAgainstBoard();
            if (QTest::currentTestFailed())
                qWarning("failed at action %d of seed %d", action, soakSeed_);
        }
        action("mExit")->trigger();
        QVERIFY2(window_->QuitRequested() && !window_->isVisible(), "Verlassen left it open");
    }

  protected:
    // Notes any key or mouse press that reaches the main window or its controls and menus (not
    // its message boxes, windows of their own) while the window refuses input.
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type input[] = {QEvent::KeyPress, QEvent::ShortcutOverride,
                                      QEvent::MouseButtonPress};
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (window_ == nullptr || window_->WindowInputEnabled() || widget == nullptr)
            return false;
        if (widget->window() == window_.get() && std::ranges::count(input, event->type()) > 0)
            inputThroughRefusal_ = true;
        return false;
    }

  private:
    void OpenAbout() {
        QTimer::singleShot(0, this, &MainWindowTest::LookAtAboutAndClose);
        action("mInfo")->trigger();
    }

    // Tabs from the credits box, where the focus starts, to the OK button; types into the credits
    // box, closes the window, and only then checks what it showed, so that a failure cannot leave
    // it open.
    void LookAtAboutAndClose() {
        // Only a modal window keeps the main window from taking input.
        auto* info = qobject_cast<frmInfo*>(QApplication::activeModalWidget());
        if (info == nullptr)
            return;
        auto* credits = info->findChild<QPlainTextEdit*>("Text1");
        auto* ok = info->findChild<QPushButton*>("Command1");
        Activate(info);
        const QWidget* focusAtOpen = info->focusWidget();
        QTest::keyClick(info, Qt::Key_Tab);
        const QWidget* focusAfterTab = info->focusWidget();
        const QString before = credits->toPlainText();
        QTest::keyClicks(credits, "xyz");
        const QString after = credits->toPlainText();
        const QPoint offCentre =
            info->frameGeometry().center() - info->screen()->geometry().center();
        const bool wayland = QGuiApplication::platformName() == "wayland";  // its placement
        QTest::mouseClick(ok, Qt::LeftButton);
        aboutClosed_ = true;
        QVERIFY(focusAtOpen == credits);
        QVERIFY(focusAfterTab == ok);
        QCOMPARE(after, before);
        QVERIFY(offCentre.manhattanLength() <= 1 || wayland);
        QVERIFY(window_->Controller().TurnInProgress());
    }

    // Soak: one action of the user: a click, a digit key, Ctrl+N or a menu command.
    void Act(int act, int column) {
        // Shortcuts need an active window.
        Activate(window_.get());
        const Board before = window_->State().board;
        const int height = ColumnHeight(before, column);
        const Player mover = window_->State().currentPlayer;
        const bool plays = Button(column)->isEnabled() && height < kRows;
        const char* const menus[] = {"mPlayNew", "mCPUr",  "mCPUyellow", "mInfo",
                                     "mS1(0)",   "mS1(1)", "mS1(2)",     "mS1(3)"};
        if (act == 0)
            ClickColumn(column);
        else if (act == 1)
            QTest::keyClick(window_.get(), Qt::Key(Qt::Key_0 + column));
        else if (act == 2)
            QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        else
            action(menus[act - 3])->trigger();
        const Board& board = window_->State().board;
        if (act <= 1 && plays)
            QVERIFY2(board.At(column, height) == mover, "the column took no disc");
        if (act <= 1 && !plays)
            QVERIFY2(board == before, "the column took a disc it should not");
    }

    // Soak: the circles show the board; black borders are the search's while it runs, and after
    // it only a won four keeps them; a four or a full board ends the game.
    void CheckWindowAgainstBoard() {
        const Board& board = window_->State().board;
        std::uint64_t fours = 0;  // cells (row * 7 + column) in a line of four
        for (int w = 0; w < kWindowCount; ++w) {
            const bool four = board.WindowState(w) % 16 == 4;
            for (const int cell : kWindows[w].cells)
                fours |= std::uint64_t{four} << cell;
        }
        const QColor fills[] = {Qt::white, Qt::yellow, Qt::red};  // by cell code
        for (int cell = 0; cell < kCells; ++cell) {
            const int index = cell % kColumns * kRows + cell / kColumns;
            const auto* circle = window_->findChild<Shape*>(QString("matrix(%1)").arg(index));
            const bool inFour = (fours >> cell & 1) != 0;
            const QColor border = inFour ? QColor(Qt::black) : QColor(192, 192, 192);
            const bool filled =
                soakGames_ == 0 || circle->FillColor() == fills[board.Cells()[cell]];
            if (!filled || circle->BorderColor() != border)
                QFAIL(qPrintable(QString("cell %1 (row * 7 + column)").arg(cell)));
        }
        QVERIFY2(!inputThroughRefusal_, "input reached the window while it refused input");
        const bool running = soakGames_ > 0 && fours == 0 && DiscsOnBoard() < kCells;
        const auto buttons = window_->findChildren<QPushButton*>();
        const auto enabled = std::ranges::count_if(buttons, &QWidget::isEnabled);
        QVERIFY2(enabled == (running ? kColumns : 0), "the column buttons");
    }

    // Soak: while a message box or the About window is open, or the computer moves.
    void ActMeanwhile() {
        QWidget* modal = QApplication::activeModalWidget();
        const unsigned pick = meanwhileRandom_();
        const bool refusing = !window_->WindowInputEnabled();
        if (modal != nullptr) {
            QTest::keyClick(modal, pick % 2 == 1 ? Qt::Key_Escape : Qt::Key_Return);
        } else if (refusing && pick % 16 == 0) {
            ClickColumn(static_cast<int>(pick / 16 % kColumns));
        } else if (refusing && pick % 16 == 1) {
            QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        } else if (refusing && pick % 16 == 2) {
            // A menu's access key.
            QTest::keyClick(window_.get(), Qt::Key_I, Qt::AltModifier);
        }
    }

    QString Name(const QString& object, QAccessible::Text text = QAccessible::Name) const {
        QObject* found = window_->findChild<QObject*>(object);
        return QAccessible::queryAccessibleInterface(found)->text(text);
    }
    QAction* action(const QString& name) const { return window_->findChild<QAction*>(name); }
    QPushButton* Button(int i) const {
        return window_->findChild<QPushButton*>(QString("Command1(%1)").arg(i));
    }
    void ClickColumn(int i) const { QTest::mouseClick(Button(i), Qt::LeftButton); }
    int DiscsOnBoard() const { return std::popcount(window_->State().board.OccupiedBits()); }
    int DiscsDrawn() const {
        const auto circles = window_->findChildren<Shape*>();
        return static_cast<int>(std::ranges::count_if(circles, [](const Shape* circle) {
            return circle->FillColor() == Qt::red || circle->FillColor() == Qt::yellow;
        }));
    }
    std::unique_ptr<frmMain> window_;
    bool aboutClosed_ = false;
    bool inputThroughRefusal_ = false;
    int soakSeed_ = 0;
    std::mt19937 meanwhileRandom_;
    int soakGames_ = 0;
};

QTEST_MAIN(MainWindowTest)
#include "tst_frmmain.moc"
