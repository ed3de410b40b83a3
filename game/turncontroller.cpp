#include "game/turncontroller.h"

#include <bit>
#include <cstdlib>
#include <string>

#include "engine/evaluate.h"
#include "engine/gameview.h"
#include "engine/search.h"

namespace marlovin {

namespace {

// Marks a turn as running for as long as the outermost handler is on the stack, including
// when a request to end the program unwinds it.
class TurnScope {
  public:
    explicit TurnScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TurnScope() { flag_ = false; }
    TurnScope(const TurnScope&) = delete;
    TurnScope& operator=(const TurnScope&) = delete;

  private:
    bool& flag_;
};

// Continue-on-error: a failing step is abandoned and the handler goes on with the next one.
// Ending the program is not a failure and must reach the outermost handler.
template <typename Step>
void Attempt(Step&& step) {
    try {
        step();
    } catch (const ExitRequested&) {
        throw;
    } catch (...) {
    }
}

std::string ColourName(Player player, GameView& view) {
    std::string name = player == kYellow ? "Gelb" : "Rot";
    if (view.IsComputer(player)) {
        name += " (CPU)";
    }
    return name;
}

}  // namespace

TurnController::TurnController(GameState& state, GameView& view) : state_(state), view_(view) {}

void TurnController::StartUp(const std::function<void(int)>& selectDifficulty) {
    view_.SetStatusText("ready");
    if (selectDifficulty) {
        selectDifficulty(1);
    } else {
        SetDifficulty(1);
    }
    state_.currentPlayer = kYellow;
}

void TurnController::SetDifficulty(int index) {
    // A larger depth would freeze the window in a search of hours.
    if (index < 0 || index > 3) {
        return;
    }
    state_.searchDepth = static_cast<std::int16_t>(index + 2);
}

void TurnController::ColumnChosen(int column) {
    if (turnInProgress_) {
        return;
    }
    TurnScope scope(turnInProgress_);
    PlayColumn(column);
}

void TurnController::ComputerMove() {
    if (turnInProgress_) {
        return;
    }
    TurnScope scope(turnInProgress_);
    PlayComputerMove();
}

bool TurnController::NewGame() {
    if (turnInProgress_) {
        return false;
    }
    TurnScope scope(turnInProgress_);
    state_.currentPlayer = OtherPlayer(state_.currentPlayer, view_);
    ClearBoard(state_.board);
    view_.SetColumnButtonsEnabled(true);
    view_.ResetHighlights();
    view_.PumpEvents();
    if (view_.IsComputer(state_.currentPlayer)) {
        PlayComputerMove();
    }
    return true;
}

void TurnController::PlayColumn(int column) {
    if (!DropPiece(state_.board, column, state_.currentPlayer)) {
        return;
    }
    view_.DrawBoard();
    const int score = Evaluate(state_.board, view_);

    if (std::abs(score) > kGameOverThreshold) {
        // The winner stays the player to move, so the next new game goes to the loser.
        Attempt([&] { AnnounceWin(score); });
        Attempt([&] { view_.SetColumnButtonsEnabled(false); });
        return;
    }
    // The last free cell filled without a four: a draw. Like the winner, the player who dropped
    // the last disc stays to move, and no computer searches the full board.
    if (std::popcount(state_.board.OccupiedBits()) == kCells) {
        Attempt([&] { view_.ShowMessage("Das Spiel endet unentschieden."); });
        Attempt([&] { view_.SetColumnButtonsEnabled(false); });
        return;
    }

    Attempt([&] { state_.currentPlayer = OtherPlayer(state_.currentPlayer, view_); });
    Attempt([&] { view_.SetWindowEnabled(false); });
    Attempt([&] {
        if (view_.IsComputer(state_.currentPlayer)) {
            PlayComputerMove();
        }
    });
    Attempt([&] { view_.SetWindowEnabled(true); });
}

void TurnController::PlayComputerMove() {
    view_.SetWindowEnabled(false);
    view_.PumpEvents();
    const std::int16_t column =
        ChooseMove(state_.board, view_, state_.searchDepth, state_.currentPlayer);
    // A full board: nothing to play until a new game is started.
    if (column == kNoMove) {
        return;
    }
    PlayColumn(column);
}

void TurnController::AnnounceWin(int score) {
    const Player winner = score > 0 ? kYellow : kRed;
    const Player loser = score > 0 ? kRed : kYellow;
    // Built in two statements so the winner's check mark is read before the loser's.
    std::string text = "Der Spieler " + ColourName(winner, view_);
    text += " hat gegen den Spieler " + ColourName(loser, view_) + " gewonnen.";
    view_.ShowMessage(text);
}

}  // namespace marlovin
