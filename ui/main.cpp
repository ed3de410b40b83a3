#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QRegularExpression>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/displaycheck.h"
#include "ui/frmmain.h"
#include "ui/qttranslation.h"
#include "ui/terminate.h"
#include "version.h"

namespace {

// A start without a display ends in this one line, with what failed, and status 1.
[[noreturn]] void FailStart(const QString& what) {
    const QString line =
        "marlovin: this game needs a graphical display, and none could be opened: " + what + '\n';
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::_Exit(EXIT_FAILURE);
}

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

// While the platform starts, Qt's messages and what its libraries write to stderr themselves
// (libwayland does) are held back: a failed start tells only its one line, a good one passes them
// on.
std::vector<HeldMessage> heldMessages;
QtMessageHandler previousHandler = nullptr;
std::FILE* heldStderr = nullptr;
int realStderr = -1;

void HoldStderr() {
    heldStderr = std::tmpfile();
    if (heldStderr == nullptr)
        return;
    std::fflush(stderr);
    realStderr = dup(STDERR_FILENO);
    if (realStderr < 0 || dup2(fileno(heldStderr), STDERR_FILENO) < 0) {
        if (realStderr >= 0)
            close(realStderr);
        std::fclose(heldStderr);
        heldStderr = nullptr;
    }
}

// Puts the real stderr back; returns what was written to it meanwhile.
std::string ReleaseStderr() {
    std::string held;
    if (heldStderr == nullptr)
        return held;
    std::fflush(stderr);
    dup2(realStderr, STDERR_FILENO);
    close(realStderr);
    std::rewind(heldStderr);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, heldStderr)) > 0;)
        held.append(buffer, n);
    std::fclose(heldStderr);
    heldStderr = nullptr;
    return held;
}

// The platform that failed, as Qt's plugin loader names it, and the last thing said about it,
// preferably by the platform itself.
QString WhatFailed(QString platform, const QString& failure) {
    static const QRegularExpression pluginName(QStringLiteral("platform plugin \"([^\"]*)\""));
    for (const HeldMessage& message : heldMessages) {
        const QRegularExpressionMatch match = pluginName.match(message.text);
        if (match.hasMatch())
            platform = match.captured(1);
    }
    QString detail;
    int best = -1;
    for (const HeldMessage& message : heldMessages) {
        if (message.type == QtDebugMsg || message.type == QtInfoMsg)
            continue;
        // The loader's message says least, one that names the platform most.
        const int rank = pluginName.match(message.text).hasMatch() ? 0
                         : message.text.contains(platform)         ? 2
                                                                   : 1;
        if (rank >= best) {
            best = rank;
            detail = message.text;
        }
    }
    return "the Qt platform \"" + platform + "\" " + failure +
           (detail.isEmpty() ? QString() : " (" + detail.simplified() + ")");
}

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        ReleaseStderr();
        const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
        FailStart(WhatFailed(chosen.isEmpty() ? QStringLiteral("xcb") : chosen,
                             QStringLiteral("could not be started")));
    }
    heldMessages.push_back({type, context.category != nullptr ? context.category : "", text});
}

}  // namespace

int main(int argc, char* argv[]) {
    const marlovin::DisplayChoice display = marlovin::ChooseDisplay([](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    });
    if (!display.missing.empty())
        FailStart(QString::fromStdString(display.missing));
    if (!display.platform.empty())
        qputenv("QT_QPA_PLATFORM", display.platform.c_str());

    HoldStderr();
    previousHandler = qInstallMessageHandler(StartupMessageHandler);
    QApplication app(argc, argv);
    // Some platforms (linuxfb without a frame buffer) start without a screen; the first window
    // would then abort.
    if (QGuiApplication::primaryScreen() == nullptr) {
        ReleaseStderr();
        FailStart(WhatFailed(QGuiApplication::platformName(), QStringLiteral("has no screen")));
    }
    qInstallMessageHandler(previousHandler);
    std::fputs(ReleaseStderr().c_str(), stderr);
    // Qt's complaints about the platform were only of use had it failed.
    for (const HeldMessage& message : heldMessages) {
        if (!QLatin1String(message.category.c_str()).startsWith(QLatin1String("qt.qpa.")))
            previousHandler(message.type,
                            QMessageLogContext(nullptr, 0, nullptr, message.category.c_str()),
                            message.text);
    }
    heldMessages.clear();

    // Without the translation Qt's English key names remain; the game is still playable.
    marlovin::InstallQtGermanTexts();
    QApplication::setApplicationName(QStringLiteral("Marlovin"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(marlovin::version::kAppId));

    marlovin::frmMain window;
    marlovin::TerminateHandler onTerminate([&window] { window.CloseOverModal(); });
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return QApplication::exec();
}
