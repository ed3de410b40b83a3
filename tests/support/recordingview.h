#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/board.h"
#include "game/gameview.h"

namespace marlovin::testing {

enum class ViewOp {
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

// One call made to the view, with its arguments and, when the view watches a board, the cells
// that board held at that moment.
struct ViewCall {
    ViewOp op = ViewOp::DrawBoard;
    int number = 0;  // player, counter (0 cut-offs, 1 searched moves) or flag
    std::array<Cell, 4> cells{};
    std::string text;
    std::array<CellCode, kCells> board{};

    friend bool operator==(const ViewCall&, const ViewCall&) = default;
};

inline void PrintTo(const ViewCall& call, std::ostream* out) {
    static constexpr std::array<const char*, 12> kNames = {
        "DrawBoard",        "HighlightFour", "ResetHighlights",
        "ShowPlayerToMove", "SetStatusText", "ResetCounters",
        "IncrementCounter", "PumpEvents",    "SetColumnButtonsEnabled",
        "SetWindowEnabled", "IsComputer",    "ShowMessage"};
    *out << kNames[static_cast<int>(call.op)] << '(' << call.number;
    if (call.op == ViewOp::HighlightFour) {
        for (const Cell& c : call.cells) {
            *out << " (" << c.column << ',' << c.row << ')';
        }
    }
    *out << ' ' << call.text << ')';
}

// A GameView that records every call in order and keeps the two search counters the way the
// window shows them. IsComputer answers from `computer`.
class RecordingView : public GameView {
  public:
    RecordingView() = default;
    // Every recorded call also keeps a copy of these cells.
    explicit RecordingView(const std::array<CellCode, kCells>* watched) : watched_(watched) {}

    std::vector<ViewCall> calls;
    std::array<bool, 3> computer{};
    int cutOffs = 0;
    int searchedMoves = 0;

    void DrawBoard() override { Record(ViewOp::DrawBoard); }
    void HighlightFour(const std::array<Cell, 4>& cells) override {
        Record(ViewOp::HighlightFour).cells = cells;
    }
    void ResetHighlights() override { Record(ViewOp::ResetHighlights); }
    void ShowPlayerToMove(Player player) override { Record(ViewOp::ShowPlayerToMove, player); }
    void SetStatusText(std::string_view text) override {
        Record(ViewOp::SetStatusText).text = std::string(text);
    }
    void ResetCounters() override {
        Record(ViewOp::ResetCounters);
        cutOffs = searchedMoves = 0;
    }
    void IncrementCounter(Counter counter) override {
        Record(ViewOp::IncrementCounter, counter == Counter::CutOffs ? 0 : 1);
        ++(counter == Counter::CutOffs ? cutOffs : searchedMoves);
    }
    void PumpEvents() override { Record(ViewOp::PumpEvents); }
    void SetColumnButtonsEnabled(bool enabled) override {
        Record(ViewOp::SetColumnButtonsEnabled, enabled);
    }
    void SetWindowEnabled(bool enabled) override { Record(ViewOp::SetWindowEnabled, enabled); }
    bool IsComputer(Player player) override {
        Record(ViewOp::IsComputer, player);
        return player >= 1 && player <= 2 && computer[player];
    }
    void ShowMessage(std::string_view text) override {
        Record(ViewOp::ShowMessage).text = std::string(text);
    }

    std::vector<ViewCall> CallsOf(ViewOp op) const {
        std::vector<ViewCall> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [op](const ViewCall& call) { return call.op == op; });
        return found;
    }

  private:
    ViewCall& Record(ViewOp op, int number = 0) {
        ViewCall& call = calls.emplace_back();
        call.op = op;
        call.number = number;
        if (watched_ != nullptr) {
            call.board = *watched_;
        }
        return call;
    }

    const std::array<CellCode, kCells>* watched_ = nullptr;
};

}  // namespace marlovin::testing
