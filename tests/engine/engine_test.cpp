#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <tuple>
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
        for (int w = 0; w < kWindowCount; ++w) {
            int state = 0;
            for (const int cell : kWindows[w].cells)
                state += slow.cells[cell] == kYellow ? 1 : slow.cells[cell] == kRed ? 5 : 0;
            EXPECT_EQ(board.WindowState(w), state) << "window " << w << ", step " << step;
        }
        // The literal evaluation highlights every four it counts.
        view.calls.clear();
        EXPECT_EQ(board.Score(), reference::Evaluate(slow, view)) << "step " << step;
        EXPECT_EQ(board.Fours(), int(view.calls.size())) << "step " << step;
        for (int c = -2; c <= kColumns; ++c)
            EXPECT_EQ(ColumnHeight(board, c), reference::ColumnHeight(slow, c));
    }
}

// Evaluations with the highlight of a four, then searches. Each search example also asks the
// program to end at calls spread over the whole move choice: the board must come back as it was.
TEST(Engine, examplePositionsGiveTheirScoresValuesCandidatesCountersAndMovesAndStayAsTheyWere) {
    const char* positions[] = {"", "y0", "y3", "n3n3n3y3", "y3r3", "y0y1y2", "y0y1y2y3"};
    const int values[] = {0, 3, 7, 16, -3, 10107, 1010110};
    RecordingView highlights;
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Evaluate(Drops(positions[i]), highlights), values[i]) << positions[i];
    EXPECT_EQ(highlights.calls,
              (std::vector<testing::Call>{{'H', 0, {}, {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}}}}));
    // Only (3, 6) free, and no four anywhere: pairs of rows alternate their colour pattern.
    const std::string even = "y0r1y2r3y4r5y6", odd = "r0y1r2y3r4y5r6";
    const Board lastFree = Drops(even + even + odd + odd + even + even + "r0y1r2r4y5r6");
    // Position, depth, player, value, candidates, move, cut-offs, searched moves. Code 0 puts no
    // disc down, so it has none to take back either.
    const std::tuple<Board, int, Player, int, std::string, int, int, int> examples[] = {
        {Board{}, 2, 1, 0, "0123456", 3, 0, 105},
        {Board{}, 3, 1, 0, "0123456", 3, 0, 742},
        {Drops("y0y1y2r6r6"), 2, 1, 2, "3", 3, 1, 0},
        {Drops("r0r1r2y6y6"), 2, 1, 0, "3", 3, 6, 21},
        {Drops("y3", lastFree), 3, 1, -100, "", -1, 0, 0},
        {lastFree, 2, 1, 100, "3", 3, 0, 1},
        {Drops("y2r2r4"), 3, 0, -100, "", -1, 0, 0},
    };
    for (const auto& [start, depth, player, value, columns, move, cutOffs, moves] : examples) {
        SCOPED_TRACE(::testing::PrintToString(std::tie(depth, player, value)));
        Board board = start;
        RecordingView view;
        const SearchResult result = Search(board, view, depth, player, true);
        EXPECT_EQ(std::tie(result.value, result.candidates), std::tie(value, columns));
        view.calls.clear();
        EXPECT_EQ(ChooseMove(board, view, depth, player), move);
        EXPECT_EQ(view.counters, (std::array{cutOffs, moves}));
        // The board as it was after that, also when the program ends at one of its calls.
        for (std::size_t n = 1, made = view.calls.size(); n < made; n = n * 3 + 1) {
            view.onCall = [n](auto&) mutable { n-- == 1 ? throw ExitRequested{} : void(); };
            EXPECT_THROW(ChooseMove(board, view, depth, player), ExitRequested);
            EXPECT_EQ(board, start) << "ended at call " << n;
        }
    }
}

// Random positions from fixed seeds, searched at one depth. Every score, choice and view call
// matches the literal reference, and so does the board at every call, the last one included.
TEST(Agreement, everyScoreChoiceAndViewCallMatchesTheReference) {
    // Positions, depth, discs from and to, fours allowed, percent of discs of neither colour, the
    // players to move taken in turn.
    const std::tuple<int, int, int, int, bool, unsigned, std::vector<Player>> suites[] = {
        {1500, 2, 0, 49, false, 0, {1, 2}}, {700, 3, 0, 49, false, 0, {1, 2}},
        {120, 4, 0, 30, false, 0, {1, 2}},  {16, 5, 0, 24, false, 0, {1, 2}},
        {800, 4, 38, 49, false, 0, {1, 2}}, {600, 3, 10, 49, true, 0, {1, 2}},
        {400, 4, 5, 49, false, 20, {1, 2}}, {200, 1, 0, 40, true, 10, {3, -1, 7, 2}}};
    std::mt19937 random(11);
    for (const auto& [count, depth, fewest, most, fours, neutral, players] : suites) {
        for (int i = 0; i < count && !HasFailure(); ++i) {
            Board fast;
            const int discs = fewest + int(random() % (most - fewest + 1));
            for (int tries = 300; tries-- > 0 && std::popcount(fast.OccupiedBits()) < discs;) {
                const int column = int(random() % kColumns);
                const auto code = CellCode(random() % 100 < neutral ? 3 : 1 + random() % 2);
                if (DropPiece(fast, column, code) && !fours && fast.Fours() > 0)
                    TakeBack(fast, column);
            }
            reference::Board slow{fast.Cells()};
            RecordingView fastView, slowView;
            fastView.onCall = [&](testing::Call& call) { call.board = fast.Cells(); };
            slowView.onCall = [&](testing::Call& call) { call.board = slow.cells; };
            const Player player = players[i % players.size()];
            SCOPED_TRACE(::testing::Message() << "suite of " << count << ", position " << i);
            const SearchResult found = Search(fast, fastView, depth, player, true);
            const SearchResult expected = reference::Search(slow, slowView, depth, player, true);
            EXPECT_EQ(std::tie(found.value, found.candidates),
                      std::tie(expected.value, expected.candidates));
            EXPECT_EQ(ChooseMove(fast, fastView, depth, player),
                      reference::ChooseMove(slow, slowView, depth, player));
            EXPECT_TRUE(fastView.calls == slowView.calls);
        }
    }
}

}  // namespace
}  // namespace marlovin
