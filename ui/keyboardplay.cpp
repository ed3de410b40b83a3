#include "ui/keyboardplay.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>
#include <utility>

namespace marlovin {

KeyboardPlay::KeyboardPlay(QWidget* window, const std::array<QPushButton*, kColumns>& buttons,
                           std::function<bool()> acceptsInput)
    : QObject(window), buttons_(buttons), acceptsInput_(std::move(acceptsInput)) {
    // Keys the focused widget leaves alone travel up to the window, where this sees them.
    window->installEventFilter(this);
}

bool KeyboardPlay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const int column = key->key() - Qt::Key_0;
    if (column < 0 || column >= kColumns || modifiers != Qt::NoModifier)
        return QObject::eventFilter(watched, event);

    QPushButton* button = buttons_[static_cast<std::size_t>(column)];
    if (!key->isAutoRepeat() && acceptsInput_() && button->isEnabled() && button->isVisible())
        button->click();
    return true;
}

}  // namespace marlovin
