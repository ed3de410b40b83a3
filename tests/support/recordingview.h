#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "engine/board.h"
#include "engine/gameview.h"

namespace marlovin::testing {

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
    ShowMessage
};

// One call to the view: its argument (player, flag, or 0 cut-offs / 1 searched moves), text or
// cells, and room for a test to note the board it saw at that moment.
struct Call {
    Op op{};
    int arg = 0;
    std::string text;
    std::array<Cell, 4> cells{};
    std::array<CellCode, kCells> board{};
    friend bool operator==(const Call&, const Call&) = default;
};

// A GameView without a window that records every call, for the engine and the turn controller
// alike. Tests script it through the check marks and onCall, which runs on each recorded call
// before it takes effect: it may annotate the call, throw to fail it, or, at DrawBoard,
// HighlightFour and PumpEvents (where a window processes pending events), inject input.
class RecordingView : public GameView {
  public:
    void DrawBoard() override { Record(Op::DrawBoard); }
    void HighlightFour(const std::array<Cell, 4>& cells) override {
        Record(Op::HighlightFour, 0, {}, cells);
    }
    void ResetHighlights() override { Record(Op::ResetHighlights); }
    void ShowPlayerToMove(Player player) override { Record(Op::ShowPlayerToMove, player); }
    void SetStatusText(std::string_view text) override { Record(Op::SetStatusText, 0, text); }
    void ResetCounters() override {
        Record(Op::ResetCounters);
        cutOffs = searchedMoves = 0;
    }
    void IncrementCounter(Counter counter) override {
        Record(Op::IncrementCounter, static_cast<int>(counter));
        ++(counter == Counter::CutOffs ? cutOffs : searchedMoves);
    }
    void PumpEvents() override { Record(Op::PumpEvents); }
    void SetColumnButtonsEnabled(bool on) override { Record(Op::SetColumnButtonsEnabled, on); }
    void SetWindowEnabled(bool on) override { Record(Op::SetWindowEnabled, on); }
    bool IsComputer(Player player) override {
        Record(Op::IsComputer, player);
        return (player == kYellow || player == kRed) && computer[player];
    }
    void ShowMessage(std::string_view text) override { Record(Op::ShowMessage, 0, text); }

    // The calls of the given kinds, in order.
    std::vector<Call> Of(std::initializer_list<Op> ops) const {
        std::vector<Call> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found), [&](const Call& c) {
            return std::find(ops.begin(), ops.end(), c.op) != ops.end();
        });
        return found;
    }

    std::vector<Call> calls;
    std::array<bool, 3> computer = {false, true, false};  // check marks; yellow by default
    std::function<void(Call&)> onCall;
    int cutOffs = 0;
    int searchedMoves = 0;

  private:
    void Record(Op op, int arg = 0, std::string_view text = {}, std::array<Cell, 4> cells = {}) {
        calls.push_back({op, arg, std::string(text), cells, {}});
        if (onCall) {
            onCall(calls.back());
        }
    }
};

}  // namespace marlovin::testing
