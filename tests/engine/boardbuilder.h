#pragma once

#include <initializer_list>
#include <utility>

#include "engine/board.h"

namespace marlovin::testing {

// Drops the given (column, code) discs in order; tests describe positions this way because the
// board can only change through DropPiece.
inline Board BoardFromDrops(std::initializer_list<std::pair<int, CellCode>> drops) {
    Board board;
    for (const auto& [column, code] : drops) {
        DropPiece(board, column, code);
    }
    return board;
}

}  // namespace marlovin::testing
