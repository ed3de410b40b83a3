#include "ui/closerequestfilter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <utility>

#ifdef MARLOVIN_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace marlovin {

namespace {

#ifdef MARLOVIN_HAVE_XCB
std::uint32_t InternAtom(xcb_connection_t* connection, const char* name) {
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, length, name), nullptr);
    if (reply == nullptr)
        return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}
#endif

}  // namespace

CloseRequestFilter::CloseRequestFilter(QWidget* window, std::function<void()> onBlockedClose)
    : window_(window), onBlockedClose_(std::move(onBlockedClose)) {
#ifdef MARLOVIN_HAVE_XCB
    // Other platforms (offscreen among them) may offer the interface without a connection.
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr ||
        x11->connection() == nullptr)
        return;
    protocolsAtom_ = InternAtom(x11->connection(), "WM_PROTOCOLS");
    deleteWindowAtom_ = InternAtom(x11->connection(), "WM_DELETE_WINDOW");
#endif
}

bool CloseRequestFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#ifdef MARLOVIN_HAVE_XCB
    if (deleteWindowAtom_ == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* request = static_cast<const xcb_client_message_event_t*>(message);
    if (request->format != 32 || request->type != protocolsAtom_ ||
        request->data.data32[0] != deleteWindowAtom_ || window_->windowHandle() == nullptr ||
        request->window != window_->winId())
        return false;
    // Without a modal window Qt delivers the close event itself.
    if (QApplication::activeModalWidget() == nullptr)
        return false;
    onBlockedClose_();
    return true;
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
    return false;
#endif
}

}  // namespace marlovin
