#include <gtest/gtest.h>

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

// One session: the first game goes to red, whose discs the computer answers at depth 3 while
// input is refused. Then a failing view: each failing step is skipped and the next one tried, but
// a request to end the program goes straight out. Then a four, or the last cell filled without
// one: the message (even when its box fails), the buttons off, no turn passed and no search; the
// four keeps its border, and the other colour starts the next game, which the computer opens when
// it plays that colour.
TEST(TurnController, aSessionOfGamesFollowsTheRulesOfTurnsInputFailuresAndEndings) {
    GameState state;
    testing::RecordingView view;
    TurnController controller{state, view};
    state.currentPlayer = kRed;
    controller.StartUp();
    EXPECT_EQ(view.calls, (std::vector<Call>{{'S', 0, "ready"}}));
    // Clicks and new games that arrive while a turn runs.
    view.onCall = [&](Call&) {
        controller.ColumnChosen(5);
        EXPECT_FALSE(controller.NewGame());
    };
    controller.SetDifficulty(4);  // deeper searches would freeze the window for hours
    controller.SetDifficulty(-1);
    EXPECT_TRUE(controller.NewGame());
    Board expected;
    DropPiece(expected, 2, kRed);
    testing::RecordingView scratch;
    DropPiece(expected, ChooseMove(expected, scratch, 3, kYellow), kYellow);
    controller.ColumnChosen(2);
    EXPECT_EQ(state.board, expected);
    EXPECT_EQ(view.counters, scratch.counters);
    // Disabled by the click's handler, the computer's move and the handler of the computer's
    // disc; enabled again from the inside out.
    EXPECT_EQ(view.Trace("BDWR"), "B1 D0 W0 W0 R0 D0 W0 W1 W1");

    view.calls.clear();
    view.onCall = [](Call& call) { call.op != 'D' ? throw std::runtime_error("") : void(); };
    EXPECT_NO_THROW(controller.ColumnChosen(2));
    view.onCall = [](Call& call) { call.op != 'D' ? throw ExitRequested{} : void(); };
    EXPECT_THROW(controller.ColumnChosen(2), ExitRequested);
    EXPECT_EQ(view.Trace("DHhPSRIEBWCM"), "D0 P1 W0 C2 W1 D0 P1");
    EXPECT_FALSE(controller.TurnInProgress());

    const std::string four = "0011223", draw = "0300100300112115112232252233433644544644556566566";
    // Check marks (indexed by player), colour of the first and the last disc, columns in turn.
    const std::tuple<std::array<bool, 3>, Player, std::string, std::string> cases[] = {
        {{0, 0, 1}, 1, four, "Der Spieler Gelb hat gegen den Spieler Rot (CPU) gewonnen."},
        {{0, 1, 1}, 2, four, "Der Spieler Rot (CPU) hat gegen den Spieler Gelb (CPU) gewonnen."},
        {{0, 1, 0}, 2, four, "Der Spieler Rot hat gegen den Spieler Gelb (CPU) gewonnen."},
        {{0, 0, 1}, 2, draw, "Das Spiel endet unentschieden."}};
    view.onCall = [](Call& call) { call.op == 'M' ? throw std::runtime_error("") : void(); };
    for (const auto& [computer, first, columns, text] : cases) {
        SCOPED_TRACE(text);
        ClearBoard(state.board);
        view.calls.clear();
        view.computer = computer;
        const auto other = Player(3 - first);
        for (std::size_t i = 0; i + 1 < columns.size(); ++i)
            DropPiece(state.board, columns[i] - '0', i % 2 ? other : first);
        state.currentPlayer = first;
        controller.ColumnChosen(columns.back() - '0');
        EXPECT_EQ(view.Trace("MBhWPR"), "M0" + text + " B0");
        controller.NewGame();
        EXPECT_EQ(view.Trace("P").substr(0, 2), (std::string{'P', char('0' + other)}));
        EXPECT_EQ(std::popcount(state.board.OccupiedBits()) == 0, !computer[other]);
    }
}

}  // namespace
}  // namespace marlovin
