#pragma once

#include <array>
#include <string_view>

#include "engine/board.h"

namespace marlovin {

enum class Counter { CutOffs, SearchedMoves };

// Thrown by a view whose window has been asked to end the program while game logic is running.
// It unwinds the logic to the outermost handler; the turn controller's continue-on-error mode
// never swallows it.
struct ExitRequested {};

// Everything the game logic needs from the main window. Each call runs synchronously on the
// window's thread; PumpEvents is the only point where user input may run in between.
class GameView {
  public:
    GameView() = default;
    GameView(const GameView&) = delete;
    GameView& operator=(const GameView&) = delete;
    virtual ~GameView() = default;

    // Paints all 49 cells from the board (0 white, 1 yellow, 2 red, others unchanged), then
    // processes pending events.
    virtual void DrawBoard() = 0;
    // Gives the four cells black borders, in the given order, then processes pending events.
    virtual void HighlightFour(const std::array<Cell, 4>& cells) = 0;
    // Silver borders of width 1 on all 49 cells; no event processing.
    virtual void ResetHighlights() = 0;
    // "Gelb" / "Rot", plus " (CPU)" when IsComputer(player).
    virtual void ShowPlayerToMove(Player player) = 0;
    virtual void SetStatusText(std::string_view text) = 0;
    // Both counters read "0".
    virtual void ResetCounters() = 0;
    virtual void IncrementCounter(Counter counter) = 0;
    // Processes the window events waiting at this moment.
    virtual void PumpEvents() = 0;
    virtual void SetColumnButtonsEnabled(bool enabled) = 0;
    // The whole window, menu bar and shortcuts included, accepts or refuses input.
    virtual void SetWindowEnabled(bool enabled) = 0;
    // Reads the colour's check mark at the moment of the call.
    virtual bool IsComputer(Player player) = 0;
    // Modal message box; returns when the user has closed it.
    virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace marlovin
