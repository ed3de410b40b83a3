#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/gameview.h"
#include "game/gamestate.h"
#include "game/turncontroller.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace marlovin {

class Accessibility;
class CloseRequestFilter;
class InputRefusal;
class KeyboardPlay;
class Shape;

// The main window: the board as 49 circles on a square, the seven column buttons, the status line
// and the two search counters, under the game's menu bar. It turns clicks and menu commands into
// turn-controller calls and is the GameView the game logic draws through. It owns the game state
// for the program's lifetime.
//
// While the computer searches, the view is called once or more per searched move. To keep that
// cheap the counters and the status line are held as values and written to their labels only
// before events are processed (so every repaint shows them exactly) and when the search ends, and
// a disabled window processes events at most once per display frame.
//
// The digit keys 0 to 6 play like the column buttons. Screen readers hear who is to move after
// each move (the status line is then written at once) and the result of a won game, but not the
// search's changes of the status line.
class frmMain : public QMainWindow, public GameView {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Event handlers.
    void Form_Load();
    void Command1_Click(int index);
    void mPlayNew_Click();
    void mExit_Click();
    void mCPUr_Click();
    void mCPUyellow_Click();
    void mS1_Click(int index);
    void mInfo_Click();

    // GameView.
    void DrawBoard() override;
    void HighlightFour(const std::array<Cell, 4>& cells) override;
    void ResetHighlights() override;
    void ShowPlayerToMove(Player player) override;
    void SetStatusText(std::string_view text) override;
    void ResetCounters() override;
    void IncrementCounter(Counter counter) override;
    void PumpEvents() override;
    void SetColumnButtonsEnabled(bool enabled) override;
    void SetWindowEnabled(bool enabled) override;
    bool IsComputer(Player player) override;
    void ShowMessage(std::string_view text) override;

    const GameState& State() const { return state_; }
    const TurnController& Controller() const { return controller_; }
    // False while SetWindowEnabled(false) holds.
    bool WindowInputEnabled() const;
    // True once the window has been closed or "&Verlassen" chosen.
    bool QuitRequested() const { return quitRequested_; }
    // The close box, also while a modal window blocks this one: ends the modal windows, then
    // closes as usual.
    void CloseOverModal();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateMenus();
    // Runs controller work from a handler; an exit request unwinds to here, never into Qt.
    void RunHandler(const std::function<void()>& work);
    // Writes the held counter values and status text to their labels.
    void SyncLabels();
    // Syncs the labels, processes every waiting event and unwinds if the program is to end.
    void ProcessEvents();

    GameState state_;
    TurnController controller_{state_, *this};

    Shape* Shape1 = nullptr;
    std::array<Shape*, kCells> matrix{};
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    std::array<QPushButton*, kColumns> Command1{};

    QMenu* mPlay = nullptr;
    QAction* mPlayNew = nullptr;
    QAction* mExit = nullptr;
    QMenu* mOptions = nullptr;
    QMenu* mCPU = nullptr;
    QAction* mCPUr = nullptr;
    QAction* mCPUyellow = nullptr;
    QMenu* m1 = nullptr;
    std::array<QAction*, 4> mS1{};
    QAction* mInfo = nullptr;

    // Counter values; blank (never reset) until the first search starts.
    bool countersShown_ = false;
    std::array<std::int64_t, 2> counters_{};
    std::array<std::int64_t, 2> writtenCounters_{-1, -1};
    // The player the status line is to name, when that is newer than the last text written.
    bool statusPending_ = false;
    Player statusPlayer_ = kYellow;
    bool statusComputer_ = false;

    std::unique_ptr<CloseRequestFilter> closeFilter_;
    QElapsedTimer lastPump_;
    int handlerDepth_ = 0;
    bool quitRequested_ = false;
    // Between a search's first and last call: its changes of the player to move are not news.
    bool searching_ = false;
    std::unique_ptr<Accessibility> accessibility_;
    KeyboardPlay* keyboardPlay_ = nullptr;
    std::unique_ptr<InputRefusal> inputRefusal_;
};

}  // namespace marlovin
