// The steps of a start: choose the display, start Qt with its messages held, fail in one line or
// go on, Qt's German texts, the window, SIGTERM, the event loop.
#include <QApplication>
#include <QString>
#include <cstdlib>
#include <string>

#include "app/displaychoice.h"
#include "app/failstart.h"
#include "app/heldmessages.h"
#include "app/qttranslation.h"
#include "app/terminatehandler.h"
#include "ui/frmmain.h"
#include "version.h"

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char* argv[]) {
    const marlovin::DisplayChoice display = marlovin::ChooseDisplay(Environment);
    if (!display.missing.empty())
        marlovin::FailStart(QString::fromStdString(display.missing));
    if (!display.platform.empty())
        qputenv("QT_QPA_PLATFORM", display.platform.c_str());

    marlovin::HeldMessages held;
    QApplication app(argc, argv);
    // Some platforms (linuxfb without a frame buffer) start without a screen; the first window
    // would then abort.
    if (QGuiApplication::primaryScreen() == nullptr)
        held.Fail(QGuiApplication::platformName(), QStringLiteral("has no screen"));
    held.PassOn();

    // Without the translation Qt's English key names remain; the game is still playable.
    marlovin::InstallQtGermanTexts();
    // Docks pair the window with its menu entry by these: on X11 the application name is the
    // window's class (the entry's StartupWMClass), on Wayland the entry's name is the app id.
    QApplication::setApplicationName(QStringLiteral("Marlovin"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(marlovin::version::kAppId));

    marlovin::frmMain window;
    marlovin::TerminateHandler onTerminate([&window] { window.CloseOverModal(); });
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return QApplication::exec();
}
