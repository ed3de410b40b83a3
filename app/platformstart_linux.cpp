#include "app/platformstart.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QObject>
#include <QString>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/displaychoice.h"
#include "app/failstart.h"
#include "app/heldmessages.h"
#include "app/terminatehandler.h"
#include "ui/frmmain.h"

namespace marlovin {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

struct PlatformStart::State {
    HeldMessages held;
    std::optional<TerminateHandler> onTerminate;
};

PlatformStart::PlatformStart() {
    const DisplayChoice display = ChooseDisplay(Environment);
    if (!display.missing.empty())
        FailStart(QString::fromStdString(display.missing));
    if (!display.platform.empty())
        qputenv("QT_QPA_PLATFORM", display.platform.c_str());
    state_ = std::make_unique<State>();
}

PlatformStart::~PlatformStart() = default;

void PlatformStart::QtStarted() {
    // Some platforms (linuxfb without a frame buffer) start without a screen; the first window
    // would then abort.
    if (QGuiApplication::primaryScreen() == nullptr)
        state_->held.Fail(QGuiApplication::platformName(), QStringLiteral("has no screen"));
    state_->held.PassOn();
}

void PlatformStart::EndOnOutsideRequests(frmMain& window) {
    state_->onTerminate.emplace([&window] { window.CloseOverModal(); });
    // Back to the signal's default while the application object still stands.
    QObject::connect(&window, &QObject::destroyed, QCoreApplication::instance(),
                     [this] { state_->onTerminate.reset(); });
}

}  // namespace marlovin
