#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <string>
#include <vector>

namespace marlovin {

// While Qt's platform starts, its messages and what its libraries write to stderr themselves
// (libwayland does) are held back: a start that fails tells only its one line (FailStart, also on
// Qt's fatal message), one that succeeds passes them on. One instance, for the start only.
class HeldMessages {
  public:
    HeldMessages();
    ~HeldMessages();
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;

    // Ends the start in its one line: the platform that failed, as Qt's plugin loader names it
    // (`platform` if it names none), and `failure`, with the last thing said about it, preferably
    // by the platform itself.
    [[noreturn]] void Fail(QString platform, const QString& failure);
    // The platform is up: puts stderr back, writes what was held there, and hands Qt's messages
    // on, but for its complaints about platforms, which were only of use had it failed.
    void PassOn();

  private:
    struct Message {
        QtMsgType type;
        std::string category;
        QString text;
    };

    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
    // Puts the real stderr back; returns what was written to it meanwhile.
    std::string ReleaseStderr();

    std::vector<Message> messages_;
    QtMessageHandler previousHandler_ = nullptr;
    std::FILE* heldStderr_ = nullptr;
    int realStderr_ = -1;
};

}  // namespace marlovin
