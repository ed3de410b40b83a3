#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <bit>
#include <cstdint>
#include <random>

#include "engine/board.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

namespace {

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    return qEnvironmentVariableIsEmpty(name) ? fallback : qgetenv(name).toULong();
}

// Bits column * 8 + row of the cells in a line of four discs of one colour. The eighth bit of
// each column stays clear, so no line runs on into the next column.
std::uint64_t CellsInFours(const Board& board) {
    std::uint64_t in = 0;
    for (const CellCode colour : {kYellow, kRed}) {
        std::uint64_t b = 0;
        for (int i = 0; i < kCells; ++i)
            b |= std::uint64_t{board.Cells()[i] == colour} << (i % kColumns * 8 + i / kColumns);
        for (const int s : {1, 7, 8, 9}) {
            const std::uint64_t m = b & b >> s & b >> 2 * s & b >> 3 * s;
            in |= m | m << s | m << 2 * s | m << 3 * s;
        }
    }
    return in;
}

}  // namespace

// Drives the real main window with a long random sequence of user actions and checks after each
// one that window and game agree; while the computer moves, the user now and then keeps clicking
// and typing. A failure names the seed and the action index; MARLOVIN_SOAK_SEED and
// MARLOVIN_SOAK_ACTIONS replay or lengthen a run.
class SoakTest : public QObject {
    Q_OBJECT

  private slots:
    void randomUserActionsKeepWindowAndGameConsistent();

  private:
    QAction* Menu(const QString& name) const { return window_.findChild<QAction*>(name); }
    void Check(bool ok, const QString& what) {
        if (!ok && failure_.isEmpty())
            failure_ = QStringLiteral("seed %1, action %2: %3").arg(seed_).arg(index_).arg(what);
    }
    void Perform(int action);
    // Closes the message box or About window that opened, or clicks and types into the window.
    void ActMeanwhile();
    void CheckInvariants();

    frmMain window_;
    std::array<QPushButton*, kColumns> buttons_{};
    std::array<Shape*, kCells> circles_{};
    // The second generator serves the timer, whose ticks vary from run to run.
    std::mt19937 rng_, meanwhileRng_;
    unsigned long seed_ = 0, index_ = 0;
    QString failure_;
    int games_ = 0, wins_ = 0, abouts_ = 0, computerGamesAtStufe4_ = 0;
};

void SoakTest::Perform(int action) {
    static const char* const kMenus[] = {"mPlayNew", "mCPUr",  "mCPUyellow", "mInfo",
                                         "mS1(0)",   "mS1(1)", "mS1(2)",     "mS1(3)"};
    const Board before = window_.State().board;
    int column = static_cast<int>(rng_() % kColumns);
    for (int c = 0; action == 1 && c < kColumns; ++c)  // the fullest column
        column = ColumnHeight(before, c) > ColumnHeight(before, column) ? c : column;
    const int height = ColumnHeight(before, column), games = games_;
    const Player mover = window_.State().currentPlayer;
    const bool plays = buttons_[column]->isEnabled() && height < kRows;
    if (action <= 1)
        QTest::mouseClick(buttons_[column], Qt::LeftButton);
    else if (action == 2)
        QTest::keyClick(&window_, static_cast<Qt::Key>(Qt::Key_0 + column));
    else if (action == 3)
        QTest::keyClick(&window_, Qt::Key_N, Qt::ControlModifier);
    else
        Menu(QLatin1String(kMenus[action - 4]))->trigger();
    if (action <= 2)
        Check(plays ? window_.State().board.At(column, height) == mover
                    : window_.State().board == before,
              QStringLiteral("input on column %1").arg(column));
    Check(action != 3 || games_ > games, QStringLiteral("Ctrl+N started no game"));
    computerGamesAtStufe4_ += games_ > games && window_.IsComputer(kYellow) &&
                              window_.IsComputer(kRed) && window_.State().searchDepth == 5;
}

