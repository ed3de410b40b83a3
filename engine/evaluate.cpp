#include "engine/evaluate.h"

#include <cstdlib>

#include "engine/gameview.h"
#include "engine/windows.h"

namespace marlovin {

namespace {

Cell CellAt(int index) {
    return {index % kColumns, index / kColumns};
}

}  // namespace

std::int16_t CountLine(const Board& board, GameView& view, int c0, int r0, int dc, int dr) {
    const int endColumn = c0 + 3 * dc;
    const int endRow = r0 + 3 * dr;
    if (endColumn < 0 || endColumn >= kColumns || endRow < 0 || endRow >= kRows) {
        return 0;
    }
    int yellow = 0;
    int red = 0;
    std::array<Cell, 4> cells;
    for (int i = 0; i < 4; ++i) {
        cells[i] = {c0 + i * dc, r0 + i * dr};
        const CellCode code = board.At(cells[i].column, cells[i].row);
        yellow += code == kYellow;
        red += code == kRed;
    }
    if (yellow == 4 || red == 4) {
        view.HighlightFour(cells);
    }
    if (yellow > 0 && red > 0) {
        return 0;
    }
    return static_cast<std::int16_t>(yellow - red);
}

std::int32_t LineScore(const Board& board, GameView& view, int c0, int r0, int dc, int dr) {
    const int n = CountLine(board, view, c0, r0, dc, dr);
    return n < 0 ? -kScoreByCount[-n] : kScoreByCount[n];
}

std::int32_t Evaluate(const Board& board, GameView& view) {
    // The board keeps the sum up to date; only the highlighting needs a walk over the windows.
    if (board.Fours() > 0) {
        for (int w = 0; w < kWindowCount; ++w) {
            const int state = board.WindowState(w);
            if (state == kYellowFour || state == kRedFour) {
                const Window& window = kWindows[w];
                view.HighlightFour({CellAt(window.cells[0]), CellAt(window.cells[1]),
                                    CellAt(window.cells[2]), CellAt(window.cells[3])});
            }
        }
    }
    return board.Score();
}

}  // namespace marlovin
