#include "recordingview.h"

#include <algorithm>

namespace marlovin::test {

void RecordingView::Record(Op op, int arg) {
    calls.push_back({op, arg});
    if (onCall) {
        onCall(op);
    }
}

void RecordingView::Pump(Op source) {
    if (onPump) {
        onPump(source);
    }
}

void RecordingView::DrawBoard() {
    Record(Op::DrawBoard);
    if (board_ != nullptr) {
        drawn.push_back(*board_);
    }
    Pump(Op::DrawBoard);
}

void RecordingView::HighlightFour(const std::array<Cell, 4>& cells) {
    Record(Op::HighlightFour, cells[0].row * kColumns + cells[0].column);
    highlighted += 4;
    Pump(Op::HighlightFour);
}

void RecordingView::ResetHighlights() {
    Record(Op::ResetHighlights);
    highlighted = 0;
}

void RecordingView::ShowPlayerToMove(Player player) {
    Record(Op::ShowPlayerToMove, player);
    status = player == kYellow ? "Gelb" : "Rot";
    if (computer[player == kYellow ? 1 : 2]) {
        status += " (CPU)";
    }
}

void RecordingView::SetStatusText(std::string_view text) {
    Record(Op::SetStatusText);
    status = text;
}

void RecordingView::ResetCounters() {
    Record(Op::ResetCounters);
    searchedMoves = 0;
    cutOffs = 0;
}

void RecordingView::IncrementCounter(Counter counter) {
    Record(Op::IncrementCounter, static_cast<int>(counter));
    ++(counter == Counter::SearchedMoves ? searchedMoves : cutOffs);
}

void RecordingView::PumpEvents() {
    Record(Op::PumpEvents);
    Pump(Op::PumpEvents);
}

void RecordingView::SetColumnButtonsEnabled(bool enabled) {
    Record(Op::SetColumnButtonsEnabled, enabled);
    buttonsEnabled = enabled;
}

void RecordingView::SetWindowEnabled(bool enabled) {
    Record(Op::SetWindowEnabled, enabled);
    windowEnabled = enabled;
}

bool RecordingView::IsComputer(Player player) {
    Record(Op::IsComputer, player);
    return player == kYellow || player == kRed ? computer[player] : false;
}

void RecordingView::ShowMessage(std::string_view text) {
    Record(Op::ShowMessage);
    messages.emplace_back(text);
}

std::vector<Call> RecordingView::Only(std::initializer_list<Op> ops) const {
    std::vector<Call> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result), [&](const Call& c) {
        return std::find(ops.begin(), ops.end(), c.op) != ops.end();
    });
    return result;
}

int RecordingView::Count(Op op) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [op](const Call& c) { return c.op == op; }));
}

}  // namespace marlovin::test
