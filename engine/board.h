#pragma once

#include <array>
#include <cstdint>

namespace marlovin {

class GameView;

using CellCode = std::int16_t;  // 0 empty, 1 yellow disc, 2 red disc
using Player = std::int16_t;    // 1 yellow, 2 red

inline constexpr int kColumns = 7;
inline constexpr int kRows = 7;
inline constexpr int kCells = kColumns * kRows;

inline constexpr CellCode kEmpty = 0;
inline constexpr Player kYellow = 1;
inline constexpr Player kRed = 2;

struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

// The one position of the running game: 7 columns by 7 rows, row 0 at the bottom. Cells are
// stored column-fastest (index row * 7 + column). Only DropPiece, TakeBack and ClearBoard change
// it, so the discs of a column always sit in its lowest cells without gaps.
class Board {
public:
    CellCode At(int column, int row) const { return cells_[row * kColumns + column]; }
    const std::array<CellCode, kCells>& Cells() const { return cells_; }

    friend bool operator==(const Board& a, const Board& b) { return a.cells_ == b.cells_; }

private:
    friend bool DropPiece(Board&, int, CellCode);
    friend bool TakeBack(Board&, int);
    friend void ClearBoard(Board&);

    std::array<CellCode, kCells> cells_{};
};

// Number of discs in the column, 0 to 7; 0 for a column outside 0..6.
std::int16_t ColumnHeight(const Board& board, int column);
// Puts a disc on the lowest free cell; false (board unchanged) when the column is full or invalid.
bool DropPiece(Board& board, int column, CellCode code);
// Empties the highest occupied cell; false (board unchanged) when the column is empty or invalid.
bool TakeBack(Board& board, int column);
void ClearBoard(Board& board);
// The opponent (2 for 1, 1 for anything else), announced through the view's status line.
Player OtherPlayer(Player player, GameView& view);

}  // namespace marlovin
