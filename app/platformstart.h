#pragma once

#include <memory>

namespace marlovin {

class frmMain;

// What the platform needs done around Qt's start and for endings asked for from outside the
// window. Made before the application object: on Linux it chooses the display and holds Qt's
// start-up messages until the platform is up.
class PlatformStart {
  public:
    PlatformStart();
    ~PlatformStart();
    PlatformStart(const PlatformStart&) = delete;
    PlatformStart& operator=(const PlatformStart&) = delete;

    // The application object exists: a start that has no screen fails here in one line.
    void QtStarted();
    // From now on, until this object goes, an ending asked for from outside (a signal, the end of
    // the session) ends the game with status 0, also mid-search or under a modal window.
    void EndOnOutsideRequests(frmMain& window);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace marlovin
