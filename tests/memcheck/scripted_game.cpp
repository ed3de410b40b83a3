// One complete game in the real window, the computer playing both colours at "Stufe &4", for a
// memory checker to watch. The win message is closed as soon as it shows. Exits 0 when the game
// ran to its end (a win or a full board), 1 otherwise.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <bit>
#include <memory>

#include "ui/frmmain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    auto window = std::make_unique<marlovin::frmMain>();
    window->show();
    bool won = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&won] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            won = box->close();
    });
    closer.start(0);
    for (const char* name : {"mCPUr", "mS1(3)", "mPlayNew"})
        window->findChild<QAction*>(name)->trigger();
    const int discs = std::popcount(window->State().board.OccupiedBits());
    window.reset();
    return won || discs == marlovin::kCells ? 0 : 1;
}
