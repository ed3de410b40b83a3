#pragma once

#include <cstdint>
#include <string>

#include "engine/board.h"

namespace marlovin {

class GameView;

inline constexpr std::int16_t kNoMove = -1;

struct SearchResult {
    int value = -100;
    std::string candidates;  // digits of the columns that reached value, in column order
};

// Depth-limited search for forced wins. Plays and takes back discs on the board and leaves it
// as it found it.
SearchResult Search(Board& board, GameView& view, int depth, Player player, bool isRoot);
// The column the computer plays for player, or kNoMove when no column accepts a disc.
std::int16_t ChooseMove(Board& board, GameView& view, int depth, Player player);

}  // namespace marlovin
