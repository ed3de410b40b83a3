#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>

#include "engine/board.h"
#include "engine/evaluate.h"
#include "engine/search.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::RecordingView;

// Drops discs in order onto board, each written as its colour and column: "y0r3n3" puts a yellow
// disc in column 0, then a red one and one of neither colour (code 3) in column 3. Tests build
// positions this way because the board changes only through DropPiece.
Board Drops(std::string_view discs, Board board = {}) {
    for (std::size_t i = 0; i + 1 < discs.size(); i += 2) {
        const char colour = discs[i];
        DropPiece(board, discs[i + 1] - '0', colour == 'y' ? kYellow : colour == 'r' ? kRed : 3);
    }
    return board;
}

TEST(Board, discsStackFromTheBottomUntilTheColumnIsFullAndComeBackOffTheTop) {
    Board board;
    EXPECT_FALSE(TakeBack(board, 2));
    for (int row = 0; row < kRows; ++row) {
        ASSERT_TRUE(DropPiece(board, 2, row % 2 ? kRed : kYellow));
        EXPECT_EQ(board.At(2, row), row % 2 ? kRed : kYellow);
        EXPECT_EQ(ColumnHeight(board, 2), row + 1);
    }
    const Board full = board;
    EXPECT_FALSE(DropPiece(board, 2, kYellow));
    for (int column : {-1, 7, 49, -8, 1000}) {
        EXPECT_EQ(ColumnHeight(board, column), 0);
        EXPECT_FALSE(DropPiece(board, column, kYellow));
        EXPECT_FALSE(TakeBack(board, column));
    }
    EXPECT_EQ(board, full);
    EXPECT_TRUE(TakeBack(board, 2));
    EXPECT_EQ(board.At(2, 6), kEmpty);
    EXPECT_EQ(ColumnHeight(board, 2), 6);
}

TEST(Evaluate, examplePositionsScoreTheSumOfTheirWindowsAndOnlyAFourGetsABorder) {
    // "n3n3n3y3": yellow on (3, 3) above three discs of neither colour.
    const char* positions[] = {"", "y0", "y3", "n3n3n3y3", "y3r3", "y0y1y2", "y0y1y2y3"};
    const int values[] = {0, 3, 7, 16, -3, 10107, 1010110};
    for (int i = 0; i < 7; ++i) {
        RecordingView view;
        EXPECT_EQ(Evaluate(Drops(positions[i]), view), values[i]) << positions[i];
        EXPECT_EQ(view.calls.size(), values[i] > kGameOverThreshold ? 1u : 0u) << positions[i];
    }
    RecordingView view;
    Evaluate(Drops("y0y1y2y3"), view);
    EXPECT_EQ(view.calls.at(0).cells, (std::array<Cell, 4>{{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}));
}

TEST(Search, examplePositionsGiveTheirValueCandidatesCountersAndMoveAndStayAsTheyWere) {
    // Only (3, 6) free, and no four anywhere: pairs of rows alternate their colour pattern.
    const std::string even = "y0r1y2r3y4r5y6", odd = "r0y1r2y3r4y5r6";
    const Board lastFree = Drops(even + even + odd + odd + even + even + "r0y1r2r4y5r6");
    struct Example {
        Board position;
        Player player;
        int depth, value;
        const char* candidates;
        int move, cutOffs, searchedMoves;
    };
    const Example examples[] = {
        {Board{}, kYellow, 2, 0, "0123456", 3, 0, 105},
        {Board{}, kYellow, 3, 0, "0123456", 3, 0, 742},
        {Board{}, kYellow, 5, 0, "0123456", 3, 0, 36414},
        {Drops("y0y1y2r6r6"), kYellow, 2, 2, "3", 3, 1, 0},
        {Drops("r0r1r2y6y6"), kYellow, 2, 0, "3", 3, 6, 21},
        {Drops("y3", lastFree), kRed, 3, -100, "", kNoMove, 0, 0},
        // A code that puts no disc down, so it has none to take back.
        {Drops("y2r2r4"), kEmpty, 3, -100, "", kNoMove, 0, 0},
        {lastFree, kYellow, 2, 100, "3", 3, 0, 1},
        // Red's disc there gains nothing but is still played.
        {lastFree, kRed, 4, 100, "3", 3, 0, 1},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(::testing::Message() << "example " << &e - examples);
        Board board = e.position;
        RecordingView view;
        const SearchResult result = Search(board, view, e.depth, e.player, true);
        EXPECT_EQ(result.value, e.value);
        EXPECT_EQ(result.candidates, e.candidates);
        EXPECT_EQ(ChooseMove(board, view, e.depth, e.player), e.move);
        EXPECT_EQ(view.cutOffs, e.cutOffs);
        EXPECT_EQ(view.searchedMoves, e.searchedMoves);
        EXPECT_EQ(board, e.position);
    }
    RecordingView view;
    EXPECT_EQ(Evaluate(Drops("r3", lastFree), view), Evaluate(lastFree, view));
}

TEST(Search, swappingTheColoursNegatesTheEvaluationAndKeepsTheMove) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        std::string discs, swapped;
        for (int n = static_cast<int>(random() % 50); n > 0; --n) {
            const char column = static_cast<char>('0' + random() % kColumns);
            const bool yellow = random() % 2 == 0;
            discs += {yellow ? 'y' : 'r', column};
            swapped += {yellow ? 'r' : 'y', column};
        }
        Board board = Drops(discs), mirror = Drops(swapped);
        RecordingView view;
        EXPECT_EQ(Evaluate(mirror, view), -Evaluate(board, view)) << discs;
        EXPECT_EQ(ChooseMove(mirror, view, 2, kRed), ChooseMove(board, view, 2, kYellow)) << discs;
    }
}

TEST(Search, aRequestToExitInTheMiddleOfTheSearchLeavesTheBoardAsItWas) {
    const Board position = Drops("r0r1r2y6y6");
    for (int calls : {1, 2, 5, 17, 40, 300}) {
        Board board = position;
        RecordingView view;
        view.onCall = [left = calls](testing::Call&) mutable {
            if (--left == 0) {
                throw ExitRequested{};
            }
        };
        EXPECT_THROW(ChooseMove(board, view, 3, kYellow), ExitRequested) << calls;
        EXPECT_EQ(board, position) << "exit at call " << calls;
    }
}

}  // namespace
}  // namespace marlovin
