#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace marlovin {

// SIGTERM (a session's logout, a service manager, kill) would end the process by signal, without
// the window's own ending. While this object lives, the signal instead runs onTerminate from the
// event loop. One instance at a time.
class TerminateHandler : public QObject {
    Q_OBJECT
  public:
    explicit TerminateHandler(std::function<void()> onTerminate, QObject* parent = nullptr);
    ~TerminateHandler() override;
    TerminateHandler(const TerminateHandler&) = delete;
    TerminateHandler& operator=(const TerminateHandler&) = delete;

  private:
    void Drain();

    std::function<void()> onTerminate_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace marlovin
