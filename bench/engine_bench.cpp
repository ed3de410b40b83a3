// Times the computer's move choice of the fast engine against the literal reference, from the
// empty board and over a fixed suite of mid-game positions, with a view that does nothing.

#include <benchmark/benchmark.h>

#include <array>
#include <string_view>
#include <vector>

#include "bench/reference/reference.h"
#include "engine/gameview.h"
#include "engine/search.h"

namespace marlovin {
namespace {

// Columns played in turn, yellow first; none completes a four and the player to move has no
// immediate win, so every search goes to its full depth.
constexpr std::array<std::string_view, 24> kMidGame = {
    "61514244221",
    "6513024042522",
    "23056513502",
    "6624255315164",
    "125541360",
    "0243415134441",
    "302116065664",
    "421201002",
    "3341312105532622150014",
    "5646406252",
    "604315351031",
    "535500511441",
    "262065665",
    "3345063040520513146236",
    "01064566",
    "0455663035",
    "652305313611",
    "450264300",
    "244552403564266066263",
    "03133353120",
    "06540132301250045",
    "221543044613",
    "3433245106311311",
    "2620144131",
};

class NullView : public GameView {
  public:
    void DrawBoard() override {}
    void HighlightFour(const std::array<Cell, 4>&) override {}
    void ResetHighlights() override {}
    void ShowPlayerToMove(Player) override {}
    void SetStatusText(std::string_view) override {}
    void ResetCounters() override {}
    void IncrementCounter(Counter) override {}
    void PumpEvents() override {}
    void SetColumnButtonsEnabled(bool) override {}
    void SetWindowEnabled(bool) override {}
    bool IsComputer(Player) override { return false; }
    void ShowMessage(std::string_view) override {}
};

// Every search node below the root is announced by OtherPlayer, so nodes = announcements + 1.
class NodeCountingView : public NullView {
  public:
    long nodes = 0;
    void ShowPlayerToMove(Player) override { ++nodes; }
    void ResetCounters() override { ++nodes; }
};

struct Fast {
    using BoardType = Board;
    static void Drop(BoardType& board, int column, Player player) {
        DropPiece(board, column, player);
    }
    static int Choose(BoardType& board, GameView& view, int depth, Player player) {
        return ChooseMove(board, view, depth, player);
    }
};

struct Reference {
    using BoardType = reference::Board;
    static void Drop(BoardType& board, int column, Player player) {
        reference::DropPiece(board, column, player);
    }
    static int Choose(BoardType& board, GameView& view, int depth, Player player) {
        return reference::ChooseMove(board, view, depth, player);
    }
};

template <typename Engine>
struct Position {
    typename Engine::BoardType board{};
    Player toMove = kYellow;
};

template <typename Engine>
std::vector<Position<Engine>> MidGamePositions() {
    std::vector<Position<Engine>> positions;
    for (const std::string_view moves : kMidGame) {
        Position<Engine>& position = positions.emplace_back();
        for (const char column : moves) {
            Engine::Drop(position.board, column - '0', position.toMove);
            position.toMove = position.toMove == kYellow ? kRed : kYellow;
        }
    }
    return positions;
}

template <typename Engine>
void Run(benchmark::State& state, std::vector<Position<Engine>> positions) {
    const int depth = static_cast<int>(state.range(0));
    NodeCountingView counting;
    for (Position<Engine>& position : positions) {
        Engine::Choose(position.board, counting, depth, position.toMove);
    }
    NullView view;
    for (auto _ : state) {
        for (Position<Engine>& position : positions) {
            benchmark::DoNotOptimize(Engine::Choose(position.board, view, depth, position.toMove));
        }
    }
    state.counters["nodes"] = static_cast<double>(counting.nodes);
    state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(counting.nodes),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

template <typename Engine>
void ChooseMoveEmptyBoard(benchmark::State& state) {
    Run<Engine>(state, std::vector<Position<Engine>>(1));
}

template <typename Engine>
void ChooseMoveMidGame(benchmark::State& state) {
    Run<Engine>(state, MidGamePositions<Engine>());
}

BENCHMARK_TEMPLATE(ChooseMoveEmptyBoard, Fast)->DenseRange(2, 5)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(ChooseMoveEmptyBoard, Reference)
    ->DenseRange(2, 5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(ChooseMoveMidGame, Fast)->DenseRange(2, 5)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(ChooseMoveMidGame, Reference)->DenseRange(2, 5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace marlovin

BENCHMARK_MAIN();
