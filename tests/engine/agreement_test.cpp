#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <sstream>
#include <vector>

#include "engine/evaluate.h"
#include "engine/search.h"
#include "bench/reference/reference.h"
#include "tests/support/recordingview.h"

namespace marlovin {
namespace {

using testing::RecordingView;
using testing::ViewCall;

// The same position on the fast board and on the reference board, each with a view that
// records every call together with the cells its board held at that moment.
struct Twin {
    Board fast;
    reference::Board slow;
    RecordingView fastView{&fast.Cells()};
    RecordingView slowView{&slow.cells};

    void Drop(int column, CellCode code) {
        DropPiece(fast, column, code);
        reference::DropPiece(slow, column, code);
    }
    void ForgetCalls() {
        fastView.calls.clear();
        slowView.calls.clear();
    }
};

::testing::AssertionResult SameCalls(const std::vector<ViewCall>& fast,
                                     const std::vector<ViewCall>& slow) {
    const auto [f, s] = std::mismatch(fast.begin(), fast.end(), slow.begin(), slow.end());
    if (f == fast.end() && s == slow.end()) {
        return ::testing::AssertionSuccess();
    }
    std::ostringstream out;
    out << "calls differ at " << (f - fast.begin()) << " of " << fast.size() << "/" << slow.size()
        << ": fast ";
    if (f != fast.end()) {
        testing::PrintTo(*f, &out);
    }
    out << ", reference ";
    if (s != slow.end()) {
        testing::PrintTo(*s, &out);
    }
    return ::testing::AssertionFailure() << out.str();
}

struct Shape {
    int minDiscs = 0;
    int maxDiscs = kCells;
    bool allowFours = false;
    int neutralPercent = 0;  // chance of a disc with code 3
};

// Random positions from a fixed seed: discs of alternating colour dropped into random columns,
// by default refusing any disc that would complete a four, as in a running game.
class PositionMaker {
  public:
    explicit PositionMaker(unsigned seed) : random_(seed) {}

    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    void Fill(Twin& twin, const Shape& shape) {
        const int discs = shape.minDiscs + Below(shape.maxDiscs - shape.minDiscs + 1);
        Player colour = static_cast<Player>(1 + Below(2));
        for (int placed = 0; placed < discs; ++placed) {
            const CellCode code = Below(100) < shape.neutralPercent ? CellCode{3} : colour;
            if (!DropSomewhere(twin, code, shape.allowFours)) {
                return;
            }
            colour = static_cast<Player>(3 - colour);
        }
    }

  private:
    bool DropSomewhere(Twin& twin, CellCode code, bool allowFours) {
        std::array<int, kColumns> order = {0, 1, 2, 3, 4, 5, 6};
        for (int i = kColumns - 1; i > 0; --i) {
            std::swap(order[i], order[Below(i + 1)]);
        }
        for (const int column : order) {
            if (!DropPiece(twin.fast, column, code)) {
                continue;
            }
            if (allowFours || twin.fast.Fours() == 0) {
                reference::DropPiece(twin.slow, column, code);
                return true;
            }
            TakeBack(twin.fast, column);
        }
        return false;
    }

