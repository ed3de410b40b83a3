#include "ui/inputrefusal.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "ui/keyboardplay.h"

namespace marlovin {

namespace {

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputRefusal::InputRefusal(QWidget* window, KeyboardPlay& keyboardPlay)
    : window_(window), keyboardPlay_(keyboardPlay) {
    qApp->installEventFilter(this);
}

InputRefusal::~InputRefusal() {
    qApp->removeEventFilter(this);
}

// The window's native window, its widgets, and objects such as its actions whose nearest widget
// ancestor is one of them.
bool InputRefusal::BelongsToWindow(QObject* object) const {
    if (object == window_->windowHandle())
        return true;
    for (QObject* o = object; o != nullptr; o = o->parent()) {
        if (o->isWidgetType())
            return static_cast<QWidget*>(o)->window() == window_;
    }
    return false;
}

bool InputRefusal::eventFilter(QObject* watched, QEvent* event) {
    if (!refusing_)
        return false;
    if (event->type() == QEvent::ShortcutOverride && BelongsToWindow(watched)) {
        // Claiming the key for the focus widget keeps Ctrl+N and the menu keys from firing; the
        // key press itself is then dropped below.
        event->accept();
        return true;
    }
    if (!IsInputEvent(event->type()) || !BelongsToWindow(watched))
        return false;
    // A held key's release may be dropped here and its paired press arrive once input is taken
    // again; the keyboard play must still see that press as a repeat.
    if (event->type() == QEvent::KeyRelease)
        keyboardPlay_.NoteRelease(*static_cast<QKeyEvent*>(event));
    return true;
}

}  // namespace marlovin
