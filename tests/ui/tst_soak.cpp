#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <cstdlib>
#include <random>
#include <set>

#include "engine/board.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kYellowDisc(255, 255, 0);
const QColor kRedDisc(255, 0, 0);
const QColor kSilver(192, 192, 192);
const QColor kBlack(0, 0, 0);

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return fallback;
    return std::strtoul(value, nullptr, 10);
}

// Cells (7 * column + row) that belong to a complete four of one colour.
std::set<int> CellsInFours(const Board& board) {
    static constexpr std::array<std::array<int, 2>, 4> kDirections{
        {{1, 0}, {0, 1}, {1, 1}, {1, -1}}};
    std::set<int> cells;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            for (const auto& [dc, dr] : kDirections) {
                const int endColumn = c + 3 * dc;
                const int endRow = r + 3 * dr;
                if (endColumn >= kColumns || endRow < 0 || endRow >= kRows)
                    continue;
                const CellCode code = board.At(c, r);
                bool four = code == kYellow || code == kRed;
                for (int i = 1; i < 4 && four; ++i)
                    four = board.At(c + i * dc, r + i * dr) == code;
                if (four) {
                    for (int i = 0; i < 4; ++i)
                        cells.insert(kRows * (c + i * dc) + r + i * dr);
                }
            }
        }
    }
    return cells;
}

// The colour of the complete four on the board, 0 when there is none.
Player FourOwner(const Board& board) {
    const std::set<int> cells = CellsInFours(board);
    if (cells.empty())
        return 0;
    const int cell = *cells.begin();
    return board.At(cell / kRows, cell % kRows);
}

QString ColourName(Player player, bool computer) {
    return (player == kYellow ? QStringLiteral("Gelb") : QStringLiteral("Rot")) +
           (computer ? QStringLiteral(" (CPU)") : QString());
}

QtMessageHandler previousHandler = nullptr;

// Every message box on the offscreen platform warns that it cannot propagate size hints.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints")))
        previousHandler(type, context, text);
}

// The window as the game logic sees it, noting when the computer's search runs: from the root's
// counter reset to the clearing of the search's highlights.
class ObservedWindow : public frmMain {
  public:
    bool searching = false;

    void ResetCounters() override {
        searching = true;
        frmMain::ResetCounters();
    }
    void ResetHighlights() override {
        frmMain::ResetHighlights();
        searching = false;
    }
};

}  // namespace

// Drives the real main window with a long random sequence of user actions and checks after each
// one that window and game state still agree. A failure names the seed and the action index;
// MARLOVIN_SOAK_SEED and MARLOVIN_SOAK_ACTIONS replay or lengthen a run.
class SoakTest : public QObject {
    Q_OBJECT

  private slots:
    void randomUserActionsKeepWindowAndGameConsistent();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Action {
        ClickColumn,
        ClickFullColumn,
        DigitKey,
        CtrlN,
        NewGameMenu,
        ToggleRed,
        ToggleYellow,
        Difficulty,
        About,
    };

    template <typename T>
    T* Find(const QString& name) const {
        T* found = window_->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no child named %s", qPrintable(name));
        return found;
    }
    QAction* Menu(const char* name) const { return Find<QAction>(QLatin1String(name)); }

    Action PickAction();
    void Perform(Action action);
    // A click or digit key on column; checks that it played exactly when the button took input.
    void PlayColumn(int column, bool byKey);
    void InjectInput();
    void CloseSoon(QDialog* dialog);
    void CheckMessage(const QMessageBox& box);
    void CheckInvariants();
    // Records the first broken rule with the place it was found.
    void Fail(const QString& what);
    void WatchHandlers();

    std::unique_ptr<ObservedWindow> window_;
    std::mt19937 rng_;
    unsigned long seed_ = 0;
    unsigned long index_ = 0;
    QString failure_;
    std::array<QPushButton*, kColumns> buttons_{};
    std::array<Shape*, kCells> circles_{};

    // Input sent into the window while an action runs, as a user would while it is busy.
    QTimer injector_;
    int injectionsLeft_ = 0;

    bool gameStarted_ = false;
    int games_ = 0;
    int wins_ = 0;
    int aboutOpenings_ = 0;
    // Games the computer played alone, by difficulty.
    std::array<int, 4> computerGames_{};
    int injectedWhileRefusing_ = 0;
    int injectedWhileAccepting_ = 0;
};

void SoakTest::Fail(const QString& what) {
    if (failure_.isEmpty()) {
        failure_ = QStringLiteral("seed %1, action %2: %3").arg(seed_).arg(index_).arg(what);
    }
}

