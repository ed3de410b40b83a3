#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <bit>
#include <cstdlib>
#include <memory>

#include "ui/frmmain.h"

using namespace marlovin;

// Notes each new accessible name of the status line, which is what a screen reader hears.
class ListenedWindow : public frmMain {
  public:
    void ShowPlayerToMove(Player player) override {
        frmMain::ShowPlayerToMove(player);
        const QString name = findChild<QLabel*>("Label1")->accessibleName();
        if (heard.isEmpty() || heard.back() != name)
            heard << name;
    }
    QStringList heard;
};

// Keyboard play and screen-reader support of the main window.
class ReachTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ListenedWindow> window_;

    QString Name(const QString& object, QAccessible::Text text = QAccessible::Name) const {
        QObject* found = window_->findChild<QObject*>(object);
        return QAccessible::queryAccessibleInterface(found)->text(text);
    }
    void Trigger(const char* action) { window_->findChild<QAction*>(action)->trigger(); }
    // Keys reach the window through whichever control has the focus; here a column button.
    void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window_->findChild<QWidget*>("Command1(5)"), Qt::Key(key), modifiers);
    }

  private slots:
    void init() {
        window_ = std::make_unique<ListenedWindow>();
        window_->show();
    }

    void digitKeysPlayTheirColumnOnlyWhileTheWindowTakesInputAndUntilAWin() {
        Trigger("mCPUyellow");  // two people play; red starts the first game
        Trigger("mPlayNew");
        window_->SetWindowEnabled(false);
        Press(Qt::Key_3);
        window_->SetWindowEnabled(true);
        for (int key : {Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_A, Qt::Key_Z})
            Press(key), Press(key, Qt::KeypadModifier);
        QCOMPARE(window_->State().board, Board{});
        QTimer closer;  // closes the win message
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        closer.start(0);
        for (int column : {2, 6, 3, 6, 4, 6, 5, 0, 1})  // red wins with 5; 0 and 1 come after
            Press(Qt::Key_0 + column, column % 2 ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(Name("Shape1", QAccessible::Description),
                 "Spalte 0: leer; Spalte 1: leer; Spalte 2: rot; Spalte 3: rot; Spalte 4: rot; "
                 "Spalte 5: rot; Spalte 6: gelb, gelb, gelb");
        QCOMPARE(Name("Label1"), "Der Spieler Rot hat gegen den Spieler Gelb gewonnen.");
    }

    // During a computer move only who is to move after each move is announced, not the
    // search's many changes of the player to move.
    void screenReadersHearTheControlsTheCellsAndWhoIsToMove() {
        QCOMPARE(Name("Shape1") + ", " + Name("Command1(6)"), "Spielfeld, Spalte 6");
        Trigger("mPlayNew");  // red by hand against the computer's yellow
        window_->heard.clear();
        Press(Qt::Key_3);
        QCOMPARE(window_->heard, QStringList({"Gelb (CPU)", "Rot"}));
        QCOMPARE(Name("Label5"), "Züge: " + window_->findChild<QLabel*>("Label5")->text());
        QCOMPARE(Name("matrix(21)"), "Spalte 3, Reihe 0: rot");
    }

    // Key 3, negative times for releases: pressed at 100 and held, so it repeats as
    // release/press pairs of equal time; the window drops the release at 130 as if the computer
    // were still moving. Released at 200, pressed again at 300.
    void aHeldKeyPlaysOneDiscAndANewPressAfterARealReleaseAnother() {
        Trigger("mPlayNew");  // red by hand against the computer's yellow
        for (int time : {100, -130, 130, -160, 160, -200, 300}) {
            window_->SetWindowEnabled(time != -130);
            QKeyEvent key(time < 0 ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_3, {});
            key.setTimestamp(quint64(std::abs(time)));
            QApplication::sendEvent(window_->findChild<QWidget*>("Command1(5)"), &key);
        }
        QCOMPARE(std::popcount(window_->State().board.OccupiedBits()), 4);
    }
};

QTEST_MAIN(ReachTest)
#include "tst_reach.moc"
