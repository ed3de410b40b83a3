#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/gameview.h"

namespace marlovin::testing {

// One call to the view: a letter for the operation (D DrawBoard, H HighlightFour, h
// ResetHighlights, P ShowPlayerToMove, S SetStatusText, R ResetCounters, I IncrementCounter,
// E PumpEvents, B SetColumnButtonsEnabled, W SetWindowEnabled, C IsComputer, M ShowMessage), its
// argument, text or cells, and room for a test to note the board it saw at that moment.
struct Call {
    char op = 0;
    int arg = 0;
    std::string text;
    std::array<Cell, 4> cells{};
    std::array<CellCode, kCells> board{};
    friend bool operator==(const Call&, const Call&) = default;
};

// A GameView without a window that records every call. onCall runs on each call before it takes
// effect: it may note the board, throw to fail the call, or inject input where a window would
// process events.
class RecordingView : public GameView {
  public:
    void DrawBoard() override { Record('D'); }
    void HighlightFour(const std::array<Cell, 4>& cells) override { Record('H', 0, {}, cells); }
    void ResetHighlights() override { Record('h'); }
    void ShowPlayerToMove(Player player) override { Record('P', player); }
    void SetStatusText(std::string_view text) override { Record('S', 0, text); }
    void ResetCounters() override { Record('R'), counters = {0, 0}; }
    void IncrementCounter(Counter c) override { Record('I', int(c)), ++counters[int(c)]; }
    void PumpEvents() override { Record('E'); }
    void SetColumnButtonsEnabled(bool on) override { Record('B', on); }
    void SetWindowEnabled(bool on) override { Record('W', on); }
    bool IsComputer(Player p) override { return Record('C', p), (p == 1 || p == 2) && computer[p]; }
    void ShowMessage(std::string_view text) override { Record('M', 0, text); }

    // The calls whose letters are in ops, as letter, argument and text: "W0 P2 M0Das Spiel".
    std::string Trace(std::string_view ops) const {
        std::string trace;
        for (const Call& c : calls)
            if (ops.find(c.op) < ops.size())
                trace += std::string(!trace.empty(), ' ') + c.op + char('0' + c.arg) + c.text;
        return trace;
    }

    std::vector<Call> calls;
    std::array<bool, 3> computer = {false, true, false};  // check marks; yellow by default
    std::function<void(Call&)> onCall = [](Call&) {};
    std::array<int, 2> counters{};  // cut-offs, searched moves

    void Record(char op, int arg = 0, std::string_view text = {}, std::array<Cell, 4> cells = {}) {
        calls.push_back({op, arg, std::string(text), cells, {}});
        onCall(calls.back());
    }
};

}  // namespace marlovin::testing
