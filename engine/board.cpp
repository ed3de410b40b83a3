#include "engine/board.h"

#include "game/gameview.h"

namespace marlovin {

namespace {

bool ValidColumn(int column) {
    return column >= 0 && column < kColumns;
}

}  // namespace

std::int16_t ColumnHeight(const Board& board, int column) {
    if (!ValidColumn(column)) {
        return 0;
    }
    for (int row = kRows - 1; row >= 0; --row) {
        if (board.At(column, row) != kEmpty) {
            return static_cast<std::int16_t>(row + 1);
        }
    }
    return 0;
}

bool DropPiece(Board& board, int column, CellCode code) {
    if (!ValidColumn(column)) {
        return false;
    }
    const int height = ColumnHeight(board, column);
    if (height > kRows - 1) {
        return false;
    }
    board.cells_[height * kColumns + column] = code;
    return true;
}

bool TakeBack(Board& board, int column) {
    if (!ValidColumn(column)) {
        return false;
    }
    const int top = ColumnHeight(board, column) - 1;
    if (top < 0) {
        return false;
    }
    board.cells_[top * kColumns + column] = kEmpty;
    return true;
}

void ClearBoard(Board& board) {
    board.cells_.fill(kEmpty);
}

Player OtherPlayer(Player player, GameView& view) {
    const Player next = player == kYellow ? kRed : kYellow;
    view.ShowPlayerToMove(next);
    return next;
}

}  // namespace marlovin