void SoakTest::WatchHandlers() {
    // Every handler reached while the window refuses input, or while the computer searches, is
    // input that got through.
    auto guard = [this](const QString& source) {
        return [this, source] {
            if (!window_->WindowInputEnabled())
                Fail(source + QStringLiteral(" ran while the window refused input"));
            if (window_->searching)
                Fail(source + QStringLiteral(" ran during the computer's search"));
        };
    };
    for (int i = 0; i < kColumns; ++i) {
        connect(buttons_[i], &QPushButton::clicked, this,
                guard(QStringLiteral("Command1(%1)").arg(i)));
    }
    for (const char* name :
         {"mPlayNew", "mCPUr", "mCPUyellow", "mInfo", "mS1(0)", "mS1(1)", "mS1(2)", "mS1(3)"}) {
        connect(Menu(name), &QAction::triggered, this, guard(QLatin1String(name)));
    }
    // Runs after the window's own handler: a new game asked for inside a turn was refused.
    connect(Menu("mPlayNew"), &QAction::triggered, this, [this] {
        if (!window_->Controller().TurnInProgress()) {
            gameStarted_ = true;
            ++games_;
            if (window_->IsComputer(kYellow) && window_->IsComputer(kRed))
                ++computerGames_[window_->State().searchDepth - 2];
        }
    });
}

SoakTest::Action SoakTest::PickAction() {
    static const std::array<std::pair<Action, int>, 9> kWeights{{
        {Action::ClickColumn, 40},
        {Action::ClickFullColumn, 4},
        {Action::DigitKey, 12},
        {Action::CtrlN, 7},
        {Action::NewGameMenu, 3},
        {Action::ToggleRed, 6},
        {Action::ToggleYellow, 6},
        {Action::Difficulty, 8},
        {Action::About, 2},
    }};
    int total = 0;
    for (const auto& [action, weight] : kWeights)
        total += weight;
    int pick = std::uniform_int_distribution<int>(0, total - 1)(rng_);
    for (const auto& [action, weight] : kWeights) {
        if (pick < weight)
            return action;
        pick -= weight;
    }
    return Action::ClickColumn;
}

void SoakTest::Perform(Action action) {
    const auto column = [this] {
        return std::uniform_int_distribution<int>(0, kColumns - 1)(rng_);
    };
    switch (action) {
        case Action::ClickColumn:
            PlayColumn(column(), false);
            break;
        case Action::ClickFullColumn: {
            std::vector<int> full;
            for (int c = 0; c < kColumns; ++c) {
                if (ColumnHeight(window_->State().board, c) == kRows)
                    full.push_back(c);
            }
            PlayColumn(full.empty() ? column() : full[rng_() % full.size()], false);
            break;
        }
        case Action::DigitKey:
            PlayColumn(column(), true);
            break;
        case Action::CtrlN: {
            const int before = games_;
            QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
            if (games_ == before)
                Fail(QStringLiteral("Ctrl+N started no game"));
            break;
        }
        case Action::NewGameMenu:
            Menu("mPlayNew")->trigger();
            break;
        case Action::ToggleRed:
            Menu("mCPUr")->trigger();
            break;
        case Action::ToggleYellow:
            Menu("mCPUyellow")->trigger();
            break;
        case Action::Difficulty:
            Menu(qPrintable(QStringLiteral("mS1(%1)").arg(rng_() % 4)))->trigger();
            break;
        case Action::About:
            Menu("mInfo")->trigger();
            break;
    }
}

void SoakTest::PlayColumn(int column, bool byKey) {
    const Board before = window_->State().board;
    const Player mover = window_->State().currentPlayer;
    const bool accepts = window_->WindowInputEnabled() && buttons_[column]->isEnabled();
    const bool full = ColumnHeight(before, column) == kRows;
    if (byKey) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : window_.get(),
                        static_cast<Qt::Key>(Qt::Key_0 + column));
    } else {
        QTest::mouseClick(buttons_[column], Qt::LeftButton);
    }

    const Board& after = window_->State().board;
    const QString how = byKey ? QStringLiteral("key %1").arg(column)
                              : QStringLiteral("click on column %1").arg(column);
    if (!accepts || full) {
        if (after != before || window_->State().currentPlayer != mover)
            Fail(how + QStringLiteral(" changed the game though it could not play"));
    } else if (after.At(column, ColumnHeight(before, column)) != mover) {
        Fail(how + QStringLiteral(" did not drop a disc of the player to move"));
    }
}

