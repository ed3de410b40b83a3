#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench/reference/reference.h"
#include "engine/evaluate.h"
#include "engine/search.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::Call;
using testing::RecordingView;

// A suite of random positions from a fixed seed, to be searched at one depth.
struct Suite {
    const char* name;
    unsigned seed;
    int positions, depth, minDiscs, maxDiscs;
    bool fours;
    unsigned neutralPercent;      // chance of a disc of neither colour
    std::vector<Player> players;  // to move, taken in turn
    int minForced;                // searches that must find a win or a loss
};

class Agreement : public ::testing::TestWithParam<Suite> {};

// Discs in random columns, by default none completing a four, as in a game.
void Fill(Board& board, std::mt19937& random, const Suite& suite) {
    const int discs = suite.minDiscs + random() % (suite.maxDiscs - suite.minDiscs + 1);
    for (int tries = 0; tries < 300 && std::popcount(board.OccupiedBits()) < discs; ++tries) {
        const int column = static_cast<int>(random() % kColumns);
        const auto code =
            static_cast<CellCode>(random() % 100 < suite.neutralPercent ? 3 : 1 + random() % 2);
        if (DropPiece(board, column, code) && !suite.fours && board.Fours() > 0) {
            TakeBack(board, column);
        }
    }
}

// Both engines give the same results through the same view calls, made while their boards hold
// the same cells, and leave their boards as they found them.
TEST_P(Agreement, everyScoreChoiceAndViewCallMatchesTheReference) {
    const Suite& suite = GetParam();
    std::mt19937 random(suite.seed);
    int forced = 0;
    for (int i = 0; i < suite.positions && !HasFailure(); ++i) {
        Board fast;
        Fill(fast, random, suite);
        const Board before = fast;
        reference::Board slow{fast.Cells()};
        RecordingView fastView, slowView;
        fastView.onCall = [&](Call& call) { call.board = fast.Cells(); };
        slowView.onCall = [&](Call& call) { call.board = slow.cells; };
        const Player player = suite.players[i % suite.players.size()];
        SCOPED_TRACE(::testing::Message() << "position " << i << " player " << player);
        for (int start = 0; start < kCells; ++start) {
            for (const auto& [dc, dr] : {std::pair{1, 0}, {0, 1}, {1, 1}, {1, -1}, {-1, -1}}) {
                const int c = start % kColumns, r = start / kColumns;
                EXPECT_EQ(LineScore(fast, fastView, c, r, dc, dr),
                          reference::LineScore(slow, slowView, c, r, dc, dr));
            }
        }
        EXPECT_EQ(Evaluate(fast, fastView), reference::Evaluate(slow, slowView));
        const SearchResult found = Search(fast, fastView, suite.depth, player, true);
        const SearchResult expected = reference::Search(slow, slowView, suite.depth, player, true);
        EXPECT_EQ(found.value, expected.value);
        EXPECT_EQ(found.candidates, expected.candidates);
        forced += expected.value != 0;
        EXPECT_EQ(ChooseMove(fast, fastView, suite.depth, player),
                  reference::ChooseMove(slow, slowView, suite.depth, player));
        const auto [f, s] = std::mismatch(fastView.calls.begin(), fastView.calls.end(),
                                          slowView.calls.begin(), slowView.calls.end());
        EXPECT_TRUE(f == fastView.calls.end() && s == slowView.calls.end())
            << "view calls differ from call " << f - fastView.calls.begin();
        EXPECT_EQ(fast, before);
        EXPECT_EQ(fast.Cells(), slow.cells);
    }
    EXPECT_GE(forced, suite.minForced);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, Agreement,
    ::testing::Values(
        Suite{"gamePositionsAtDepth2", 11, 1500, 2, 0, 49, false, 0, {1, 2}, 500},
        Suite{"gamePositionsAtDepth3", 12, 700, 3, 0, 49, false, 0, {1, 2}, 230},
        Suite{"gamePositionsAtDepth4", 21, 120, 4, 0, 30, false, 0, {1, 2}, 25},
        Suite{"gamePositionsAtDepth5", 22, 16, 5, 0, 24, false, 0, {1, 2}, 4},
        Suite{"nearlyFullBoardsAtDepth4", 34, 800, 4, 38, 49, false, 0, {1, 2}, 600},
        Suite{"boardsHoldingFoursAtDepth3", 43, 600, 3, 10, 49, true, 0, {1, 2}, 450},
        Suite{"discsOfNeitherColourAtDepth4", 54, 400, 4, 5, 49, false, 20, {1, 2}, 150},
        Suite{"unusualPlayersAndDepth1", 60, 200, 1, 0, 40, true, 10, {3, -1, 7, 2}, 15}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace marlovin
