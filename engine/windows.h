#pragma once

#include <array>
#include <cstdint>

#include "engine/board.h"

namespace marlovin {

// The 88 windows of four cells that Evaluate scores, in the order it scores (and highlights)
// them, and for every cell the windows that pass through it. Cells are flat indexes
// row * 7 + column.
inline constexpr int kMaxWindowsPerCell = 16;

// A window's state (Board::WindowState) counts yellow discs in steps of 1 and red ones in steps
// of 5, so a complete four is one of two values.
inline constexpr int kYellowStep = 1;
inline constexpr int kRedStep = 5;
inline constexpr int kYellowFour = 4 * kYellowStep;
inline constexpr int kRedFour = 4 * kRedStep;

// Score of a window holding n discs of one colour and none of the other.
inline constexpr std::array<std::int32_t, 5> kScoreByCount = {0, 1, 100, 10000, 1000000};

struct Window {
    std::array<std::uint8_t, 4> cells{};
};

struct CellWindows {
    int count = 0;
    std::array<std::uint8_t, kMaxWindowsPerCell> windows{};
};

namespace detail {

constexpr Window MakeWindow(int c0, int r0, int dc, int dr) {
    Window window;
    for (int i = 0; i < 4; ++i) {
        window.cells[i] = static_cast<std::uint8_t>((r0 + i * dr) * kColumns + c0 + i * dc);
    }
    return window;
}

constexpr std::array<Window, kWindowCount> MakeWindows() {
    std::array<Window, kWindowCount> windows{};
    int n = 0;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c <= 3; ++c) {
            windows[n++] = MakeWindow(c, r, 1, 0);
            windows[n++] = MakeWindow(r, c, 0, 1);
        }
    }
    for (int a = 0; a <= 3; ++a) {
        for (int b = 0; b <= 3; ++b) {
            windows[n++] = MakeWindow(a, b, 1, 1);
            windows[n++] = MakeWindow(a, b + 3, 1, -1);
        }
    }
    return windows;
}

constexpr std::array<CellWindows, kCells> MakeCellWindows(
    const std::array<Window, kWindowCount>& windows) {
    std::array<CellWindows, kCells> cells{};
    for (int w = 0; w < kWindowCount; ++w) {
        for (const std::uint8_t cell : windows[w].cells) {
            CellWindows& through = cells[cell];
            through.windows[through.count++] = static_cast<std::uint8_t>(w);
        }
    }
    return cells;
}

}  // namespace detail

inline constexpr std::array<Window, kWindowCount> kWindows = detail::MakeWindows();
inline constexpr std::array<CellWindows, kCells> kCellWindows = detail::MakeCellWindows(kWindows);

}  // namespace marlovin
