#include <gtest/gtest.h>

#include <random>

#include "engine/evaluate.h"
#include "tests/engine/boardbuilder.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::BoardFromDrops;
using testing::RecordingView;
using testing::ViewOp;

TEST(Evaluate, singleDiscsScoreByTheWindowsThroughTheirCell) {
    RecordingView view;
    EXPECT_EQ(Evaluate(Board{}, view), 0);
    EXPECT_EQ(Evaluate(BoardFromDrops({{0, kYellow}}), view), 3);
    EXPECT_EQ(Evaluate(BoardFromDrops({{3, kYellow}}), view), 7);
    // (3, 3) alone: the three cells below hold discs of neither colour.
    EXPECT_EQ(Evaluate(BoardFromDrops({{3, 3}, {3, 3}, {3, 3}, {3, kYellow}}), view), 16);
    EXPECT_EQ(Evaluate(BoardFromDrops({{3, kYellow}, {3, kRed}}), view), -3);
    EXPECT_TRUE(view.calls.empty());
}

TEST(Evaluate, threeInARowScoresTenThousandAndFourPassesBothThresholds) {
    RecordingView view;
    Board board = BoardFromDrops({{0, kYellow}, {1, kYellow}, {2, kYellow}});
    EXPECT_EQ(Evaluate(board, view), 10107);
    EXPECT_TRUE(view.calls.empty());

    DropPiece(board, 3, kYellow);
    const std::int32_t four = Evaluate(board, view);
    EXPECT_EQ(four, 1010110);
    EXPECT_GT(four, kWinThreshold);
    EXPECT_GT(four, kGameOverThreshold);
    ASSERT_EQ(view.calls.size(), 1u);
    EXPECT_EQ(view.calls[0].op, ViewOp::HighlightFour);
    const std::array<Cell, 4> expected = {Cell{0, 0}, Cell{1, 0}, Cell{2, 0}, Cell{3, 0}};
    EXPECT_EQ(view.calls[0].cells, expected);
}

TEST(Evaluate, windowsCountOnlyUnmixedColoursAndStayOnTheBoard) {
    RecordingView view;
    const Board board = BoardFromDrops({{0, kYellow}, {1, kYellow}, {2, kYellow}, {3, kRed}});
    EXPECT_EQ(CountLine(board, view, 0, 0, 1, 0), 0);
    EXPECT_EQ(CountLine(board, view, 3, 0, 1, 0), -1);
    EXPECT_EQ(LineScore(board, view, 0, 0, 0, 1), 1);
    EXPECT_EQ(LineScore(board, view, 3, 0, -1, 1), -1);
    // Three yellow discs, but the end cell (-1, 0) lies outside the grid.
    EXPECT_EQ(CountLine(board, view, 2, 0, -1, 0), 0);
    EXPECT_EQ(LineScore(BoardFromDrops({{6, kRed}, {6, kRed}}), view, 6, 0, 0, 1), -100);
    EXPECT_TRUE(view.calls.empty());
}

TEST(Evaluate, everyFourIsHighlightedInWindowOrder) {
    RecordingView view;
    // Red column 0 rows 0-3, yellow row 4 columns 0-3 on stacks of neutral discs.
    Board board;
    for (int i = 0; i < 4; ++i) {
        DropPiece(board, 0, kRed);
    }
    for (int column = 1; column < 4; ++column) {
        for (int i = 0; i < 4; ++i) {
            DropPiece(board, column, 3);
        }
    }
    for (int column = 0; column < 4; ++column) {
        DropPiece(board, column, kYellow);
    }
    Evaluate(board, view);
    const auto highlights = view.CallsOf(ViewOp::HighlightFour);
    ASSERT_EQ(highlights.size(), 2u);
    // Window order: column 0's first vertical comes before row 4's horizontals.
    EXPECT_EQ(highlights[0].cells[0], (Cell{0, 0}));
    EXPECT_EQ(highlights[0].cells[3], (Cell{0, 3}));
    EXPECT_EQ(highlights[1].cells[0], (Cell{0, 4}));
    EXPECT_EQ(highlights[1].cells[3], (Cell{3, 4}));
}

TEST(Evaluate, swappingTheColoursNegatesTheEvaluation) {
    std::mt19937 random(7);
    RecordingView view;
    for (int trial = 0; trial < 300; ++trial) {
        Board board;
        Board swapped;
        const int discs = static_cast<int>(random() % 50);
        for (int i = 0; i < discs; ++i) {
            const int column = static_cast<int>(random() % kColumns);
            const CellCode code = static_cast<CellCode>(1 + random() % 2);
            DropPiece(board, column, code);
            DropPiece(swapped, column, static_cast<CellCode>(3 - code));
        }
        EXPECT_EQ(Evaluate(swapped, view), -Evaluate(board, view));
    }
}

}  // namespace
}  // namespace marlovin
