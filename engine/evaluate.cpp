#include "engine/evaluate.h"

#include <cmath>

#include "game/gameview.h"

namespace marlovin {

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
    int count = 0;
    if (yellow > 0) {
        count = yellow;
    }
    if (red > 0) {
        count = -red;
    }
    if (yellow > 0 && red > 0) {
        count = 0;
    }
    if (yellow == 4 || red == 4) {
        view.HighlightFour(cells);
    }
    return static_cast<std::int16_t>(count);
}

std::int32_t LineScore(const Board& board, GameView& view, int c0, int r0, int dc, int dr) {
    const int n = CountLine(board, view, c0, r0, dc, dr);
    if (n == 0) {
        return 0;
    }
    const double magnitude = std::pow(10.0, 2.0 * (std::abs(n) - 1));
    return static_cast<std::int32_t>(std::lround(n > 0 ? magnitude : -magnitude));
}

std::int32_t Evaluate(const Board& board, GameView& view) {
    double sum = 0;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c <= 3; ++c) {
            sum += LineScore(board, view, c, r, 1, 0);
            sum += LineScore(board, view, r, c, 0, 1);
        }
    }
    for (int a = 0; a <= 3; ++a) {
        for (int b = 0; b <= 3; ++b) {
            sum += LineScore(board, view, a, b, 1, 1);
            sum += LineScore(board, view, a, b + 3, 1, -1);
        }
    }
    return static_cast<std::int32_t>(std::lround(sum));
}

}  // namespace marlovin
