#include <QApplication>
#include <QIcon>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "ui/frmmain.h"
#include "ui/terminate.h"

namespace {

const char* const kNoDisplay =
    "marlovin: this game needs a graphical display, and none could be opened "
    "(is DISPLAY set?)\n";

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt's xcb platform, the default here, aborts without an X display; other platforms chosen
// through QT_QPA_PLATFORM (offscreen, vnc, ...) need none.
bool DisplayLikelyAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0' && QString::fromLocal8Bit(platform) != "xcb")
        return true;
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

QtMessageHandler previousHandler = nullptr;

// While the application object is created, Qt's complaints about the display are replaced by
// one plain line, and its abort by an ordinary failure exit.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(EXIT_FAILURE);
    }
    const QLatin1String category(context.category != nullptr ? context.category : "");
    if (category.startsWith(QLatin1String("qt.qpa.")))
        return;
    previousHandler(type, context, text);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayLikelyAvailable()) {
        std::fputs(kNoDisplay, stderr);
        return EXIT_FAILURE;
    }

    previousHandler = qInstallMessageHandler(StartupMessageHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(previousHandler);

    QApplication::setApplicationName(QStringLiteral("Marlovin"));
    QGuiApplication::setDesktopFileName(QStringLiteral("marlovin"));

    marlovin::frmMain window;
    marlovin::TerminateHandler onTerminate([&window] { window.CloseOverModal(); });
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return QApplication::exec();
}
