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
// Windows of four cells in a line that fit on the grid.
inline constexpr int kWindowCount = 88;

inline constexpr CellCode kEmpty = 0;
inline constexpr Player kYellow = 1;
inline constexpr Player kRed = 2;

struct Cell {
    int column = 0;
    int row = 0;
    friend bool operator==(Cell, Cell) = default;
};

// The one position of the running game: 7 columns by 7 rows, row 0 at the bottom. Cells are
// stored column-fastest (index row * 7 + column). Only DropPiece, TakeBack and ClearBoard change
// it, so the discs of a column always sit in its lowest cells without gaps.
//
// Alongside the cells the board keeps what the search asks for at every node: column heights,
// bitboards of the discs (bit column * 8 + row; bit 7 of every column stays clear), the disc
// counts of the 88 evaluation windows with the evaluation they add up to, and how many windows
// hold a four. Each drop or take-back updates only the windows through its cell.
class Board {
  public:
    CellCode At(int column, int row) const { return cells_[row * kColumns + column]; }
    const std::array<CellCode, kCells>& Cells() const { return cells_; }

    static constexpr int Bit(int column, int row) { return column * 8 + row; }
    std::uint64_t YellowBits() const { return yellow_; }
    std::uint64_t RedBits() const { return red_; }
    // Cells holding any disc, of a colour or not.
    std::uint64_t OccupiedBits() const { return occupied_; }
    // The evaluation of the position (what Evaluate returns, without highlighting).
    std::int32_t Score() const { return score_; }
    // Windows holding four discs of one colour.
    int Fours() const { return fours_; }
    // Yellow discs + 5 * red discs in the window.
    int WindowState(int window) const { return windows_[window]; }

    // The other members follow from the cells.
    friend bool operator==(const Board& a, const Board& b) { return a.cells_ == b.cells_; }

  private:
    friend std::int16_t ColumnHeight(const Board&, int);
    friend bool DropPiece(Board&, int, CellCode);
    friend bool TakeBack(Board&, int);
    friend void ClearBoard(Board&);

    void AddToWindows(int cell, int step);
    void RemoveFromWindows(int cell, int step);

    std::array<CellCode, kCells> cells_{};
    std::array<std::uint8_t, kColumns> heights_{};
    std::uint64_t yellow_ = 0;
    std::uint64_t red_ = 0;
    std::uint64_t occupied_ = 0;
    std::int32_t score_ = 0;
    int fours_ = 0;
    std::array<std::uint8_t, kWindowCount> windows_{};
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
