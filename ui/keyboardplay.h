#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "engine/board.h"

class QKeyEvent;
class QPushButton;
class QWidget;

namespace marlovin {

// Plays the game without a mouse: the digit keys 0 to 6, on the main row or the keypad, press the
// column button of the same number exactly as a click would, whenever that button takes clicks.
// Otherwise (button disabled, window refusing input) the key does nothing. Held keys do not
// repeat, so a key held down in a two-person game plays one disc, not a column full. Some X
// servers send a held key as release/press pairs with equal timestamps, not flagged as repeats;
// such a press counts as a repeat too.
class KeyboardPlay : public QObject {
    Q_OBJECT
  public:
    // Watches the keys that reach window; acceptsInput tells whether the window takes input now.
    KeyboardPlay(QWidget* window, const std::array<QPushButton*, kColumns>& buttons,
                 std::function<bool()> acceptsInput);

    // A release the window dropped before it could reach this (the window refusing input).
    void NoteRelease(const QKeyEvent& key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::array<QPushButton*, kColumns> buttons_;
    std::function<bool()> acceptsInput_;
    // Timestamp of each digit key's last release.
    std::array<quint64, kColumns> releasedAt_{};
};

}  // namespace marlovin
