#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <vector>

#include "bench/reference/reference.h"
#include "engine/evaluate.h"
#include "engine/search.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::RecordingView;

struct Suite {
    int positions;
    int depth;
    int fewestDiscs;
    int mostDiscs;
    bool foursAllowed;
    unsigned neutralPercent;      // discs of neither colour
    std::vector<Player> players;  // to move, taken in turn
};

// A random position of the suite, from `random`.
Board RandomPosition(const Suite& suite, std::mt19937& random) {
    Board board;
    const int span = suite.mostDiscs - suite.fewestDiscs + 1;
    const int discs = suite.fewestDiscs + static_cast<int>(random() % span);
    for (int tries = 0; tries < 300 && std::popcount(board.OccupiedBits()) < discs; ++tries) {
        const int column = static_cast<int>(random() % kColumns);
        CellCode code = static_cast<CellCode>(1 + random() % 2);
        if (random() % 100 < suite.neutralPercent)
            code = 3;
        const bool dropped = DropPiece(board, column, code);
        if (dropped && !suite.foursAllowed && board.Fours() > 0)
            TakeBack(board, column);
    }
    return board;
}

// Random positions from fixed seeds, searched at one depth: every score, choice and view call
// matches the literal reference, and so does the board at every call, the last one included.
TEST(Agreement, everyScoreChoiceAndViewCallMatchesTheLiteralReference) {
    const std::vector<Suite> suites = {
        {1500, 2, 0, 49, false, 0, {1, 2}}, {700, 3, 0, 49, false, 0, {1, 2}},
        {120, 4, 0, 30, false, 0, {1, 2}},  {16, 5, 0, 24, false, 0, {1, 2}},
        {800, 4, 38, 49, false, 0, {1, 2}}, {600, 3, 10, 49, true, 0, {1, 2}},
        {400, 4, 5, 49, false, 20, {1, 2}}, {200, 1, 0, 40, true, 10, {3, -1, 7, 2}}};
    std::mt19937 random(11);
    for (const Suite& suite : suites) {
        for (int i = 0; i < suite.positions && !HasFailure(); ++i) {
            SCOPED_TRACE(::testing::Message() << "depth " << suite.depth << ", position " << i);
            Board fast = RandomPosition(suite, random);
            reference::Board slow{fast.Cells()};
            RecordingView fastView;
            RecordingView slowView;
            std::vector<std::array<CellCode, kCells>> fastBoards;
            std::vector<std::array<CellCode, kCells>> slowBoards;
            fastView.onCall = [&](const std::string&) { fastBoards.push_back(fast.Cells()); };
            slowView.onCall = [&](const std::string&) { slowBoards.push_back(slow.cells); };
            const Player player = suite.players[i % suite.players.size()];
            const SearchResult found = Search(fast, fastView, suite.depth, player, true);
            const SearchResult expected =
                reference::Search(slow, slowView, suite.depth, player, true);
            EXPECT_EQ(found.value, expected.value);
            EXPECT_EQ(found.candidates, expected.candidates);
            EXPECT_EQ(ChooseMove(fast, fastView, suite.depth, player),
                      reference::ChooseMove(slow, slowView, suite.depth, player));
            EXPECT_TRUE(fastView.calls == slowView.calls);
            EXPECT_TRUE(fastBoards == slowBoards);
        }
    }
}

}  // namespace
}  // namespace marlovin
