#include "ui/closerequestfilter.h"

#include <windows.h>

#include <QApplication>
#include <QWidget>
#include <utility>

namespace marlovin {

CloseRequestFilter::CloseRequestFilter(QWidget* window, std::function<void()> onBlockedClose)
    : window_(window), onBlockedClose_(std::move(onBlockedClose)) {}

// WM_CLOSE comes from the close box, the system menu, Alt+F4 and taskkill alike.
bool CloseRequestFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                           qintptr* result) {
    if (eventType != "windows_generic_MSG")
        return false;
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_CLOSE || window_->windowHandle() == nullptr ||
        msg->hwnd != reinterpret_cast<HWND>(window_->winId()))
        return false;
    // Without a modal window Qt delivers the close event itself.
    if (QApplication::activeModalWidget() == nullptr)
        return false;
    onBlockedClose_();
    // Qt's event dispatcher, unlike its window procedure, filters without a result to set.
    if (result != nullptr)
        *result = 0;
    return true;
}

}  // namespace marlovin
