#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <random>
#include <string>
#include <vector>

#include "bench/reference/reference.h"
#include "engine/evaluate.h"
#include "engine/search.h"
#include "engine/windows.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::RecordingView;

// "y0r3n3": a yellow disc in column 0, then a red one and one of neither colour in column 3.
Board Drops(std::string_view discs, Board board = {}) {
    for (std::size_t i = 0; i + 1 < discs.size(); i += 2)
        DropPiece(board, discs[i + 1] - '0', discs[i] == 'y' ? 1 : discs[i] == 'r' ? 2 : 3);
    return board;
}

// Columns in and out of range, codes of any colour: the cells follow the literal rules, and what
// the board keeps beside them matches a recount from the cells after every step.
TEST(Board, bookkeepingMatchesARecountAfterEveryDropAndTakeBack) {
    std::mt19937 random(5);
    Board board;
    reference::Board slow;
    RecordingView view;
    for (int step = 0; step < 20000 && !HasFailure(); ++step) {
        const int column = int(random() % 11) - 2;
        const auto code = CellCode(random() % 4);
        const bool drop = int(random() % 100) < (step / 300 % 2 ? 30 : 70);
        EXPECT_EQ(
            drop ? DropPiece(board, column, code) : TakeBack(board, column),
            drop ? reference::DropPiece(slow, column, code) : reference::TakeBack(slow, column));
        EXPECT_EQ(board.Cells(), slow.cells) << "step " << step;
        int fours = 0;
        for (int w = 0; w < kWindowCount; ++w) {
            int state = 0;
            for (const int cell : kWindows[w].cells)
                state += slow.cells[cell] == kYellow ? 1 : slow.cells[cell] == kRed ? 5 : 0;
            EXPECT_EQ(board.WindowState(w), state) << "window " << w << ", step " << step;
            fours += state == 4 || state == 20;
        }
        EXPECT_EQ(board.Fours(), fours) << "step " << step;
        EXPECT_EQ(board.Score(), reference::Evaluate(slow, view)) << "step " << step;
        for (int c = -2; c <= kColumns; ++c)
            EXPECT_EQ(ColumnHeight(board, c), reference::ColumnHeight(slow, c));
    }
}

TEST(Evaluate, examplePositionsAndTheHighlightOfAFour) {
    const char* positions[] = {"", "y0", "y3", "n3n3n3y3", "y3r3", "y0y1y2", "y0y1y2y3"};
    const int values[] = {0, 3, 7, 16, -3, 10107, 1010110};
    for (int i = 0; i < 7; ++i) {
        RecordingView view;
        EXPECT_EQ(Evaluate(Drops(positions[i]), view), values[i]) << positions[i];
        EXPECT_EQ(view.Trace("H"), values[i] > kGameOverThreshold ? "H0" : "") << positions[i];
    }
}

TEST(Search, examplePositionsGiveTheirValueCandidatesCountersAndMoveAndStayAsTheyWere) {
    // Only (3, 6) free, and no four anywhere: pairs of rows alternate their colour pattern.
    const std::string even = "y0r1y2r3y4r5y6", odd = "r0y1r2y3r4y5r6";
    const Board lastFree = Drops(even + even + odd + odd + even + even + "r0y1r2r4y5r6");
    const struct {
        Board position;
        int depth, value;
        const char* candidates;
        int move, cutOffs, searchedMoves;
    } examples[] = {
        {Board{}, 2, 0, "0123456", 3, 0, 105},          {Board{}, 3, 0, "0123456", 3, 0, 742},
        {Drops("y0y1y2r6r6"), 2, 2, "3", 3, 1, 0},      {Drops("r0r1r2y6y6"), 2, 0, "3", 3, 6, 21},
        {Drops("y3", lastFree), 3, -100, "", -1, 0, 0}, {lastFree, 2, 100, "3", 3, 0, 1},
    };
    for (const auto& e : examples) {
        SCOPED_TRACE(::testing::Message() << "example " << &e - examples);
        Board board = e.position;
        RecordingView view;
        const SearchResult result = Search(board, view, e.depth, kYellow, true);
        EXPECT_EQ(result.value, e.value);
        EXPECT_EQ(result.candidates, e.candidates);
        EXPECT_EQ(ChooseMove(board, view, e.depth, kYellow), e.move);
        EXPECT_EQ(view.counters, (std::array{e.cutOffs, e.searchedMoves}));
        EXPECT_EQ(board, e.position);
    }
}

