// The steps of a start: the platform's preparations, Qt, Qt's German texts, the window, endings
// asked for from outside, the event loop.
#include <QApplication>
#include <QString>

#include "app/platformstart.h"
#include "app/qttranslation.h"
#include "ui/frmmain.h"
#include "version.h"

int main(int argc, char* argv[]) {
    marlovin::PlatformStart platform;
    QApplication app(argc, argv);
    platform.QtStarted();

    // Without the translation Qt's English key names remain; the game is still playable.
    marlovin::InstallQtGermanTexts();
    // Docks pair the window with its menu entry by these: on X11 the application name is the
    // window's class (the entry's StartupWMClass), on Wayland the entry's name is the app id.
    QApplication::setApplicationName(QStringLiteral("Marlovin"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(marlovin::version::kAppId));

    marlovin::frmMain window;
    platform.EndOnOutsideRequests(window);
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return QApplication::exec();
}
