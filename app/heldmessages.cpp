#include "app/heldmessages.h"

#include <unistd.h>
#include <QRegularExpression>

#include "app/failstart.h"

namespace marlovin {

namespace {

HeldMessages* holder = nullptr;

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
    std::rewind(heldStderr_);
    char buffer[4096];
    std::size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, heldStderr_)) > 0)
        held.append(buffer, read);
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
    QString detail;
    int best = -1;
    for (const Message& message : messages_) {
        if (message.type == QtDebugMsg || message.type == QtInfoMsg)
            continue;
        // The loader's message says least, one that names the platform most.
        int rank = 1;
        if (pluginName.match(message.text).hasMatch())
            rank = 0;
        else if (message.text.contains(platform))
            rank = 2;
        if (rank >= best) {
            best = rank;
            detail = message.text;
        }
    }
    QString what = "the Qt platform \"" + platform + "\" " + failure;
    if (!detail.isEmpty())
        what += " (" + detail.simplified() + ")";
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
