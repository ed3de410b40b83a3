#include "bench/reference/reference.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/evaluate.h"
#include "engine/gameview.h"

namespace marlovin::reference {

std::int16_t ColumnHeight(const Board& board, int column) {
    if (column < 0 || column > 6) {
        return 0;
    }
    for (int row = 6; row >= 0; --row) {
        if (board.At(column, row) != 0) {
            return static_cast<std::int16_t>(row + 1);
        }
    }
    return 0;
}

bool DropPiece(Board& board, int column, CellCode code) {
    if (column < 0 || column > 6) {
        return false;
    }
    const int h = ColumnHeight(board, column);
    if (h > 6) {
        return false;
    }
    board.At(column, h) = code;
    return true;
}

bool TakeBack(Board& board, int column) {
    if (column < 0 || column > 6) {
        return false;
    }
    const int h = ColumnHeight(board, column) - 1;
    if (h < 0) {
        return false;
    }
    board.At(column, h) = 0;
    return true;
}

void ClearBoard(Board& board) {
    for (int column = 0; column <= 6; ++column) {
        for (int row = 0; row <= 6; ++row) {
            board.At(column, row) = 0;
        }
    }
}

Player OtherPlayer(Player player, GameView& view) {
    Player result = 1;
    if (player == 1) {
        result = 2;
    }
    view.ShowPlayerToMove(result);
    return result;
}

std::int16_t CountLine(const Board& board, GameView& view, int c0, int r0, int dc, int dr) {
    const int c3 = c0 + 3 * dc;
    const int r3 = r0 + 3 * dr;
    if (c3 < 0 || c3 > 6 || r3 < 0 || r3 > 6) {
        return 0;
    }
    int yellowCount = 0;
    int redCount = 0;
    for (int i = 0; i < 4; ++i) {
        const CellCode code = board.At(c0 + i * dc, r0 + i * dr);
        if (code == 1) {
            ++yellowCount;
        }
        if (code == 2) {
            ++redCount;
        }
    }
    std::int16_t result = 0;
    if (yellowCount > 0) {
        result = static_cast<std::int16_t>(yellowCount);
    }
    if (redCount > 0) {
        result = static_cast<std::int16_t>(-redCount);
    }
    if (yellowCount > 0 && redCount > 0) {
        result = 0;
    }
    if (yellowCount == 4 || redCount == 4) {
        view.HighlightFour({Cell{c0, r0}, Cell{c0 + dc, r0 + dr}, Cell{c0 + 2 * dc, r0 + 2 * dr},
                            Cell{c0 + 3 * dc, r0 + 3 * dr}});
    }
    return result;
}

std::int32_t LineScore(const Board& board, GameView& view, int c0, int r0, int dc, int dr) {
    const int n = CountLine(board, view, c0, r0, dc, dr);
    if (n == 0) {
        return 0;
    }
    const double sign = n > 0 ? 1.0 : -1.0;
    return static_cast<std::int32_t>(std::lround(sign * std::pow(10.0, 2.0 * (std::abs(n) - 1))));
}

std::int32_t Evaluate(const Board& board, GameView& view) {
    double sum = 0;
    for (int r = 0; r <= 6; ++r) {
        for (int c = 0; c <= 3; ++c) {
            sum += LineScore(board, view, c, r, 1, 0);
            sum += LineScore(board, view, r, c, 0, 1);
        }
    }
    for (int a = 0; a <= 3; ++a) {
        for (int b = 0; b <= 3; ++b) {
            sum += LineScore(board, view, a, b, 1, 1);
            sum += LineScore(board, view, a, b + 3, 1, -1);
        }
    }
    return static_cast<std::int32_t>(std::lround(sum));
}

SearchResult Search(Board& board, GameView& view, int depth, Player player, bool isRoot) {
    if (isRoot) {
        view.ResetCounters();
    }
    int best = -100;
    std::string candidates;
    for (int column = 0; column <= 6; ++column) {
        if (DropPiece(board, column, player)) {
            const std::int32_t e = Evaluate(board, view);
            if (std::abs(e) > 700000) {
                best = depth;
                candidates = std::to_string(column);
                TakeBack(board, column);
                view.IncrementCounter(Counter::CutOffs);
                view.PumpEvents();
                return {best, candidates};
            }
            TakeBack(board, column);
        }
    }
    for (int column = 0; column <= 6; ++column) {
        if (DropPiece(board, column, player)) {
            view.IncrementCounter(Counter::SearchedMoves);
            view.PumpEvents();
            if (depth <= 0) {
                TakeBack(board, column);
                return {0, candidates};
            }
            const Player opponent = reference::OtherPlayer(player, view);
            const int v = -Search(board, view, depth - 1, opponent, false).value;
            if (v > best) {
                best = v;
                candidates = std::to_string(column);
            } else if (v == best) {
                candidates += std::to_string(column);
            }
            TakeBack(board, column);
        }
    }
    return {best, candidates};
}

std::int16_t ChooseMove(Board& board, GameView& view, int depth, Player player) {
    std::int32_t best = 0;
    int chosen = -1;
    const std::int32_t base = Evaluate(board, view);
    const SearchResult result = Search(board, view, depth, player, true);
    for (const char digit : result.candidates) {
        const int d = digit - '0';
        DropPiece(board, d, player);
        const std::int32_t after = Evaluate(board, view);
        TakeBack(board, d);
        const std::int32_t delta = after - base;
        if (player == 1) {
            if (delta > best) {
                chosen = d;
                best = delta;
            }
        } else {
            if (delta < best) {
                chosen = d;
                best = delta;
            }
        }
    }
    view.ResetHighlights();
    // No gain anywhere: the first candidate; a full board has none.
    if (chosen == -1 && !result.candidates.empty()) {
        chosen = result.candidates[0] - '0';
    }
    return static_cast<std::int16_t>(chosen);
}

}  // namespace marlovin::reference
