#pragma once

#include <QObject>

class QWidget;

namespace marlovin {

class KeyboardPlay;

// While the computer moves, the main window takes no input, yet looks as always: disabling its
// widgets would grey them. Instead this drops, for as long as it refuses, every input event
// (mouse, keys, shortcuts, wheel, touch, tablet, context menu) meant for the window, its controls,
// menus and actions. Other windows, the win message among them, keep working.
class InputRefusal : public QObject {
    Q_OBJECT
  public:
    // Watches the whole application for input meant for window. The keyboard play hears of the
    // key releases that are dropped.
    InputRefusal(QWidget* window, KeyboardPlay& keyboardPlay);
    ~InputRefusal() override;
    InputRefusal(const InputRefusal&) = delete;
    InputRefusal& operator=(const InputRefusal&) = delete;

    void SetRefusing(bool refusing) { refusing_ = refusing; }
    bool Refusing() const { return refusing_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool BelongsToWindow(QObject* object) const;

    QWidget* window_;
    KeyboardPlay& keyboardPlay_;
    bool refusing_ = false;
};

}  // namespace marlovin
