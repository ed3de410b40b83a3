// One complete game in the real window, the computer playing both colours at "Stufe &4", for a
// memory checker to watch. The message that ends the game (a win or a draw) is closed as soon as
// it shows. Exits 0 when the game ran to that message, 1 otherwise.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "ui/frmmain.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    marlovin::frmMain window;
    window.show();
    bool ended = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&ended] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            ended = box->close();
    });
    closer.start(0);
    for (const char* name : {"mCPUr", "mS1(3)", "mPlayNew"})
        window.findChild<QAction*>(name)->trigger();
    return ended ? 0 : 1;
}