void SoakTest::InjectInput() {
    if (injectionsLeft_ <= 0) {
        injector_.stop();
        return;
    }
    // Input to a window behind a modal one never reaches it; the test's direct events would.
    if (QApplication::activeModalWidget() != nullptr)
        return;
    --injectionsLeft_;
    ++(window_->WindowInputEnabled() ? injectedWhileAccepting_ : injectedWhileRefusing_);
    const int column = static_cast<int>(rng_() % kColumns);
    switch (rng_() % 3) {
        case 0:
            QTest::mouseClick(buttons_[column], Qt::LeftButton);
            break;
        case 1:
            QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
            break;
        default:
            QTest::keyClick(window_.get(), static_cast<Qt::Key>(Qt::Key_0 + column));
            break;
    }
}

void SoakTest::CloseSoon(QDialog* dialog) {
    const unsigned way = rng_() % 4;
    QTimer::singleShot(0, dialog, [dialog, way] {
        switch (way) {
            case 0:
                QTest::keyClick(dialog, Qt::Key_Escape);
                break;
            case 1:
                QTest::keyClick(dialog, Qt::Key_Return);
                break;
            case 2:
                if (auto* box = qobject_cast<QMessageBox*>(dialog))
                    box->button(QMessageBox::Ok)->click();
                else
                    dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
                break;
            default:
                dialog->close();
                break;
        }
    });
}

void SoakTest::CheckMessage(const QMessageBox& box) {
    const Player winner = FourOwner(window_->State().board);
    if (winner == 0) {
        Fail(QStringLiteral("message \"%1\" without a four on the board").arg(box.text()));
        return;
    }
    ++wins_;
    const Player loser = winner == kYellow ? kRed : kYellow;
    const QString expected = QStringLiteral("Der Spieler %1 hat gegen den Spieler %2 gewonnen.")
                                 .arg(ColourName(winner, window_->IsComputer(winner)),
                                      ColourName(loser, window_->IsComputer(loser)));
    if (box.text() != expected)
        Fail(QStringLiteral("message \"%1\", expected \"%2\"").arg(box.text(), expected));
}

bool SoakTest::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && dialog->isWindow()) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog))
                CheckMessage(*box);
            else if (qobject_cast<frmInfo*>(dialog) != nullptr)
                ++aboutOpenings_;
            CloseSoon(dialog);
        }
    }
    return QObject::eventFilter(watched, event);
}

void SoakTest::CheckInvariants() {
    const GameState& state = window_->State();
    const Board& board = state.board;

    int yellow = 0;
    int red = 0;
    bool full = true;
    for (int c = 0; c < kColumns; ++c) {
        bool gap = false;
        for (int r = 0; r < kRows; ++r) {
            const CellCode code = board.At(c, r);
            if (code < 0 || code > 2)
                Fail(QStringLiteral("cell (%1, %2) holds code %3").arg(c).arg(r).arg(code));
            if (code == kEmpty)
                gap = true;
            else if (gap)
                Fail(QStringLiteral("column %1 has a gap below row %2").arg(c).arg(r));
            yellow += code == kYellow;
            red += code == kRed;
        }
        full = full && board.At(c, kRows - 1) != kEmpty;
    }
    if (std::abs(yellow - red) > 1)
        Fail(QStringLiteral("%1 yellow and %2 red discs: a turn was skipped").arg(yellow).arg(red));

    int checked = 0;
    int checkedIndex = -1;
    for (int i = 0; i < 4; ++i) {
        if (Menu(qPrintable(QStringLiteral("mS1(%1)").arg(i)))->isChecked()) {
            ++checked;
            checkedIndex = i;
        }
    }
    if (checked != 1)
        Fail(QStringLiteral("%1 difficulty items checked").arg(checked));
    else if (state.searchDepth != checkedIndex + 2)
        Fail(QStringLiteral("search depth %1 with Stufe %2 checked")
                 .arg(state.searchDepth)
                 .arg(checkedIndex + 1));

    // Black borders are the search's while it runs; after it only a won four keeps them.
    const std::set<int> fours = CellsInFours(board);
    for (int i = 0; i < kCells; ++i) {
        const bool black = circles_[i]->BorderColor() == kBlack;
        if (black != fours.contains(i))
            Fail(QStringLiteral("matrix(%1) has a %2 border")
                     .arg(i)
                     .arg(black ? "black" : "silver"));
        if (circles_[i]->BorderColor() != kBlack && circles_[i]->BorderColor() != kSilver)
            Fail(QStringLiteral("matrix(%1) has a border of neither colour").arg(i));
    }

    const bool won = !fours.empty();
    const bool shouldAccept = gameStarted_ && !won;
    for (int i = 0; i < kColumns; ++i) {
        if (buttons_[i]->isEnabled() != shouldAccept)
            Fail(QStringLiteral("Command1(%1) %2 (game %3, won %4)")
                     .arg(i)
                     .arg(buttons_[i]->isEnabled() ? "enabled" : "disabled")
                     .arg(gameStarted_)
                     .arg(won));
    }

    if (gameStarted_) {
        for (int i = 0; i < kCells; ++i) {
            const CellCode code = board.At(i / kRows, i % kRows);
            const QColor& expected = code == kYellow ? kYellowDisc
                                     : code == kRed  ? kRedDisc
                                                     : kWhite;
            if (circles_[i]->FillColor() != expected)
                Fail(QStringLiteral("matrix(%1) shows %2 for code %3")
                         .arg(i)
                         .arg(circles_[i]->FillColor().name())
                         .arg(code));
        }
    }

    if (!window_->WindowInputEnabled())
        Fail(QStringLiteral("the window still refuses input"));
    if (window_->Controller().TurnInProgress())
        Fail(QStringLiteral("a turn is still in progress"));
    if (QApplication::activeModalWidget() != nullptr || window_->findChild<frmInfo*>() != nullptr)
        Fail(QStringLiteral("a modal window is still open"));
    if (state.currentPlayer != kYellow && state.currentPlayer != kRed)
        Fail(QStringLiteral("player to move is %1").arg(state.currentPlayer));

    // While a game runs the status line names the player to move, with or without " (CPU)".
    const QString status = Find<QLabel>(QStringLiteral("Label1"))->text();
    if (!gameStarted_) {
        if (status != QStringLiteral("ready"))
            Fail(QStringLiteral("status \"%1\" before the first game").arg(status));
    } else if (!won && !full) {
        const QString name = ColourName(state.currentPlayer, false);
        if (status != name && status != name + QStringLiteral(" (CPU)"))
            Fail(QStringLiteral("status \"%1\" with %2 to move").arg(status, name));
    }
    for (const char* name : {"Label5", "Label6"}) {
        const QString text = Find<QLabel>(QLatin1String(name))->text();
        bool number = false;
        text.toLongLong(&number);
        if (!text.isEmpty() && (!number || text.toLongLong() < 0))
            Fail(QStringLiteral("%1 reads \"%2\"").arg(QLatin1String(name), text));
    }
}

