#include <gtest/gtest.h>

#include "engine/board.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::RecordingView;

TEST(Board, discsFillAColumnFromTheBottomUntilItIsFull) {
    Board board;
    for (int row = 0; row < kRows; ++row) {
        EXPECT_TRUE(DropPiece(board, 2, row % 2 ? kRed : kYellow));
        EXPECT_EQ(board.At(2, row), row % 2 ? kRed : kYellow);
        EXPECT_EQ(ColumnHeight(board, 2), row + 1);
    }
    const Board full = board;
    EXPECT_FALSE(DropPiece(board, 2, kYellow));
    EXPECT_EQ(board, full);
}

TEST(Board, takingBackRemovesTheTopDiscWhateverItsColourAndUndoesTheDrop) {
    Board board;
    EXPECT_FALSE(TakeBack(board, 0));
    for (CellCode code : {kYellow, kRed, kRed}) {
        DropPiece(board, 5, code);
    }
    const Board before = board;
    EXPECT_TRUE(TakeBack(board, 5));
    EXPECT_EQ(ColumnHeight(board, 5), 2);
    EXPECT_EQ(board.At(5, 2), kEmpty);
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

TEST(Board, codeZeroLandsInvisiblyAndOtherCodesOccupyTheCell) {
    Board board;
    EXPECT_TRUE(DropPiece(board, 1, kEmpty));
    EXPECT_EQ(ColumnHeight(board, 1), 0);
    EXPECT_TRUE(DropPiece(board, 1, 3));
    EXPECT_TRUE(DropPiece(board, 1, kYellow));
    EXPECT_EQ(board.At(1, 0), 3);
    EXPECT_EQ(ColumnHeight(board, 1), 2);
    ClearBoard(board);
    EXPECT_EQ(board, Board{});
    EXPECT_EQ(ColumnHeight(board, 1), 0);
}

TEST(Board, theOtherPlayerIsRedOnlyForYellowAndIsAnnounced) {
    RecordingView view;
    EXPECT_EQ(OtherPlayer(kYellow, view), kRed);
    EXPECT_EQ(OtherPlayer(kRed, view), kYellow);
    EXPECT_EQ(OtherPlayer(0, view), kYellow);
    ASSERT_EQ(view.calls.size(), 3u);
    EXPECT_EQ(view.calls[0].op, testing::ViewOp::ShowPlayerToMove);
    EXPECT_EQ(view.calls[0].number, kRed);
    EXPECT_EQ(view.calls[2].number, kYellow);
}

}  // namespace
}  // namespace marlovin
