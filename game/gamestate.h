#pragma once

#include <cstdint>

#include "engine/board.h"

namespace marlovin {

// The running game: the position, the player to move and the computer's search depth. Which
// colours the computer plays is not held here; it is read from the view when needed.
struct GameState {
    Board board;
    Player currentPlayer = kYellow;
    std::int16_t searchDepth = 3;
};

}  // namespace marlovin
