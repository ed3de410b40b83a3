#pragma once

#include <QString>
#include <array>

#include "engine/board.h"

class QLabel;
class QPushButton;

namespace marlovin {

class Shape;

// German names and descriptions of the main window's controls for screen readers. The circles
// are named after their cell and colour ("Spalte 3, Reihe 0: rot") and the square describes the
// whole board column by column; the counter values carry their captions.
//
// The status line's accessible name changes only when the window announces it, so a screen
// reader hears who is to move after each move and the result of a game, but not the search's
// rapid changes of the visible text.
class Accessibility {
  public:
    struct Controls {
        std::array<QPushButton*, kColumns> buttons{};
        std::array<Shape*, kCells> circles{};
        Shape* board = nullptr;
        QLabel* status = nullptr;
        QLabel* searchedMoves = nullptr;
        QLabel* cutOffs = nullptr;
    };

    explicit Accessibility(const Controls& controls);

    // After the board has been painted from this position.
    void BoardPainted(const Board& board);
    // After the counter labels' texts have been written.
    void CountersWritten();
    // Makes text the status line's accessible name and tells screen readers it changed.
    void Announce(const QString& text);

    static QString CellName(int column, int row, CellCode code);

  private:
    Controls controls_;
    // What each circle's name says; codes outside 0..2 leave a circle as it was, like its fill.
    std::array<CellCode, kCells> named_{};
};

}  // namespace marlovin
