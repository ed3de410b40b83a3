#include "app/heldmessages.h"

#include <dlfcn.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QRegularExpression>

#include "app/failstart.h"

namespace marlovin {

namespace {

HeldMessages* holder = nullptr;

// Why the plugin that Qt would pick for the platform cannot be loaded; empty when it loads, or
// when there is none.
QString PluginLoadError(const QString& platform) {
    const QStringList paths = QCoreApplication::libraryPaths();
    for (const QString& path : paths) {
        const QDir folder(path + QStringLiteral("/platforms"));
        const QStringList files = folder.entryList(QDir::Files);
        for (const QString& file : files) {
            QPluginLoader plugin(folder.filePath(file));
            const QJsonArray keys = plugin.metaData()
                                        .value(QLatin1String("MetaData"))
                                        .toObject()
                                        .value(QLatin1String("Keys"))
                                        .toArray();
            if (!keys.contains(platform))
                continue;
            // Qt's own attempt leaves no reason behind; the dynamic linker gives it again.
            void* handle = dlopen(QFile::encodeName(plugin.fileName()).constData(), RTLD_NOW);
            return handle != nullptr ? QString() : QString::fromLocal8Bit(dlerror());
        }
    }
    return {};
}

}  // namespace

HeldMessages::HeldMessages() {
    holder = this;
    previousHandler_ = qInstallMessageHandler(Handle);
    heldStderr_ = std::tmpfile();
    if (heldStderr_ == nullptr)
        return;
    std::fflush(stderr);
    realStderr_ = dup(STDERR_FILENO);
    if (realStderr_ < 0 || dup2(fileno(heldStderr_), STDERR_FILENO) < 0) {
        if (realStderr_ >= 0)
            close(realStderr_);
        std::fclose(heldStderr_);
        heldStderr_ = nullptr;
    }
}

HeldMessages::~HeldMessages() {
    if (holder == this)
        PassOn();
}

std::string HeldMessages::ReleaseStderr() {
    std::string held;
    if (heldStderr_ == nullptr)
        return held;
    std::fflush(stderr);
    dup2(realStderr_, STDERR_FILENO);
    close(realStderr_);
    // What cannot be read back is lost; the start goes on all the same.
    if (std::fseek(heldStderr_, 0, SEEK_SET) == 0) {
        char buffer[4096];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, heldStderr_)) > 0)
            held.append(buffer, read);
    }
    std::fclose(heldStderr_);
    heldStderr_ = nullptr;
    return held;
}

void HeldMessages::Fail(QString platform, const QString& failure) {
    ReleaseStderr();
    static const QRegularExpression pluginName(QStringLiteral("platform plugin \"([^\"]*)\""));
    for (const Message& message : messages_) {
        const QRegularExpressionMatch match = pluginName.match(message.text);
        if (match.hasMatch())
            platform = match.captured(1);
    }
    const QString prefix = QStringLiteral("the Qt platform \"") + platform + QStringLiteral("\" ");
    // Qt's loader cannot tell a plugin that does not load from one that fails to start, and
    // since 6.5 blames a library for either; the dynamic linker knows which it is.
    const QString unloadable = PluginLoadError(platform);
    if (!unloadable.isEmpty())
        FailStart(prefix + QStringLiteral("could not be loaded: ") + unloadable);
    const QString ownCategory = QStringLiteral("qt.qpa.") + platform;
    QString detail;
    int best = -1;
    for (const Message& message : messages_) {
        if (message.type == QtDebugMsg || message.type == QtInfoMsg)
            continue;
        // The loader's messages say least, the platform's own most.
        int rank = 1;
        if (message.category == "qt.qpa.plugin" || pluginName.match(message.text).hasMatch())
            rank = 0;
        else if (ownCategory == QLatin1String(message.category.c_str()) ||
                 message.text.contains(platform))
            rank = 2;
        if (rank >= best) {
            best = rank;
            detail = message.text;
        }
    }
    QString what = prefix + failure;
    if (!detail.isEmpty())
        what += QStringLiteral(" (") + detail.simplified() + QLatin1Char(')');
    FailStart(what);
}

void HeldMessages::PassOn() {
    holder = nullptr;
    qInstallMessageHandler(previousHandler_);
    std::fputs(ReleaseStderr().c_str(), stderr);
    for (const Message& message : messages_) {
        if (QLatin1String(message.category.c_str()).startsWith(QLatin1String("qt.qpa.")))
            continue;
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
        previousHandler_(message.type, context, message.text);
    }
    messages_.clear();
}

void HeldMessages::Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
        if (chosen.isEmpty())
            chosen = QStringLiteral("xcb");
        holder->Fail(chosen, QStringLiteral("could not be started"));
    }
    const char* category = context.category != nullptr ? context.category : "";
    holder->messages_.push_back({type, category, text});
}

}  // namespace marlovin