    std::mt19937 random_;
};

// What the compared searches ran into, so the tests can show they covered the cases that matter.
struct Coverage {
    int searches = 0;
    int rootCutOffs = 0;
    int forcedResults = 0;  // root value other than 0
    int highlights = 0;
    int zeroGainFallbacks = 0;
};

// Runs Evaluate, Search and ChooseMove on both engines and expects the same results, the same
// view calls and boards that end as they began.
void ExpectAgreement(Twin& twin, int depth, Player player, Coverage& coverage) {
    const Board fastBefore = twin.fast;
    const reference::Board slowBefore = twin.slow;
    ASSERT_EQ(twin.fast.Cells(), twin.slow.cells);

    twin.ForgetCalls();
    EXPECT_EQ(Evaluate(twin.fast, twin.fastView), reference::Evaluate(twin.slow, twin.slowView));
    EXPECT_TRUE(SameCalls(twin.fastView.calls, twin.slowView.calls));

    twin.ForgetCalls();
    const SearchResult fast = Search(twin.fast, twin.fastView, depth, player, true);
    const SearchResult slow = reference::Search(twin.slow, twin.slowView, depth, player, true);
    EXPECT_EQ(fast.value, slow.value);
    EXPECT_EQ(fast.candidates, slow.candidates);
    EXPECT_TRUE(SameCalls(twin.fastView.calls, twin.slowView.calls));
    ++coverage.searches;
    coverage.rootCutOffs += twin.slowView.cutOffs == 1 && twin.slowView.searchedMoves == 0;
    coverage.forcedResults += slow.value != 0;
    coverage.highlights += !twin.slowView.CallsOf(testing::ViewOp::HighlightFour).empty();

    twin.ForgetCalls();
    const std::int16_t fastColumn = ChooseMove(twin.fast, twin.fastView, depth, player);
    const std::int16_t slowColumn = reference::ChooseMove(twin.slow, twin.slowView, depth, player);
    EXPECT_EQ(fastColumn, slowColumn);
    EXPECT_TRUE(SameCalls(twin.fastView.calls, twin.slowView.calls));
    if (slowColumn != kNoMove) {
        reference::Board played = twin.slow;
        reference::DropPiece(played, slowColumn, player);
        RecordingView quiet;
        coverage.zeroGainFallbacks +=
            reference::Evaluate(played, quiet) == reference::Evaluate(twin.slow, quiet);
    }

    EXPECT_EQ(twin.fast, fastBefore);
    EXPECT_EQ(twin.slow.cells, slowBefore.cells);
    EXPECT_EQ(twin.fast.Cells(), twin.slow.cells);
}

void ExpectAgreementOver(unsigned seed, int positions, int depth, const Shape& shape,
                         Coverage& coverage) {
    PositionMaker maker(seed);
    for (int i = 0; i < positions && !::testing::Test::HasFailure(); ++i) {
        Twin twin;
        maker.Fill(twin, shape);
        const Player player = static_cast<Player>(1 + i % 2);
        SCOPED_TRACE(::testing::Message() << "seed " << seed << " position " << i << " depth "
                                          << depth << " player " << player);
        ExpectAgreement(twin, depth, player, coverage);
    }
}

TEST(Agreement, shallowSearchesOfGamePositionsAgreeWithTheReference) {
    Coverage coverage;
    ExpectAgreementOver(11, 1500, 2, {}, coverage);
    ExpectAgreementOver(12, 700, 3, {}, coverage);
    EXPECT_GT(coverage.rootCutOffs, 100);
    EXPECT_GT(coverage.forcedResults, 300);
    EXPECT_GT(coverage.highlights, 300);
}

TEST(Agreement, deepSearchesOfGamePositionsAgreeWithTheReference) {
    Coverage coverage;
    ExpectAgreementOver(21, 120, 4, {0, 30}, coverage);
    ExpectAgreementOver(22, 16, 5, {0, 24}, coverage);
    EXPECT_GT(coverage.forcedResults, 10);
}

TEST(Agreement, nearlyFullBoardsAgreeWithTheReference) {
    Coverage coverage;
    for (int depth = 2; depth <= 5; ++depth) {
        ExpectAgreementOver(30 + depth, 400, depth, {38, 49}, coverage);
    }
    EXPECT_GT(coverage.zeroGainFallbacks, 0);
    EXPECT_GT(coverage.forcedResults, 1000);
}

TEST(Agreement, positionsAlreadyHoldingFoursAgreeWithTheReference) {
    Coverage coverage;
    for (int depth = 2; depth <= 4; ++depth) {
        ExpectAgreementOver(40 + depth, 300, depth, {10, 49, true}, coverage);
    }
    EXPECT_GT(coverage.highlights, 600);
}

TEST(Agreement, discsOfNeitherColourAgreeWithTheReference) {
    Coverage coverage;
    for (int depth = 2; depth <= 4; ++depth) {
        ExpectAgreementOver(50 + depth, 300, depth, {5, 49, depth == 4, 20}, coverage);
    }
    EXPECT_GT(coverage.forcedResults, 100);
}

TEST(Agreement, unusualPlayerCodesAndDepthsAgreeWithTheReference) {
    Coverage coverage;
    PositionMaker maker(60);
    for (int i = 0; i < 200 && !::testing::Test::HasFailure(); ++i) {
        Twin twin;
        maker.Fill(twin, {0, 40, i % 2 == 0, 10});
        const Player player = std::array<Player, 3>{3, -1, 7}[i % 3];
        SCOPED_TRACE(::testing::Message() << "position " << i << " player " << player);
        ExpectAgreement(twin, i % 4, player, coverage);
    }
}

}  // namespace
}  // namespace marlovin
