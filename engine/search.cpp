#include "engine/search.h"

#include <cstdlib>

#include "engine/evaluate.h"
#include "game/gameview.h"

namespace marlovin {

SearchResult Search(Board& board, GameView& view, int depth, Player player, bool isRoot) {
    if (isRoot) {
        view.ResetCounters();
    }
    SearchResult result;
    for (int column = 0; column < kColumns; ++column) {
        if (DropPiece(board, column, player)) {
            const std::int32_t e = Evaluate(board, view);
            if (std::abs(e) > kWinThreshold) {
                result.value = depth;
                result.candidates = std::string(1, static_cast<char>('0' + column));
                TakeBack(board, column);
                view.IncrementCounter(Counter::CutOffs);
                view.PumpEvents();
                return result;
            }
            TakeBack(board, column);
        }
    }
    for (int column = 0; column < kColumns; ++column) {
        if (DropPiece(board, column, player)) {
            view.IncrementCounter(Counter::SearchedMoves);
            view.PumpEvents();
            if (depth <= 0) {
                TakeBack(board, column);
                result.value = 0;
                return result;
            }
            const Player opponent = OtherPlayer(player, view);
            const int v = -Search(board, view, depth - 1, opponent, false).value;
            const char digit = static_cast<char>('0' + column);
            if (v > result.value) {
                result.value = v;
                result.candidates = std::string(1, digit);
            } else if (v == result.value) {
                result.candidates += digit;
            }
            TakeBack(board, column);
        }
    }
    return result;
}

std::int16_t ChooseMove(Board& board, GameView& view, int depth, Player player) {
    std::int32_t best = 0;
    std::int16_t chosen = kNoMove;
    const std::int32_t base = Evaluate(board, view);
    const SearchResult result = Search(board, view, depth, player, true);
    for (const char digit : result.candidates) {
        const int column = digit - '0';
        DropPiece(board, column, player);
        const std::int32_t delta = Evaluate(board, view) - base;
        TakeBack(board, column);
        if (player == kYellow ? delta > best : delta < best) {
            chosen = static_cast<std::int16_t>(column);
            best = delta;
        }
    }
    view.ResetHighlights();
    if (chosen == kNoMove && !result.candidates.empty()) {
        chosen = static_cast<std::int16_t>(result.candidates.front() - '0');
    }
    return chosen;
}

}  // namespace marlovin