void SoakTest::randomUserActionsKeepWindowAndGameConsistent() {
    seed_ = EnvNumber("MARLOVIN_SOAK_SEED", 20261206);
    const unsigned long actions = EnvNumber("MARLOVIN_SOAK_ACTIONS", 20000);
    rng_.seed(static_cast<std::mt19937::result_type>(seed_));

    previousHandler = qInstallMessageHandler(QuietHandler);
    window_ = std::make_unique<ObservedWindow>();
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    for (int i = 0; i < kColumns; ++i)
        buttons_[i] = Find<QPushButton>(QStringLiteral("Command1(%1)").arg(i));
    for (int i = 0; i < kCells; ++i)
        circles_[i] = Find<Shape>(QStringLiteral("matrix(%1)").arg(i));
    WatchHandlers();
    qApp->installEventFilter(this);
    connect(&injector_, &QTimer::timeout, this, &SoakTest::InjectInput);

    QElapsedTimer clock;
    clock.start();
    for (index_ = 0; index_ < actions && failure_.isEmpty(); ++index_) {
        const Action action = PickAction();
        // The offscreen platform does not hand activation back to the owner when a dialog
        // closes, as a window manager would; shortcuts need an active window.
        if (QApplication::activeWindow() != window_.get())
            QApplication::setActiveWindow(window_.get());
        // Now and then the user keeps clicking and typing while the action is handled.
        if (rng_() % 8 == 0) {
            injectionsLeft_ = 1 + static_cast<int>(rng_() % 3);
            injector_.start(0);
        }
        Perform(action);
        injector_.stop();
        injectionsLeft_ = 0;
        CheckInvariants();
    }
    qApp->removeEventFilter(this);

    qInfo(
        "seed %lu: %lu actions in %lld ms, %d games (computer alone at Stufe 1-4: %d %d %d %d), "
        "%d wins, %d About windows, %d inputs injected while refusing and %d while accepting "
        "input",
        seed_, index_, static_cast<long long>(clock.elapsed()), games_, computerGames_[0],
        computerGames_[1], computerGames_[2], computerGames_[3], wins_, aboutOpenings_,
        injectedWhileRefusing_, injectedWhileAccepting_);
    if (!failure_.isEmpty())
        QFAIL(qPrintable(failure_));
    QCOMPARE(index_, actions);
    window_.reset();
    qInstallMessageHandler(previousHandler);
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
