#include "app/platformstart.h"

#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QObject>
#include <cstdio>

#include "ui/frmmain.h"

namespace marlovin {

namespace {

// Windows ends the process at any moment once the session's end has been announced, and no
// handler below a search or a modal window could unwind by then. The game keeps nothing to save,
// so it ends here, with the status of a normal ending.
class SessionEndFilter : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "windows_generic_MSG")
            return false;
        const auto* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_ENDSESSION && msg->wParam != FALSE) {
            std::fflush(nullptr);
            ::TerminateProcess(::GetCurrentProcess(), 0);
        }
        return false;
    }
};

}  // namespace

struct PlatformStart::State {
    SessionEndFilter sessionEnd;
};

PlatformStart::PlatformStart() : state_(std::make_unique<State>()) {}

PlatformStart::~PlatformStart() = default;

// Windows always starts with a screen, and Qt's messages go to the debugger, not to a console.
void PlatformStart::QtStarted() {}

// A close request by taskkill comes as WM_CLOSE, which the window's own filter takes.
void PlatformStart::EndOnOutsideRequests(frmMain& window) {
    QCoreApplication* app = QCoreApplication::instance();
    app->installNativeEventFilter(&state_->sessionEnd);
    QObject::connect(&window, &QObject::destroyed, app,
                     [this, app] { app->removeNativeEventFilter(&state_->sessionEnd); });
}

}  // namespace marlovin
