#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <string>
#include <tuple>

#include "engine/search.h"
#include "game/turncontroller.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::Call;

class Game : public ::testing::Test {
  protected:
    int Discs() const { return std::popcount(state.board.OccupiedBits()); }

    GameState state;
    testing::RecordingView view;
    TurnController controller{state, view};
};

TEST_F(Game, theFirstNewGameGoesToRedAndEachRedDiscIsAnsweredAtDepthThreeWhileInputIsRefused) {
    // Clicks and new games that arrive while a turn processes events.
    int refused = 0;
    view.onCall = [&](Call& call) {
        if (call.op == 'E' || call.op == 'D') {
            controller.ColumnChosen(5);
            refused += controller.NewGame() ? 0 : 1;
        }
    };
    state.currentPlayer = kRed;
    controller.StartUp();
    ASSERT_EQ(view.Trace("DHhPSRIEBWCM"), "S0");
    EXPECT_EQ(view.calls[0].text, "ready");
    controller.SetDifficulty(4);  // deeper searches would freeze the window for hours
    controller.SetDifficulty(-1);
    EXPECT_TRUE(controller.NewGame());
    EXPECT_EQ(view.Trace("PBRW"), "P2 B1") << "no computer move";

    Board expected = state.board;
    DropPiece(expected, 2, kRed);
    testing::RecordingView scratch;
    DropPiece(expected, ChooseMove(expected, scratch, 3, kYellow), kYellow);
    controller.ColumnChosen(2);
    EXPECT_EQ(state.board, expected);
    EXPECT_EQ(state.currentPlayer, kRed);
    EXPECT_EQ(view.counters, scratch.counters);
    // Disabled by the click's handler, the computer's move and the handler of the computer's
    // disc; enabled again from the inside out.
    EXPECT_EQ(view.Trace("DWR"), "D0 W0 W0 R0 D0 W0 W1 W1");
    EXPECT_GE(refused, 3);
}

TEST_F(Game, aWinNamesTheComputersColoursThenTheButtonsAreOffAndTheLoserStartsTheNextGame) {
    // Check marks (indexed by player), winner, message.
    const std::tuple<std::array<bool, 3>, Player, const char*> cases[] = {
        {{0, 0, 0}, kYellow, "Der Spieler Gelb hat gegen den Spieler Rot gewonnen."},
        {{0, 0, 1}, kYellow, "Der Spieler Gelb hat gegen den Spieler Rot (CPU) gewonnen."},
        {{0, 1, 1}, kRed, "Der Spieler Rot (CPU) hat gegen den Spieler Gelb (CPU) gewonnen."},
        {{0, 1, 0}, kRed, "Der Spieler Rot hat gegen den Spieler Gelb (CPU) gewonnen."},
    };
    for (const auto& [computer, winner, text] : cases) {
        SCOPED_TRACE(text);
        ClearBoard(state.board);
        view.calls.clear();
        view.computer = computer;
        const auto loser = Player(3 - winner);
        for (int i = 0; i < 6; ++i)
            DropPiece(state.board, i / 2, i % 2 ? loser : winner);
        state.currentPlayer = winner;
        controller.ColumnChosen(3);
        EXPECT_EQ(view.Trace("MBh"), "M0 B0") << "the four keeps its border";
        EXPECT_EQ(std::ranges::find(view.calls, 'M', &Call::op)->text, text);
        controller.NewGame();
        EXPECT_EQ(view.Trace("P").substr(0, 2), (std::string{'P', char('0' + loser)}))
            << "the winner stayed to move";
        EXPECT_EQ(Discs() == 0, !computer[loser]) << "the board was cleared";
    }
}

TEST_F(Game, failingStepsAreSkippedOneByOneButARequestToEndTheProgramGoesStraightOut) {
    bool ending = false;
    view.onCall = [&](Call& call) {
        if (call.op != 'D')
            ending ? throw ExitRequested{} : throw std::runtime_error("broken window");
    };
    EXPECT_NO_THROW(controller.ColumnChosen(2));
    EXPECT_EQ(view.Trace("DHhPSRIEBWCM"), "D0 P2 W0 C1 W1");
    EXPECT_EQ(state.currentPlayer, kYellow) << "the failed step did not pass the turn";
    ending = true;
    view.calls.clear();
    EXPECT_THROW(controller.ColumnChosen(2), ExitRequested);
    EXPECT_EQ(view.Trace("DHhPSRIEBWCM"), "D0 P2");
    EXPECT_FALSE(controller.TurnInProgress());
}

TEST_F(Game, theLastCellFilledWithoutAFourIsADrawThatKeepsThePlayerAndSearchesNothing) {
    const std::string_view columns = "0300100300112115112232252233433644544644556566566";
    for (std::size_t i = 0; i + 1 < columns.size(); ++i)
        DropPiece(state.board, columns[i] - '0', i % 2 ? kYellow : kRed);
    state.currentPlayer = kRed;
    view.computer = {false, true, true};
    // A failing message box must not keep the buttons on (continue-on-error).
    view.onCall = [](Call& call) { call.op == 'M' ? throw std::runtime_error("") : 0; };
    controller.ColumnChosen(columns.back() - '0');
    EXPECT_EQ(view.Trace("MBWPR"), "M0 B0") << "no turn passed, no search";
    EXPECT_EQ(std::ranges::find(view.calls, 'M', &Call::op)->text,
              "Das Spiel endet unentschieden.");
    EXPECT_EQ(state.currentPlayer, kRed);
}

}  // namespace
}  // namespace marlovin
