#include "engine/search.h"

#include <bit>
#include <cstdlib>

#include "engine/evaluate.h"
#include "engine/gameview.h"
#include "engine/windows.h"

namespace marlovin {

namespace {

// Bit 0 of every column, and every cell of the grid, in the board's bitboard layout.
constexpr std::uint64_t kBottomRow = 0x01010101010101;
constexpr std::uint64_t kGrid = 0x7F7F7F7F7F7F7F;

// A disc that completes no four changes each window through its cell by at most 10000 (a two
// becoming a three, or the opponent's three becoming mixed). Below this bound such a disc cannot
// lift the evaluation's magnitude past the win threshold.
constexpr std::int32_t kQuietBound = kWinThreshold - kMaxWindowsPerCell * 10000;

// Cells where one more disc of the colour of `discs` completes a four in some direction. Bit 7
// of every column is never set in `discs`, so lines cannot wrap from one column into the next.
std::uint64_t CompletingCells(std::uint64_t discs) {
    std::uint64_t cells = (discs << 1) & (discs << 2) & (discs << 3);
    for (const int step : {8, 9, 7}) {
        std::uint64_t pair = (discs << step) & (discs << 2 * step);
        cells |= pair & (discs << 3 * step);
        cells |= pair & (discs >> step);
        pair = (discs >> step) & (discs >> 2 * step);
        cells |= pair & (discs << step);
        cells |= pair & (discs >> 3 * step);
    }
    return cells & kGrid;
}

std::string Digits(unsigned columns) {
    std::string digits;
    for (; columns != 0; columns &= columns - 1) {
        digits += static_cast<char>('0' + std::countr_zero(columns));
    }
    return digits;
}

// Takes a dropped disc back when it goes out of scope, so the board is restored also when the
// view throws (ExitRequested) in the middle of a search.
class DroppedDisc {
  public:
    DroppedDisc(Board& board, int column) : board_(board), column_(column) {}
    DroppedDisc(const DroppedDisc&) = delete;
    DroppedDisc& operator=(const DroppedDisc&) = delete;
    ~DroppedDisc() { TakeBack(board_, column_); }

  private:
    Board& board_;
    int column_;
};

struct NodeResult {
    int value;
    unsigned candidates;  // bit per column
};

// The recursive search on the shared board. Pass 1 only plays (and evaluates) the drops that
// could pass the win threshold or show a highlight; every other drop of pass 1 is known to do
// neither, so skipping it changes nothing the caller or the view can see.
class Searcher {
  public:
    Searcher(Board& board, GameView& view) : board_(board), view_(view) {}

    NodeResult Run(int depth, Player player) {
        if (const int column = FirstWinningColumn(player); column >= 0) {
            view_.IncrementCounter(Counter::CutOffs);
            view_.PumpEvents();
            return {depth, 1u << column};
        }
        NodeResult result{-100, 0};
        for (int column = 0; column < kColumns; ++column) {
            if (!DropPiece(board_, column, player)) {
                continue;
            }
            const DroppedDisc dropped(board_, column);
            view_.IncrementCounter(Counter::SearchedMoves);
            view_.PumpEvents();
            if (depth <= 0) {
                return {0, 0};
            }
            const Player opponent = OtherPlayer(player, view_);
            const int value = -Run(depth - 1, opponent).value;
            if (value > result.value) {
                result = {value, 1u << column};
            } else if (value == result.value) {
                result.candidates |= 1u << column;
            }
        }
        return result;
    }

  private:
    int FirstWinningColumn(Player player) {
        const std::uint64_t landing = (board_.OccupiedBits() + kBottomRow) & kGrid;
        std::uint64_t tries = landing;
        if (board_.Fours() == 0 && std::abs(board_.Score()) <= kQuietBound) {
            const std::uint64_t own = player == kYellow ? board_.YellowBits()
                                      : player == kRed  ? board_.RedBits()
                                                        : 0;
            tries &= CompletingCells(own);
        }
        for (; tries != 0; tries &= tries - 1) {
            const int column = std::countr_zero(tries) / 8;
            DropPiece(board_, column, player);
            const std::int32_t e = [&] {
                const DroppedDisc dropped(board_, column);
                return Evaluate(board_, view_);
            }();
            if (std::abs(e) > kWinThreshold) {
                return column;
            }
        }
        return -1;
    }

    Board& board_;
    GameView& view_;
};

}  // namespace

SearchResult Search(Board& board, GameView& view, int depth, Player player, bool isRoot) {
    if (isRoot) {
        view.ResetCounters();
    }
    // Code 0 puts no disc down, so every take-back would remove a disc that was already there.
    if (player == kEmpty) {
        return {};
    }
    const NodeResult result = Searcher(board, view).Run(depth, player);
    return {result.value, Digits(result.candidates)};
}

std::int16_t ChooseMove(Board& board, GameView& view, int depth, Player player) {
    std::int32_t best = 0;
    std::int16_t chosen = kNoMove;
    const std::int32_t base = Evaluate(board, view);
    const SearchResult result = Search(board, view, depth, player, true);
    for (const char digit : result.candidates) {
        const int column = digit - '0';
        if (!DropPiece(board, column, player)) {
            continue;
        }
        const std::int32_t delta = [&] {
            const DroppedDisc dropped(board, column);
            return Evaluate(board, view) - base;
        }();
        if (player == kYellow ? delta > best : delta < best) {
            chosen = static_cast<std::int16_t>(column);
            best = delta;
        }
    }
    view.ResetHighlights();
    // Every candidate gains nothing: still play one rather than leave the turn hanging.
    if (chosen == kNoMove && !result.candidates.empty()) {
        chosen = static_cast<std::int16_t>(result.candidates.front() - '0');
    }
    return chosen;
}

}  // namespace marlovin
