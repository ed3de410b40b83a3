#pragma once

#include <functional>

#include "game/gamestate.h"

namespace marlovin {

class GameView;

// Runs games on a GameState through a GameView: plays chosen columns, detects wins, passes the
// turn and starts the computer's moves. Input that arrives through the view's event pumping
// while a turn is being handled must not start a second turn or clear the board under the
// running one, so the public entry points refuse it; the computer's own moves go through the
// same steps without that check.
class TurnController {
  public:
    TurnController(GameState& state, GameView& view);

    // Status "ready", difficulty index 1 (through selectDifficulty when given, so the window's
    // difficulty command runs; otherwise SetDifficulty), yellow to move. Starts no game.
    void StartUp(const std::function<void(int)>& selectDifficulty = {});
    // index 0..3 -> search depth 2..5; other indexes are ignored. Allowed at any time; a search
    // already running keeps its depth.
    void SetDifficulty(int index);
    // A column button's click. Ignored while a turn is being handled.
    void ColumnChosen(int column);
    // Plays one move for the player to move. Ignored while a turn is being handled.
    void ComputerMove();
    // False when ignored because a turn is being handled (the caller then need not repaint).
    bool NewGame();

    // True while ColumnChosen, ComputerMove or NewGame is running.
    bool TurnInProgress() const { return turnInProgress_; }

    const GameState& State() const { return state_; }

  private:
    void PlayColumn(int column);
    void PlayComputerMove();
    void AnnounceWin(int score);

    GameState& state_;
    GameView& view_;
    bool turnInProgress_ = false;
};

}  // namespace marlovin