void SoakTest::ActMeanwhile() {
    QWidget* modal = QApplication::activeModalWidget();
    const unsigned long pick = meanwhileRng_();
    wins_ += qobject_cast<QMessageBox*>(modal) != nullptr;
    abouts_ += qobject_cast<frmInfo*>(modal) != nullptr;
    if (modal != nullptr)
        QTest::keyClick(modal, pick % 2 ? Qt::Key_Escape : Qt::Key_Return);
    else if (!window_.WindowInputEnabled() && pick % 16 == 0)
        QTest::mouseClick(buttons_[pick / 16 % kColumns], Qt::LeftButton);
    else if (!window_.WindowInputEnabled() && pick % 16 == 1)
        QTest::keyClick(&window_, Qt::Key_N, Qt::ControlModifier);
}

void SoakTest::CheckInvariants() {
    const Board& board = window_.State().board;
    const std::uint64_t fours = CellsInFours(board);
    for (int i = 0; i < kCells; ++i) {
        const CellCode code = board.Cells()[i];
        const QColor fill = code == kYellow ? Qt::yellow : code == kRed ? Qt::red : Qt::white;
        const bool four = fours >> (i % kColumns * 8 + i / kColumns) & 1;
        // Black borders are the search's while it runs; after it only a won four keeps them.
        Check(code >= 0 && code <= 2 && (code == kEmpty || i < kColumns || board.Cells()[i - 7]) &&
                  (games_ == 0 || circles_[i]->FillColor() == fill) &&
                  circles_[i]->BorderColor() == (four ? Qt::black : QColor(192, 192, 192)),
              QStringLiteral("cell %1 (row * 7 + column) or its circle").arg(i));
    }
    // A four or a full board ends the game.
    const bool running = games_ > 0 && fours == 0 && std::popcount(board.OccupiedBits()) < kCells;
    for (QPushButton* button : buttons_)
        Check(button->isEnabled() == running, QStringLiteral("column buttons"));
    QString marks;
    for (int i = 0; i < 4; ++i)
        marks += Menu(QStringLiteral("mS1(%1)").arg(i))->isChecked() ? '1' : '0';
    Check(marks.count('1') == 1 && window_.State().searchDepth == marks.indexOf('1') + 2,
          QStringLiteral("levels %1 checked").arg(marks));
}

void SoakTest::randomUserActionsKeepWindowAndGameConsistent() {
    seed_ = EnvNumber("MARLOVIN_SOAK_SEED", 20261206);
    const unsigned long actions = EnvNumber("MARLOVIN_SOAK_ACTIONS", 5000);
    rng_.seed(static_cast<std::mt19937::result_type>(seed_));
    meanwhileRng_.seed(static_cast<std::mt19937::result_type>(seed_));
    window_.show();
    for (int i = 0; i < kColumns; ++i)
        buttons_[i] = window_.findChild<QPushButton*>(QStringLiteral("Command1(%1)").arg(i));
    for (int i = 0; i < kCells; ++i)
        circles_[i] = window_.findChild<Shape*>(
            QStringLiteral("matrix(%1)").arg(kRows * (i % kColumns) + i / kColumns));
    auto refused = [this] { Check(window_.WindowInputEnabled(), "input got through a refusal"); };
    for (QPushButton* button : buttons_)
        connect(button, &QPushButton::clicked, this, refused);
    connect(Menu("mPlayNew"), &QAction::triggered, this, refused);
    // Runs after the window's own handler: a new game asked for inside a turn was refused.
    connect(Menu("mPlayNew"), &QAction::triggered, this,
            [this] { games_ += !window_.Controller().TurnInProgress(); });
    QTimer meanwhile;
    connect(&meanwhile, &QTimer::timeout, this, &SoakTest::ActMeanwhile);
    meanwhile.start(0);

    std::discrete_distribution<int> pick({40, 4, 12, 7, 3, 6, 6, 2, 2, 2, 2, 2});
    for (index_ = 0; index_ < actions && failure_.isEmpty(); ++index_) {
        // The offscreen platform does not hand activation back to the owner when a dialog
        // closes, as a window manager would; shortcuts need an active window.
        QApplication::setActiveWindow(&window_);
        Perform(pick(rng_));
        CheckInvariants();
    }
    Menu("mExit")->trigger();

    QVERIFY2(failure_.isEmpty(), qPrintable(failure_));
    // The run reached the states it is meant to exercise.
    QVERIFY(wins_ > 0 && abouts_ > 0 && computerGamesAtStufe4_ > 0);
    QVERIFY2(window_.QuitRequested() && !window_.isVisible(), "Verlassen left the window open");
}

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
