#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/gameview.h"

namespace marlovin::testing {

// A GameView without a window that records every call by its name and arguments, as
// "SetColumnButtonsEnabled(false)" or "HighlightFour(0 0, 1 0, 2 0, 3 0)". onCall runs on each
// call before it takes effect: it may note the board, throw to fail the call, or inject input
// where a window would process events.
class RecordingView : public GameView {
  public:
    void DrawBoard() override { Record("DrawBoard", ""); }
    void HighlightFour(const std::array<Cell, 4>& cells) override {
        std::string four;
        for (const Cell& cell : cells) {
            if (!four.empty())
                four += ", ";
            four += std::to_string(cell.column) + " " + std::to_string(cell.row);
        }
        Record("HighlightFour", four);
    }
    void ResetHighlights() override { Record("ResetHighlights", ""); }
    void ShowPlayerToMove(Player player) override { Record("ShowPlayerToMove", player); }
    void SetStatusText(std::string_view text) override { Record("SetStatusText", text); }
    void ResetCounters() override { Record("ResetCounters", ""); }
    void IncrementCounter(Counter counter) override {
        Record("IncrementCounter", counter == Counter::CutOffs ? "CutOffs" : "SearchedMoves");
    }
    void PumpEvents() override { Record("PumpEvents", ""); }
    void SetColumnButtonsEnabled(bool enabled) override {
        Record("SetColumnButtonsEnabled", enabled ? "true" : "false");
    }
    void SetWindowEnabled(bool enabled) override {
        Record("SetWindowEnabled", enabled ? "true" : "false");
    }
    bool IsComputer(Player player) override {
        Record("IsComputer", player);
        return (player == kYellow || player == kRed) && computer[player];
    }
    void ShowMessage(std::string_view text) override { Record("ShowMessage", text); }

    // The recorded calls of the operations named, in the order they were made.
    std::vector<std::string> CallsOf(std::initializer_list<std::string_view> operations) const {
        std::vector<std::string> found;
        for (const std::string& call : calls) {
            const std::string_view operation = std::string_view(call).substr(0, call.find('('));
            if (std::ranges::count(operations, operation) > 0)
                found.push_back(call);
        }
        return found;
    }

    std::vector<std::string> calls;
    // The check marks "&Gelb" (index 1) and "&Rot" (index 2); yellow by default.
    std::array<bool, 3> computer = {false, true, false};
    std::function<void(const std::string& call)> onCall = [](const std::string&) {};

  private:
    void Record(const char* operation, int argument) {
        Record(operation, std::to_string(argument));
    }
    void Record(const char* operation, std::string_view arguments) {
        const std::string call = std::string(operation) + "(" + std::string(arguments) + ")";
        calls.push_back(call);
        onCall(call);
    }
};

}  // namespace marlovin::testing
