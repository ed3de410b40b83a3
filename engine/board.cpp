#include "engine/board.h"

#include "engine/gameview.h"
#include "engine/windows.h"

namespace marlovin {

namespace {

// Score of a window by its state yellow + 5 * red.
constexpr std::array<std::int32_t, 25> kWindowScore = [] {
    std::array<std::int32_t, 25> scores{};
    for (int yellow = 0; yellow <= 4; ++yellow) {
        for (int red = 0; yellow + red <= 4; ++red) {
            const int state = yellow * kYellowStep + red * kRedStep;
            if (red == 0) {
                scores[state] = kScoreByCount[yellow];
            } else if (yellow == 0) {
                scores[state] = -kScoreByCount[red];
            }
        }
    }
    return scores;
}();

bool ValidColumn(int column) {
    return column >= 0 && column < kColumns;
}

int StepOf(CellCode code) {
    return code == kYellow ? kYellowStep : code == kRed ? kRedStep : 0;
}

}  // namespace

void Board::AddToWindows(int cell, int step) {
    const CellWindows& through = kCellWindows[cell];
    for (int i = 0; i < through.count; ++i) {
        std::uint8_t& state = windows_[through.windows[i]];
        const int next = state + step;
        score_ += kWindowScore[next] - kWindowScore[state];
        fours_ += next == kYellowFour || next == kRedFour;
        state = static_cast<std::uint8_t>(next);
    }
}

void Board::RemoveFromWindows(int cell, int step) {
    const CellWindows& through = kCellWindows[cell];
    for (int i = 0; i < through.count; ++i) {
        std::uint8_t& state = windows_[through.windows[i]];
        const int next = state - step;
        score_ += kWindowScore[next] - kWindowScore[state];
        fours_ -= state == kYellowFour || state == kRedFour;
        state = static_cast<std::uint8_t>(next);
    }
}

std::int16_t ColumnHeight(const Board& board, int column) {
    return static_cast<std::int16_t>(ValidColumn(column) ? board.heights_[column] : 0);
}

bool DropPiece(Board& board, int column, CellCode code) {
    if (!ValidColumn(column)) {
        return false;
    }
    const int height = board.heights_[column];
    if (height >= kRows) {
        return false;
    }
    // Code 0 "lands" on the free cell and leaves it empty.
    if (code == kEmpty) {
        return true;
    }
    const int cell = height * kColumns + column;
    const std::uint64_t bit = std::uint64_t{1} << Board::Bit(column, height);
    board.cells_[cell] = code;
    board.heights_[column] = static_cast<std::uint8_t>(height + 1);
    board.occupied_ |= bit;
    if (const int step = StepOf(code)) {
        (code == kYellow ? board.yellow_ : board.red_) |= bit;
        board.AddToWindows(cell, step);
    }
    return true;
}

bool TakeBack(Board& board, int column) {
    if (!ValidColumn(column)) {
        return false;
    }
    const int top = board.heights_[column] - 1;
    if (top < 0) {
        return false;
    }
    const int cell = top * kColumns + column;
    const std::uint64_t bit = std::uint64_t{1} << Board::Bit(column, top);
    const CellCode code = board.cells_[cell];
    board.cells_[cell] = kEmpty;
    board.heights_[column] = static_cast<std::uint8_t>(top);
    board.occupied_ &= ~bit;
    if (const int step = StepOf(code)) {
        (code == kYellow ? board.yellow_ : board.red_) &= ~bit;
        board.RemoveFromWindows(cell, step);
    }
    return true;
}

void ClearBoard(Board& board) {
    board = Board{};
}

Player OtherPlayer(Player player, GameView& view) {
    const Player next = player == kYellow ? kRed : kYellow;
    view.ShowPlayerToMove(next);
    return next;
}

}  // namespace marlovin
