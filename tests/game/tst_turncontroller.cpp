#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/evaluate.h"
#include "engine/search.h"
#include "game/turncontroller.h"
#include "recordingview.h"

namespace marlovin {
namespace {

using test::Call;
using test::Op;
using test::RecordingView;

int Discs(const Board& board) {
    int n = 0;
    for (CellCode code : board.Cells()) {
        n += code != kEmpty ? 1 : 0;
    }
    return n;
}

class Game : public ::testing::Test {
  protected:
    void Drop(int column, Player player) { ASSERT_TRUE(DropPiece(state.board, column, player)); }
    void PlayersAreHumans() { view.computer[kYellow] = view.computer[kRed] = false; }
    // Yellow on (0,0), (1,0), (2,0), red on (6,0), (6,1): column 3 wins for yellow.
    void YellowThreatensFour() {
        for (int c = 0; c < 3; ++c) {
            Drop(c, kYellow);
        }
        Drop(6, kRed);
        Drop(6, kRed);
    }
    // What the computer would play on this board, with the counters its search leaves.
    std::int16_t ExpectedMove(int depth, Player player, RecordingView& scratch) {
        Board copy = state.board;
        return ChooseMove(copy, scratch, depth, player);
    }

    GameState state;
    RecordingView view{&state.board};
    TurnController controller{state, view};
};

TEST_F(Game, StartUpShowsReadyAtDepthThreeWithYellowToMoveAndStartsNoGame) {
    state.currentPlayer = kRed;
    state.searchDepth = 5;
    controller.StartUp();

    EXPECT_EQ(view.status, "ready");
    EXPECT_EQ(state.searchDepth, 3);
    EXPECT_EQ(state.currentPlayer, kYellow);
    EXPECT_EQ(view.Count(Op::SetColumnButtonsEnabled), 0);
    EXPECT_EQ(Discs(state.board), 0);
    EXPECT_FALSE(controller.TurnInProgress());
}

TEST_F(Game, StartUpSelectsTheSecondDifficultyThroughTheWindowsCommand) {
    std::vector<int> selected;
    controller.StartUp([&](int index) {
        selected.push_back(index);
        controller.SetDifficulty(index);
    });
    EXPECT_EQ(selected, std::vector<int>{1});
    EXPECT_EQ(state.searchDepth, 3);
}

TEST_F(Game, DifficultyIndexesMapToDepthsTwoToFiveAndOthersAreIgnored) {
    for (int index = 0; index < 4; ++index) {
        controller.SetDifficulty(index);
        EXPECT_EQ(state.searchDepth, index + 2);
    }
    controller.SetDifficulty(4);
    controller.SetDifficulty(-1);
    EXPECT_EQ(state.searchDepth, 5);
}

TEST_F(Game, TheFirstNewGameWithDefaultMarksHandsRedTheMoveAndWaits) {
    Drop(3, kYellow);
    controller.StartUp();
    EXPECT_TRUE(controller.NewGame());

    EXPECT_EQ(state.currentPlayer, kRed);
    EXPECT_EQ(view.status, "Rot");
    EXPECT_EQ(Discs(state.board), 0);
    EXPECT_TRUE(view.buttonsEnabled);
    EXPECT_EQ(view.Count(Op::ResetCounters), 0) << "no computer search";
    EXPECT_EQ(view.Count(Op::SetWindowEnabled), 0);
}

TEST_F(Game, APersonsDiscIsAnsweredAtDepthThreeWithTheWindowDisabledInsideOut) {
    controller.StartUp();
    controller.NewGame();
    view.calls.clear();
    Drop(2, kRed);
    RecordingView scratch;
    const std::int16_t expected = ExpectedMove(3, kYellow, scratch);
    TakeBack(state.board, 2);

    controller.ColumnChosen(2);

    Board after;
    DropPiece(after, 2, kRed);
    DropPiece(after, expected, kYellow);
    EXPECT_EQ(state.board, after);
    EXPECT_EQ(state.currentPlayer, kRed);
    EXPECT_EQ(view.status, "Rot");
    EXPECT_EQ(view.searchedMoves, scratch.searchedMoves);
    EXPECT_EQ(view.cutOffs, scratch.cutOffs);

    // Outer handler disables, computer move disables, search, computer's disc, inner handler
    // disables and enables, outer handler enables.
    const std::vector<Call> order{{Op::DrawBoard},           {Op::SetWindowEnabled, 0},
                                  {Op::SetWindowEnabled, 0}, {Op::ResetCounters},
                                  {Op::DrawBoard},           {Op::SetWindowEnabled, 0},
                                  {Op::SetWindowEnabled, 1}, {Op::SetWindowEnabled, 1}};
    EXPECT_EQ(view.Only({Op::DrawBoard, Op::SetWindowEnabled, Op::ResetCounters}), order);
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(Game, WithBothColoursComputerControlledOneNewGamePlaysAWholeGame) {
    view.computer[kRed] = true;
    controller.StartUp();
    bool outsideTurn = false;
    view.onPump = [&](Op) { outsideTurn = outsideTurn || !controller.TurnInProgress(); };

    controller.NewGame();

    EXPECT_FALSE(outsideTurn);
    const int discs = Discs(state.board);
    EXPECT_EQ(view.Count(Op::DrawBoard), discs);
    for (std::size_t i = 0; i < view.drawn.size(); ++i) {
        EXPECT_EQ(Discs(view.drawn[i]), static_cast<int>(i) + 1);
    }
    if (view.messages.empty()) {
        EXPECT_EQ(discs, kCells);
    } else {
        ASSERT_EQ(view.messages.size(), 1u);
        const std::string winner = state.currentPlayer == kYellow ? "Gelb" : "Rot";
        const std::string loser = state.currentPlayer == kYellow ? "Rot" : "Gelb";
        EXPECT_EQ(view.messages[0], "Der Spieler " + winner + " (CPU) hat gegen den Spieler " +
                                        loser + " (CPU) gewonnen.");
        EXPECT_FALSE(view.buttonsEnabled);
    }
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(Game, TheWinMessageMarksEachComputerControlledColour) {
    struct Case {
        bool yellowCpu, redCpu;
        Player winner;
        const char* text;
    };
    const Case cases[] = {
        {false, false, kYellow, "Der Spieler Gelb hat gegen den Spieler Rot gewonnen."},
        {true, false, kYellow, "Der Spieler Gelb (CPU) hat gegen den Spieler Rot gewonnen."},
        {false, true, kYellow, "Der Spieler Gelb hat gegen den Spieler Rot (CPU) gewonnen."},
        {true, true, kRed, "Der Spieler Rot (CPU) hat gegen den Spieler Gelb (CPU) gewonnen."},
        {false, true, kRed, "Der Spieler Rot (CPU) hat gegen den Spieler Gelb gewonnen."},
        {true, false, kRed, "Der Spieler Rot hat gegen den Spieler Gelb (CPU) gewonnen."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        GameState s;
        RecordingView v{&s.board};
        TurnController tc{s, v};
        const Player loser = c.winner == kYellow ? kRed : kYellow;
        for (int column = 0; column < 3; ++column) {
            DropPiece(s.board, column, c.winner);
            DropPiece(s.board, column, loser);
        }
        v.computer[kYellow] = c.yellowCpu;
        v.computer[kRed] = c.redCpu;
        s.currentPlayer = c.winner;

        tc.ColumnChosen(3);

        EXPECT_EQ(v.messages, std::vector<std::string>{c.text});
    }
}

TEST_F(Game, AfterAWinTheButtonsAreOffTheWinnerStaysToMoveAndTheLoserStartsNext) {
    PlayersAreHumans();
    YellowThreatensFour();
    state.currentPlayer = kYellow;

    controller.ColumnChosen(3);

    EXPECT_FALSE(view.buttonsEnabled);
    EXPECT_EQ(state.currentPlayer, kYellow);
    EXPECT_EQ(view.highlighted, 4) << "the four keeps its border";
    EXPECT_EQ(view.Count(Op::SetWindowEnabled), 0);

    controller.NewGame();
    EXPECT_EQ(state.currentPlayer, kRed);
    EXPECT_TRUE(view.buttonsEnabled);
    EXPECT_EQ(view.highlighted, 0);
}

TEST_F(Game, AComputersWinLeavesTheWindowToTheHandlerThatStartedItsMove) {
    YellowThreatensFour();
    state.currentPlayer = kRed;

    controller.ColumnChosen(5);

    EXPECT_EQ(state.board.At(3, 0), kYellow);
    EXPECT_EQ(state.currentPlayer, kYellow);
    EXPECT_EQ(view.messages, std::vector<std::string>{
                                 "Der Spieler Gelb (CPU) hat gegen den Spieler Rot gewonnen."});
    const std::vector<Call> order{{Op::SetWindowEnabled, 0},
                                  {Op::SetWindowEnabled, 0},
                                  {Op::SetColumnButtonsEnabled, 0},
                                  {Op::SetWindowEnabled, 1}};
    EXPECT_EQ(view.Only({Op::SetWindowEnabled, Op::SetColumnButtonsEnabled}), order);
}

TEST_F(Game, AClickOnAFullColumnChangesNothing) {
    // Column 0 holds a four, so any evaluation would show up as a highlight.
    for (Player p : {kYellow, kYellow, kYellow, kYellow, kRed, kRed, kRed}) {
        Drop(0, p);
    }
    state.currentPlayer = kRed;
    const Board before = state.board;

    controller.ColumnChosen(0);

    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(state.board, before);
    EXPECT_EQ(state.currentPlayer, kRed);
}

TEST_F(Game, OnAFullBoardTheComputerPlacesNothingAndTheWindowComesBack) {
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            if (column != 6 || row != 6) {
                Drop(column, static_cast<Player>(1 + (row / 2 + column) % 2));
            }
        }
    }
    RecordingView scratch;
    ASSERT_LT(std::abs(Evaluate(state.board, scratch)), kWinThreshold);
    state.currentPlayer = kRed;

    controller.ColumnChosen(6);

    EXPECT_EQ(Discs(state.board), kCells);
    EXPECT_EQ(view.Count(Op::DrawBoard), 1);
    EXPECT_EQ(view.Count(Op::ResetCounters), 1) << "the computer did search";
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(state.currentPlayer, kYellow);
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(Game, ADifficultyChangeDuringASearchAppliesToTheNextSearchOnly) {
    controller.StartUp();
    controller.NewGame();
    bool changed = false;
    view.onPump = [&](Op source) {
        if (source == Op::PumpEvents && view.searchedMoves > 0 && !changed) {
            controller.SetDifficulty(0);
            changed = true;
        }
    };
    Drop(3, kRed);
    RecordingView depth3;
    const std::int16_t first = ExpectedMove(3, kYellow, depth3);
    TakeBack(state.board, 3);

    controller.ColumnChosen(3);
    ASSERT_TRUE(changed);
    EXPECT_EQ(state.board.At(first, first == 3 ? 1 : 0), kYellow);
    EXPECT_EQ(view.searchedMoves, depth3.searchedMoves);

    Drop(0, kRed);
    RecordingView depth2;
    ExpectedMove(2, kYellow, depth2);
    TakeBack(state.board, 0);
    controller.ColumnChosen(0);
    EXPECT_EQ(view.searchedMoves, depth2.searchedMoves);
    EXPECT_NE(depth2.searchedMoves, depth3.searchedMoves);
}

TEST_F(Game, ClicksAndNewGamesDuringAPersonsTurnAreIgnoredButCheckMarksCount) {
    PlayersAreHumans();
    controller.StartUp();
    bool newGameRan = true;
    bool injected = false;
    view.onPump = [&](Op source) {
        if (source == Op::DrawBoard && !injected) {
            injected = true;
            controller.ColumnChosen(4);
            newGameRan = controller.NewGame();
            view.computer[kRed] = true;
        }
    };

    controller.ColumnChosen(2);

    EXPECT_FALSE(newGameRan);
    EXPECT_EQ(state.board.At(2, 0), kYellow);
    EXPECT_EQ(state.board.At(4, 0), kEmpty);
    EXPECT_EQ(Discs(state.board), 2) << "red, checked during the turn, answered";
    EXPECT_EQ(state.currentPlayer, kYellow);
    EXPECT_FALSE(controller.TurnInProgress());
}

TEST_F(Game, AClickWhileANewGameProcessesEventsIsIgnored) {
    controller.StartUp();
    view.onPump = [&](Op) { controller.ColumnChosen(1); };
    controller.NewGame();
    EXPECT_EQ(Discs(state.board), 0);
    EXPECT_EQ(state.currentPlayer, kRed);
}

TEST_F(Game, EveryStepAfterTheEvaluationIsTriedEvenWhenEachFails) {
    PlayersAreHumans();
    bool evaluated = false;
    view.onCall = [&](Op op) {
        if (evaluated) {
            throw std::runtime_error("broken window");
        }
        evaluated = op == Op::DrawBoard;
    };

    EXPECT_NO_THROW(controller.ColumnChosen(2));

    const std::vector<Call> tried{{Op::DrawBoard},
                                  {Op::ShowPlayerToMove, kRed},
                                  {Op::SetWindowEnabled, 0},
                                  {Op::IsComputer, kYellow},
                                  {Op::SetWindowEnabled, 1}};
    EXPECT_EQ(view.calls, tried);
    EXPECT_EQ(state.currentPlayer, kYellow) << "the failed step did not pass the turn";
}

TEST_F(Game, AFailedWinMessageStillDisablesTheButtons) {
    PlayersAreHumans();
    YellowThreatensFour();
    state.currentPlayer = kYellow;
    view.buttonsEnabled = true;
    view.onCall = [](Op op) {
        if (op == Op::ShowMessage) {
            throw std::runtime_error("no message box");
        }
    };
    EXPECT_NO_THROW(controller.ColumnChosen(3));
    EXPECT_FALSE(view.buttonsEnabled);
    EXPECT_EQ(state.currentPlayer, kYellow);
}

TEST_F(Game, FailuresInsideTheComputersMoveAreAbandonedByTheHandlerThatStartedIt) {
    state.currentPlayer = kRed;
    view.onCall = [](Op op) {
        if (op == Op::ResetCounters) {
            throw std::runtime_error("search failed");
        }
    };
    EXPECT_NO_THROW(controller.ColumnChosen(1));
    EXPECT_EQ(Discs(state.board), 1);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(state.currentPlayer, kYellow);

    // A failure before the nested handler's own continue-on-error steps: its disc stays and
    // the turn stays with the computer.
    view.onCall = [&](Op op) {
        if (op == Op::DrawBoard && Discs(state.board) == 2) {
            throw std::runtime_error("repaint failed");
        }
    };
    state.currentPlayer = kRed;
    ClearBoard(state.board);
    EXPECT_NO_THROW(controller.ColumnChosen(1));
    EXPECT_EQ(Discs(state.board), 2);
    EXPECT_EQ(state.currentPlayer, kYellow);
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(Game, ARequestToEndTheProgramIsNeverSwallowed) {
    state.currentPlayer = kRed;
    view.onPump = [](Op source) {
        if (source == Op::PumpEvents) {
            throw ExitRequested{};
        }
    };
    EXPECT_THROW(controller.ColumnChosen(1), ExitRequested);
    EXPECT_FALSE(view.windowEnabled);
    EXPECT_FALSE(controller.TurnInProgress());

    view.onPump = nullptr;
    view.calls.clear();
    ClearBoard(state.board);
    PlayersAreHumans();
    YellowThreatensFour();
    state.currentPlayer = kYellow;
    view.onCall = [](Op op) {
        if (op == Op::ShowMessage) {
            throw ExitRequested{};
        }
    };
    EXPECT_THROW(controller.ColumnChosen(3), ExitRequested);
    EXPECT_EQ(view.Count(Op::SetColumnButtonsEnabled), 0);
}

}  // namespace
}  // namespace marlovin
