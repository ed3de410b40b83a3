#include <gtest/gtest.h>

#include <bit>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/turncontroller.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using Calls = std::vector<std::string>;

class TurnControllerTest : public ::testing::Test {
  protected:
    GameState state;
    testing::RecordingView view;
    TurnController controller{state, view};
};

// A click on a full column, and clicks and new games that arrive while a turn runs, change
// nothing: no repaint, no computer move, the same player to move. The first game goes to red,
// whose disc the computer's yellow answers; input is refused meanwhile, by the click's handler,
// the computer's move and the handler of the computer's disc, and taken again from the inside out.
TEST_F(TurnControllerTest, clicksOnAFullColumnOrDuringATurnChangeNothing) {
    controller.StartUp();
    view.onCall = [this](const std::string&) {
        controller.ColumnChosen(5);
        EXPECT_FALSE(controller.NewGame());
    };
    EXPECT_TRUE(controller.NewGame());
    for (int row = 0; row < kRows; ++row)
        DropPiece(state.board, 6, static_cast<CellCode>(row % 2 + 1));
    view.calls.clear();
    controller.ColumnChosen(6);
    controller.ColumnChosen(2);

    EXPECT_EQ(state.board.At(2, 0), kRed);
    EXPECT_EQ(std::popcount(state.board.OccupiedBits()), kRows + 2);
    const Calls order = {"DrawBoard()",
                         "SetWindowEnabled(false)",
                         "SetWindowEnabled(false)",
                         "ResetCounters()",
                         "DrawBoard()",
                         "SetWindowEnabled(false)",
                         "SetWindowEnabled(true)",
                         "SetWindowEnabled(true)"};
    EXPECT_EQ(view.CallsOf({"DrawBoard", "SetWindowEnabled", "ResetCounters"}), order);
}

// Continue-on-error: each failing step is skipped and the next one tried.
TEST_F(TurnControllerTest, aFailingStepIsSkippedAndTheNextOneTried) {
    state.currentPlayer = kRed;
    view.onCall = [](const std::string& call) {
        if (call != "DrawBoard()")
            throw std::runtime_error("the window failed");
    };
    EXPECT_NO_THROW(controller.ColumnChosen(2));
    EXPECT_EQ(view.calls, (Calls{"DrawBoard()", "ShowPlayerToMove(1)", "SetWindowEnabled(false)",
                                 "IsComputer(2)", "SetWindowEnabled(true)"}));
}

struct Ending {
    std::array<bool, 3> computer;  // the check marks, indexed by player
    Player first;                  // the colour of the first disc and of the last
    std::string columns;           // in turn, the last one played through the controller
    std::string message;
    friend void PrintTo(const Ending& ending, std::ostream* out) { *out << ending.message; }
};

class EndingTest : public TurnControllerTest, public ::testing::WithParamInterface<Ending> {};

// A four, the last cell filled with one, or without one: the message (even when its box fails),
// the buttons off, no turn passed and no search. The next game goes to the colour that did not
// drop the last disc.
TEST_P(EndingTest, theGameEndsWithItsMessageAndTheOtherColourOpensTheNext) {
    const Ending& ending = GetParam();
    view.computer = ending.computer;
    // All but the last disc go straight onto the board, in turn.
    for (std::size_t i = 0; i + 1 < ending.columns.size(); ++i) {
        const int player = i % 2 == 0 ? ending.first : 3 - ending.first;
        DropPiece(state.board, ending.columns[i] - '0', static_cast<CellCode>(player));
    }
    state.currentPlayer = ending.first;
    view.onCall = [](const std::string& call) {
        if (call.starts_with("ShowMessage"))
            throw std::runtime_error("no message box");
    };
    controller.ColumnChosen(ending.columns.back() - '0');
    const Calls expected = {"ShowMessage(" + ending.message + ")",
                            "SetColumnButtonsEnabled(false)"};
    EXPECT_EQ(view.CallsOf({"ShowMessage", "SetColumnButtonsEnabled", "ShowPlayerToMove",
                            "SetWindowEnabled", "ResetCounters", "ResetHighlights"}),
              expected);
    // Without a computer to move first, the colour to move is the one that opens.
    view.computer = {false, false, false};
    controller.NewGame();
    EXPECT_EQ(state.currentPlayer, kYellow + kRed - ending.first);
}

const std::string kFour = "0011223";
const std::string kDraw = "0300100300112115112232252233433644544644556566566";
const std::string kFullWithFour = "3142105222502024021111334643645143060635546565603";

INSTANTIATE_TEST_SUITE_P(
    FoursAndDraws, EndingTest,
    ::testing::Values(Ending{{false, false, true},
                             kYellow,
                             kFour,
                             "Der Spieler Gelb hat gegen den Spieler Rot (CPU) gewonnen."},
                      Ending{{false, true, true},
                             kRed,
                             kFullWithFour,
                             "Der Spieler Rot (CPU) hat gegen den Spieler Gelb (CPU) gewonnen."},
                      Ending{{false, false, true}, kRed, kDraw, "Das Spiel endet unentschieden."}));

}  // namespace
}  // namespace marlovin
