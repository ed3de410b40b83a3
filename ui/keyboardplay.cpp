#include "ui/keyboardplay.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>
#include <utility>

namespace marlovin {

namespace {

// The column a key plays, or -1 for any other key.
int ColumnOf(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const int column = key.key() - Qt::Key_0;
    return column >= 0 && column < kColumns && modifiers == Qt::NoModifier ? column : -1;
}

}  // namespace

KeyboardPlay::KeyboardPlay(QWidget* window, const std::array<QPushButton*, kColumns>& buttons,
                           std::function<bool()> acceptsInput)
    : QObject(window), buttons_(buttons), acceptsInput_(std::move(acceptsInput)) {
    // Keys the focused widget leaves alone travel up to the window, where this sees them.
    window->installEventFilter(this);
}

void KeyboardPlay::NoteRelease(const QKeyEvent& key) {
    const int column = ColumnOf(key);
    if (column >= 0)
        releasedAt_[static_cast<std::size_t>(column)] = key.timestamp();
}

bool KeyboardPlay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease)
        NoteRelease(*static_cast<QKeyEvent*>(event));
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int column = ColumnOf(*key);
    if (column < 0)
        return QObject::eventFilter(watched, event);

    const auto index = static_cast<std::size_t>(column);
    // Events made up without a time (timestamp 0) are never taken for repeats.
    const bool repeat =
        key->isAutoRepeat() || (key->timestamp() != 0 && key->timestamp() == releasedAt_[index]);
    QPushButton* button = buttons_[index];
    if (!repeat && acceptsInput_() && button->isEnabled() && button->isVisible())
        button->click();
    return true;
}

}  // namespace marlovin
