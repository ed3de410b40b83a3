#pragma once

#include <functional>

#include "game/gamestate.h"

namespace marlovin {

class GameView;

// Runs games on a GameState through a GameView: plays chosen columns, detects wins, passes the
// turn and starts the computer's moves.
class TurnController {
public:
    TurnController(GameState& state, GameView& view);

    // Status "ready", difficulty index 1 (through selectDifficulty when given, so the window's
    // difficulty command runs; otherwise SetDifficulty), yellow to move. Starts no game.
    void StartUp(const std::function<void(int)>& selectDifficulty = {});
    // index 0..3 -> search depth 2..5.
    void SetDifficulty(int index);
    // A column button's click. Ignored while a turn is being handled.
    void ColumnChosen(int column);
    // Plays one move for the player to move.
    void ComputerMove();
    // Ignored while a turn is being handled.
    void NewGame();

    // True while ColumnChosen, ComputerMove or NewGame is running.
    bool TurnInProgress() const;

    const GameState& State() const { return state_; }

private:
    GameState& state_;
    GameView& view_;
};

}  // namespace marlovin
