// The smallest Qt Widgets program with what the game's main window has on top of any window: a
// menu bar and a label. bench/footprint.sh measures the game beside it.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.menuBar()->addMenu(QStringLiteral("&Spiel"))->addAction(QStringLiteral("&Verlassen"));
    window.setCentralWidget(new QLabel(QStringLiteral("ready")));
    window.show();
    return QApplication::exec();
}
