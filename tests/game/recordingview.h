#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/board.h"
#include "game/gameview.h"

namespace marlovin::test {

enum class Op {
    DrawBoard,
    HighlightFour,
    ResetHighlights,
    ShowPlayerToMove,
    SetStatusText,
    ResetCounters,
    IncrementCounter,
    PumpEvents,
    SetColumnButtonsEnabled,
    SetWindowEnabled,
    IsComputer,
    ShowMessage,
};

struct Call {
    Op op;
    int arg = 0;  // player, flag, counter or first cell's index; 0 where there is none
    friend bool operator==(const Call&, const Call&) = default;
};

// A GameView without a window that records every call in order and keeps the state a window
// would show. Tests script it through the check marks, the onCall hook (runs before each call
// takes effect; may throw to fail that call) and the onPump hook (runs wherever the window would
// process pending events: PumpEvents and the ends of DrawBoard and HighlightFour; may inject a
// click, a menu command or an exception).
class RecordingView : public GameView {
  public:
    // board is what DrawBoard snapshots; may be null.
    explicit RecordingView(const Board* board = nullptr) : board_(board) {}

    void DrawBoard() override;
    void HighlightFour(const std::array<Cell, 4>& cells) override;
    void ResetHighlights() override;
    void ShowPlayerToMove(Player player) override;
    void SetStatusText(std::string_view text) override;
    void ResetCounters() override;
    void IncrementCounter(Counter counter) override;
    void PumpEvents() override;
    void SetColumnButtonsEnabled(bool enabled) override;
    void SetWindowEnabled(bool enabled) override;
    bool IsComputer(Player player) override;
    void ShowMessage(std::string_view text) override;

    // The calls of the given kinds, in order.
    std::vector<Call> Only(std::initializer_list<Op> ops) const;
    int Count(Op op) const;

    // Check marks: computer[1] yellow (checked by default), computer[2] red.
    bool computer[3] = {false, true, false};
    std::function<void(Op)> onCall;
    std::function<void(Op source)> onPump;

    std::vector<Call> calls;
    std::vector<std::string> messages;
    std::vector<Board> drawn;
    std::string status;
    int searchedMoves = 0;
    int cutOffs = 0;
    int highlighted = 0;  // cells with a black border
    bool windowEnabled = true;
    bool buttonsEnabled = false;

  private:
    void Record(Op op, int arg = 0);
    void Pump(Op source);

    const Board* board_;
};

}  // namespace marlovin::test
