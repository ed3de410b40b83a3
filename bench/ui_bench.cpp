// Times a "Stufe 4" computer move from the empty board in the real main window, once through the
// window's own view and once through a literal view that writes every counter and status text
// into its label and processes all events on every call. Run it with a display (xvfb-run).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QString>
#include <QWindow>

#include "engine/board.h"
#include "engine/gameview.h"
#include "engine/search.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

namespace marlovin {
namespace {

constexpr int kStufe4Depth = 5;

// Does on the window's controls exactly what each operation says, with no batching.
class LiteralView : public GameView {
  public:
    explicit LiteralView(frmMain& window) : window_(window) {
        for (int i = 0; i < kCells; ++i)
            matrix_[i] = window.findChild<Shape*>(QStringLiteral("matrix(%1)").arg(i));
        status_ = window.findChild<QLabel*>(QStringLiteral("Label1"));
        searched_ = window.findChild<QLabel*>(QStringLiteral("Label5"));
        cutOffs_ = window.findChild<QLabel*>(QStringLiteral("Label6"));
    }

    void DrawBoard() override { window_.DrawBoard(); }
    void HighlightFour(const std::array<Cell, 4>& cells) override {
        for (const Cell& cell : cells)
            matrix_[kRows * cell.column + cell.row]->SetBorderColor(Qt::black);
        PumpEvents();
    }
    void ResetHighlights() override { window_.ResetHighlights(); }
    void ShowPlayerToMove(Player player) override {
        QString text = player == kYellow ? QStringLiteral("Gelb") : QStringLiteral("Rot");
        if (IsComputer(player))
            text += QStringLiteral(" (CPU)");
        status_->setText(text);
    }
    void SetStatusText(std::string_view text) override {
        status_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    void ResetCounters() override {
        searched_->setText(QStringLiteral("0"));
        cutOffs_->setText(QStringLiteral("0"));
    }
    void IncrementCounter(Counter counter) override {
        QLabel* label = counter == Counter::SearchedMoves ? searched_ : cutOffs_;
        label->setText(QString::number(label->text().toDouble() + 1, 'g', 17));
    }
    void PumpEvents() override { QCoreApplication::processEvents(); }
    void SetColumnButtonsEnabled(bool enabled) override {
        window_.SetColumnButtonsEnabled(enabled);
    }
    void SetWindowEnabled(bool enabled) override { window_.SetWindowEnabled(enabled); }
    bool IsComputer(Player player) override { return window_.IsComputer(player); }
    void ShowMessage(std::string_view text) override { window_.ShowMessage(text); }

  private:
    frmMain& window_;
    std::array<Shape*, kCells> matrix_{};
    QLabel* status_ = nullptr;
    QLabel* searched_ = nullptr;
    QLabel* cutOffs_ = nullptr;
};

frmMain* window = nullptr;

// The computer's move for red from the empty board, with the window disabled as the turn
// controller keeps it during a search.
void RunMove(benchmark::State& state, GameView& view) {
    auto* searched = window->findChild<QLabel*>(QStringLiteral("Label5"));
    for (auto _ : state) {
        Board board;
        view.SetWindowEnabled(false);
        benchmark::DoNotOptimize(ChooseMove(board, view, kStufe4Depth, kRed));
        view.SetWindowEnabled(true);
    }
    state.counters["searched"] = searched->text().toDouble();
}

void BM_Stufe4MoveWindowView(benchmark::State& state) {
    RunMove(state, *window);
}

void BM_Stufe4MoveLiteralView(benchmark::State& state) {
    LiteralView literal(*window);
    RunMove(state, literal);
}

BENCHMARK(BM_Stufe4MoveWindowView)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Stufe4MoveLiteralView)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace marlovin

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    marlovin::frmMain mainWindow;
    mainWindow.show();
    const QDeadlineTimer deadline(10000);
    while (!(mainWindow.windowHandle() != nullptr && mainWindow.windowHandle()->isExposed()) &&
           !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    marlovin::window = &mainWindow;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