// Code 0 puts no disc down, so it has none to take back either.
TEST(Search, aPlayerOfCodeZeroFindsNoMoveAndLeavesTheBoardAsItWas) {
    Board board = Drops("y2r2r4");
    RecordingView view;
    EXPECT_EQ(Search(board, view, 3, kEmpty, true).candidates, "");
    EXPECT_EQ(ChooseMove(board, view, 3, kEmpty), kNoMove);
    EXPECT_EQ(board, Drops("y2r2r4"));
}

TEST(Search, aRequestToExitInTheMiddleOfTheSearchLeavesTheBoardAsItWas) {
    const Board position = Drops("r0r1r2y6y6");
    for (int calls : {1, 2, 5, 17, 40, 300}) {
        Board board = position;
        RecordingView view;
        view.onCall = [&calls](testing::Call&) { --calls == 0 ? throw ExitRequested{} : void(); };
        EXPECT_THROW(ChooseMove(board, view, 3, kYellow), ExitRequested);
        EXPECT_EQ(board, position);
    }
}

// Random positions from fixed seeds, searched at one depth. Every score, choice and view call
// (made while both boards hold the same cells) matches the literal reference, and both boards end
// as they started.
TEST(Agreement, everyScoreChoiceAndViewCallMatchesTheReference) {
    struct Suite {
        int positions, depth, minDiscs, maxDiscs;
        bool fours;
        unsigned neutralPercent;      // chance of a disc of neither colour
        std::vector<Player> players;  // to move, taken in turn
        int minForced;                // searches that must find a win or a loss
    };
    const Suite suites[] = {
        {1500, 2, 0, 49, false, 0, {1, 2}, 500}, {700, 3, 0, 49, false, 0, {1, 2}, 230},
        {120, 4, 0, 30, false, 0, {1, 2}, 25},   {16, 5, 0, 24, false, 0, {1, 2}, 4},
        {800, 4, 38, 49, false, 0, {1, 2}, 600}, {600, 3, 10, 49, true, 0, {1, 2}, 450},
        {400, 4, 5, 49, false, 20, {1, 2}, 150}, {200, 1, 0, 40, true, 10, {3, -1, 7, 2}, 15}};
    std::mt19937 random(11);
    for (const Suite& s : suites) {
        int forced = 0;
        for (int i = 0; i < s.positions && !HasFailure(); ++i) {
            Board fast;
            const int discs = s.minDiscs + int(random() % (s.maxDiscs - s.minDiscs + 1));
            for (int tries = 0; tries < 300 && std::popcount(fast.OccupiedBits()) < discs;
                 ++tries) {
                const int column = int(random() % kColumns);
                const auto code =
                    CellCode(random() % 100 < s.neutralPercent ? 3 : 1 + random() % 2);
                if (DropPiece(fast, column, code) && !s.fours && fast.Fours() > 0)
                    TakeBack(fast, column);
            }
            const Board before = fast;
            reference::Board slow{fast.Cells()};
            RecordingView fastView, slowView;
            fastView.onCall = [&](testing::Call& call) { call.board = fast.Cells(); };
            slowView.onCall = [&](testing::Call& call) { call.board = slow.cells; };
            const Player player = s.players[i % s.players.size()];
            SCOPED_TRACE(::testing::Message() << "suite " << &s - suites << " position " << i);
            EXPECT_EQ(Evaluate(fast, fastView), reference::Evaluate(slow, slowView));
            const SearchResult found = Search(fast, fastView, s.depth, player, true);
            const SearchResult expected = reference::Search(slow, slowView, s.depth, player, true);
            EXPECT_EQ(found.value, expected.value);
            EXPECT_EQ(found.candidates, expected.candidates);
            forced += expected.value != 0;
            EXPECT_EQ(ChooseMove(fast, fastView, s.depth, player),
                      reference::ChooseMove(slow, slowView, s.depth, player));
            EXPECT_TRUE(fastView.calls == slowView.calls);
            EXPECT_EQ(fast, before);
            EXPECT_EQ(fast.Cells(), slow.cells);
        }
        EXPECT_GE(forced, s.minForced) << "suite " << &s - suites;
    }
}

}  // namespace
}  // namespace marlovin
