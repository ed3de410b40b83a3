#pragma once

#include <array>
#include <cstdint>

#include "engine/board.h"
#include "engine/search.h"

namespace marlovin::reference {

// A word-for-word transcription of the engine's rules, kept slow and obvious on purpose: the
// fast engine in engine/ must agree with it on every value and every call made to the view.
struct Board {
    std::array<CellCode, kCells> cells{};

    CellCode& At(int column, int row) { return cells[row * kColumns + column]; }
    CellCode At(int column, int row) const { return cells[row * kColumns + column]; }
};

std::int16_t ColumnHeight(const Board& board, int column);
bool DropPiece(Board& board, int column, CellCode code);
bool TakeBack(Board& board, int column);
void ClearBoard(Board& board);
Player OtherPlayer(Player player, GameView& view);

std::int16_t CountLine(const Board& board, GameView& view, int c0, int r0, int dc, int dr);
std::int32_t LineScore(const Board& board, GameView& view, int c0, int r0, int dc, int dr);
std::int32_t Evaluate(const Board& board, GameView& view);

SearchResult Search(Board& board, GameView& view, int depth, Player player, bool isRoot);
std::int16_t ChooseMove(Board& board, GameView& view, int depth, Player player);

}  // namespace marlovin::reference
