// One complete game in the real window, the computer playing both colours at "Stufe &4", for a
// memory checker to watch. The win message is closed as soon as it shows. Exits 0 when the game
// ran to its end (a win or a full board), 1 otherwise.
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "engine/board.h"
#include "ui/frmmain.h"

using namespace marlovin;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    auto window = std::make_unique<frmMain>();
    window->show();
    QString message;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->close();
        }
    });
    closer.start(0);
    for (const char* name : {"mCPUr", "mS1(3)", "mPlayNew"})
        window->findChild<QAction*>(QLatin1String(name))->trigger();

    int discs = 0;
    for (int column = 0; column < kColumns; ++column)
        discs += ColumnHeight(window->State().board, column);
    std::printf("search depth %d, %d discs, message: \"%s\"\n", window->State().searchDepth, discs,
                qPrintable(message));
    window.reset();
    return !message.isEmpty() || discs == kCells ? 0 : 1;
}
