#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/evaluate.h"
#include "engine/search.h"
#include "tests/engine/boardbuilder.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::BoardFromDrops;
using testing::RecordingView;
using testing::ViewOp;

// Every cell filled, no four anywhere: pairs of rows alternate their colour pattern.
Board FullBoardWithoutFour() {
    Board board;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            DropPiece(board, column, static_cast<CellCode>(1 + (column + row / 2) % 2));
        }
    }
    return board;
}

TEST(Search, theEmptyBoardFindsNothingAndPlaysTheCentreColumn) {
    Board board;
    RecordingView view;
    const SearchResult result = Search(board, view, 2, kYellow, true);
    EXPECT_EQ(result.value, 0);
    EXPECT_EQ(result.candidates, "0123456");

    const std::array<int, kColumns> gains = {3, 4, 5, 7, 5, 4, 3};
    for (int column = 0; column < kColumns; ++column) {
        DropPiece(board, column, kYellow);
        EXPECT_EQ(Evaluate(board, view), gains[column]) << "column " << column;
        TakeBack(board, column);
    }

    EXPECT_EQ(ChooseMove(board, view, 2, kYellow), 3);
    EXPECT_EQ(view.searchedMoves, 105);
    EXPECT_EQ(view.cutOffs, 0);
    EXPECT_EQ(ChooseMove(board, view, 3, kYellow), 3);
    EXPECT_EQ(view.searchedMoves, 742);
    EXPECT_EQ(view.cutOffs, 0);
    EXPECT_EQ(board, Board{});
}

TEST(Search, anImmediateWinEndsTheSearchInTheFirstPass) {
    Board board = BoardFromDrops({{0, kYellow}, {1, kYellow}, {2, kYellow}, {6, kRed}, {6, kRed}});
    const Board before = board;
    RecordingView view;
    const SearchResult result = Search(board, view, 2, kYellow, true);
    EXPECT_EQ(result.value, 2);
    EXPECT_EQ(result.candidates, "3");
    EXPECT_EQ(view.cutOffs, 1);
    EXPECT_EQ(view.searchedMoves, 0);
    EXPECT_EQ(view.CallsOf(ViewOp::HighlightFour).size(), 1u);
    EXPECT_EQ(board, before);
}

TEST(Search, onlyTheBlockingColumnSurvivesTheOpponentsThreat) {
    Board board = BoardFromDrops({{0, kRed}, {1, kRed}, {2, kRed}, {6, kYellow}, {6, kYellow}});
    const Board before = board;
    RecordingView view;
    const SearchResult result = Search(board, view, 2, kYellow, true);
    EXPECT_EQ(result.candidates, "3");
    EXPECT_EQ(view.cutOffs, 6);
    EXPECT_EQ(view.searchedMoves, 21);

    EXPECT_EQ(ChooseMove(board, view, 2, kYellow), 3);
    EXPECT_EQ(board, before);
    // The fours the search tried lose their borders once the choice is made.
    ASSERT_FALSE(view.CallsOf(ViewOp::HighlightFour).empty());
    EXPECT_EQ(view.calls.back().op, ViewOp::ResetHighlights);
}

TEST(Search, aFullBoardHasNoCandidateAndNoMove) {
    Board board = FullBoardWithoutFour();
    RecordingView view;
    ASSERT_LT(std::abs(Evaluate(board, view)), kWinThreshold);
    const SearchResult result = Search(board, view, 3, kRed, true);
    EXPECT_EQ(result.value, -100);
    EXPECT_EQ(result.candidates, "");
    EXPECT_EQ(ChooseMove(board, view, 3, kRed), kNoMove);
    EXPECT_EQ(board, FullBoardWithoutFour());
}

TEST(Search, fillingTheLastFreeCellIsWorthAHundred) {
    Board board = FullBoardWithoutFour();
    TakeBack(board, 3);
    const Board before = board;
    RecordingView view;
    const SearchResult result = Search(board, view, 2, kYellow, true);
    EXPECT_EQ(result.value, 100);
    EXPECT_EQ(result.candidates, "3");
    EXPECT_EQ(ChooseMove(board, view, 2, kYellow), 3);
    EXPECT_EQ(board, before);
}

TEST(Search, aCandidateWithoutGainIsStillPlayed) {
    // Every window through (3, 6) is already mixed, so red's only move gains nothing.
    Board board = FullBoardWithoutFour();
    TakeBack(board, 3);
    RecordingView view;
    const std::int32_t before = Evaluate(board, view);
    DropPiece(board, 3, kRed);
    ASSERT_EQ(Evaluate(board, view), before);
    TakeBack(board, 3);
    EXPECT_EQ(ChooseMove(board, view, 4, kRed), 3);
}

TEST(Search, aPlayerWithoutDiscCodeCannotMoveAndTakesNoDiscBack) {
    Board board = BoardFromDrops({{2, kYellow}, {2, kRed}, {4, kRed}});
    const Board before = board;
    RecordingView view;
    const SearchResult result = Search(board, view, 3, kEmpty, true);
    EXPECT_EQ(result.value, -100);
    EXPECT_EQ(result.candidates, "");
    EXPECT_EQ(ChooseMove(board, view, 3, kEmpty), kNoMove);
    EXPECT_EQ(board, before);
}

// Asks to end the program at the given event pumping or highlight.
class ExitingView : public RecordingView {
  public:
    explicit ExitingView(int callsUntilExit) : remaining_(callsUntilExit) {}
    void PumpEvents() override { Countdown(); }
    void HighlightFour(const std::array<Cell, 4>&) override { Countdown(); }

  private:
    void Countdown() {
        if (--remaining_ == 0) {
            throw ExitRequested{};
        }
    }
    int remaining_;
};

TEST(Search, aRequestToExitInTheMiddleOfTheSearchLeavesTheBoardAsItWas) {
    Board board = BoardFromDrops({{0, kRed}, {1, kRed}, {2, kRed}, {6, kYellow}, {6, kYellow}});
    const Board before = board;
    for (int calls : {1, 2, 5, 17, 40}) {
        ExitingView view(calls);
        EXPECT_THROW(ChooseMove(board, view, 3, kYellow), ExitRequested);
        EXPECT_EQ(board, before) << "exit at call " << calls;
    }
}

}  // namespace
}  // namespace marlovin
