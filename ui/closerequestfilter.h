#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>

class QWidget;

namespace marlovin {

// Qt refuses the window manager's close request for a window that a modal window blocks, so the
// main window's close box would do nothing while the win message or the About window is open.
// This filter catches that request first (on X11 and Windows; elsewhere it does nothing) and hands
// it to the window, which ends the program as its close box does at any other moment.
class CloseRequestFilter : public QAbstractNativeEventFilter {
  public:
    CloseRequestFilter(QWidget* window, std::function<void()> onBlockedClose);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    QWidget* window_;
    std::function<void()> onBlockedClose_;
    // X11's names for the request.
    std::uint32_t protocolsAtom_ = 0;
    std::uint32_t deleteWindowAtom_ = 0;
};

}  // namespace marlovin
