#include <gtest/gtest.h>

#include "engine/board.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::RecordingView;
using testing::ViewOp;

TEST(Board, aDiscDroppedIntoAnEmptyColumnLandsInRowZero) {
    Board board;
    EXPECT_TRUE(DropPiece(board, 4, kRed));
    EXPECT_EQ(board.At(4, 0), kRed);
    EXPECT_EQ(ColumnHeight(board, 4), 1);
    EXPECT_EQ(board.Cells()[4], kRed);
}

TEST(Board, theEighthDropIntoOneColumnFailsAndChangesNothing) {
    Board board;
    for (int i = 0; i < kRows; ++i) {
        EXPECT_TRUE(DropPiece(board, 2, i % 2 ? kRed : kYellow));
    }
    const Board full = board;
    EXPECT_FALSE(DropPiece(board, 2, kYellow));
    EXPECT_EQ(ColumnHeight(board, 2), 7);
    EXPECT_EQ(board, full);
}

TEST(Board, takingBackRemovesTheTopDiscWhateverItsColour) {
    Board board;
    EXPECT_FALSE(TakeBack(board, 0));
    for (CellCode code : {kYellow, kRed, kRed}) {
        DropPiece(board, 5, code);
    }
    const Board before = board;
    EXPECT_TRUE(TakeBack(board, 5));
    EXPECT_EQ(ColumnHeight(board, 5), 2);
    EXPECT_EQ(board.At(5, 2), kEmpty);
    EXPECT_EQ(board.At(5, 1), kRed);
    EXPECT_TRUE(DropPiece(board, 5, kRed));
    EXPECT_EQ(board, before);
}

TEST(Board, columnsOutsideTheGridAreRefusedWithoutTouchingAnything) {
    Board board;
    DropPiece(board, 0, kYellow);
    DropPiece(board, 6, kRed);
    const Board before = board;
    for (int column : {-1, 7, 49, -8, 1000}) {
        EXPECT_EQ(ColumnHeight(board, column), 0);
        EXPECT_FALSE(DropPiece(board, column, kYellow));
        EXPECT_FALSE(TakeBack(board, column));
    }
    EXPECT_EQ(board, before);
}

TEST(Board, codesOtherThanTheTwoColoursBehaveLikeTheRulesSay) {
    Board board;
    // Code 0 "lands" on the free cell but leaves it empty.
    EXPECT_TRUE(DropPiece(board, 1, kEmpty));
    EXPECT_EQ(ColumnHeight(board, 1), 0);
    // Any other code occupies the cell.
    EXPECT_TRUE(DropPiece(board, 1, 3));
    EXPECT_TRUE(DropPiece(board, 1, kYellow));
    EXPECT_EQ(ColumnHeight(board, 1), 2);
    EXPECT_EQ(board.At(1, 0), 3);
    EXPECT_TRUE(TakeBack(board, 1));
    EXPECT_TRUE(TakeBack(board, 1));
    EXPECT_EQ(board, Board{});
}

TEST(Board, clearingEmptiesEveryCell) {
    Board board;
    for (int i = 0; i < 30; ++i) {
        DropPiece(board, i % kColumns, static_cast<CellCode>(1 + i % 3));
    }
    ClearBoard(board);
    EXPECT_EQ(board, Board{});
    for (int column = 0; column < kColumns; ++column) {
        EXPECT_EQ(ColumnHeight(board, column), 0);
    }
}

TEST(Board, theOtherPlayerIsRedOnlyForYellowAndIsAnnounced) {
    RecordingView view;
    EXPECT_EQ(OtherPlayer(kYellow, view), kRed);
    EXPECT_EQ(OtherPlayer(kRed, view), kYellow);
    EXPECT_EQ(OtherPlayer(0, view), kYellow);
    ASSERT_EQ(view.calls.size(), 3u);
    EXPECT_EQ(view.calls[0].op, ViewOp::ShowPlayerToMove);
    EXPECT_EQ(view.calls[0].number, kRed);
    EXPECT_EQ(view.calls[1].number, kYellow);
    EXPECT_EQ(view.calls[2].number, kYellow);
}

}  // namespace
}  // namespace marlovin
