// One complete game in the real window, the computer playing both colours at "Stufe &4", for a
// memory checker to watch. The win message is closed as soon as it shows. Exits 0 when the game
// ran to its end (a win or a full board), 1 otherwise.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "engine/board.h"
#include "ui/frmmain.h"

namespace {

// Closes every message box as it opens and remembers the last text.
class MessageCloser : public QObject {
  public:
    QString lastText;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                lastText = box->text();
                QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    MessageCloser closer;
    app.installEventFilter(&closer);

    auto window = std::make_unique<marlovin::frmMain>();
    window->show();
    auto trigger = [&window](const char* name) {
        window->findChild<QAction*>(QLatin1String(name))->trigger();
    };
    trigger("mCPUr");
    trigger("mS1(3)");
    trigger("mPlayNew");

    const marlovin::Board& board = window->State().board;
    int discs = 0;
    for (int c = 0; c < marlovin::kColumns; ++c)
        discs += marlovin::ColumnHeight(board, c);
    const bool ended = !closer.lastText.isEmpty() || discs == marlovin::kCells;
    std::printf("search depth %d, %d discs, message: \"%s\"\n", window->State().searchDepth, discs,
                qPrintable(closer.lastText));

    window.reset();
    app.removeEventFilter(&closer);
    return ended ? 0 : 1;
}
