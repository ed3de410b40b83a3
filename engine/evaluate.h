#pragma once

#include <cstdint>

#include "engine/board.h"

namespace marlovin {

class GameView;

// A four that the search or the turn controller treats as a finished line.
inline constexpr std::int32_t kWinThreshold = 700000;       // the search's immediate win
inline constexpr std::int32_t kGameOverThreshold = 700500;  // the turn controller's win

// Signed disc count of the window (c0, r0) + i * (dc, dr), i = 0..3: +yellow, -red, 0 when
// empty, mixed or running off the board. A complete four is highlighted through the view.
std::int16_t CountLine(const Board& board, GameView& view, int c0, int r0, int dc, int dr);
// sign(n) * 10^(2(|n| - 1)) of the window's count n, 0 for n = 0.
std::int32_t LineScore(const Board& board, GameView& view, int c0, int r0, int dc, int dr);
// Sum of the 88 window scores; positive favours yellow.
std::int32_t Evaluate(const Board& board, GameView& view);

}  // namespace marlovin
