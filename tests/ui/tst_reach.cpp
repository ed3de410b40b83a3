#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <bit>
#include <memory>

#include "ui/frmmain.h"

using namespace marlovin;

// Keyboard play and screen-reader support of the main window.
class ReachTest : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> window_;

    QString Name(const QString& object, QAccessible::Text text = QAccessible::Name) const {
        QObject* found = window_->findChild<QObject*>(object);
        return QAccessible::queryAccessibleInterface(found)->text(text);
    }
    void Trigger(const char* action) { window_->findChild<QAction*>(action)->trigger(); }
    // Keys reach the window through whichever control has the focus; here a column button.
    void Press(int digit) {
        QTest::keyClick(window_->findChild<QWidget*>("Command1(5)"), Qt::Key(Qt::Key_0 + digit));
    }

  private slots:
    void init() {
        window_ = std::make_unique<frmMain>();
        window_->show();
    }

    void digitKeysPlayTheirColumnOnlyWhileTheWindowTakesInputAndUntilAWin() {
        Trigger("mCPUyellow");  // two people play; red starts the first game
        Trigger("mPlayNew");
        window_->SetWindowEnabled(false);
        Press(3);
        QCOMPARE(window_->State().board, Board{});
        window_->SetWindowEnabled(true);
        QTimer closer;  // closes the win message
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        closer.start(0);
        for (int column : {2, 6, 3, 6, 4, 6, 5, 0, 1})  // red wins with 5; 0 and 1 come after
            Press(column);
        QCOMPARE(Name("Shape1", QAccessible::Description),
                 "Spalte 0: leer; Spalte 1: leer; Spalte 2: rot; Spalte 3: rot; Spalte 4: rot; "
                 "Spalte 5: rot; Spalte 6: gelb, gelb, gelb");
        QCOMPARE(Name("Label1"), "Der Spieler Rot hat gegen den Spieler Gelb gewonnen.");
    }

    void screenReadersHearTheControlsTheCellsAndWhoIsToMove() {
        QCOMPARE(Name("Shape1"), "Spielfeld");
        for (int column = 0; column < kColumns; ++column)
            QCOMPARE(Name(QStringLiteral("Command1(%1)").arg(column)),
                     QString("Spalte %1").arg(column));
        Trigger("mPlayNew");  // red by hand against the computer's yellow
        Press(3);
        QCOMPARE(Name("Label1"), "Rot");
        QCOMPARE(Name("Label5"), "Züge: " + window_->findChild<QLabel*>("Label5")->text());
        QCOMPARE(Name("matrix(21)"), "Spalte 3, Reihe 0: rot");
    }
    // Held, the key arrives as release/press pairs of equal time, not flagged as repeats; the
    // window drops the release of the pair that comes while the computer moves.
    void aHeldKeyPlaysOneDiscAndANewPressAfterARealReleaseAnother() {
        Trigger("mPlayNew");  // red by hand against the computer's yellow
        auto send = [this](QEvent::Type type, quint64 time) {
            QKeyEvent key(type, Qt::Key_3, Qt::NoModifier);
            key.setTimestamp(time);
            QApplication::sendEvent(window_->findChild<QWidget*>("Command1(5)"), &key);
        };
        auto discs = [this] { return std::popcount(window_->State().board.OccupiedBits()); };
        send(QEvent::KeyPress, 100);
        window_->SetWindowEnabled(false);
        send(QEvent::KeyRelease, 130);
        window_->SetWindowEnabled(true);
        send(QEvent::KeyPress, 130);
        for (quint64 time : {160, 190}) {
            send(QEvent::KeyRelease, time);
            send(QEvent::KeyPress, time);
        }
        QCOMPARE(discs(), 2);
        send(QEvent::KeyRelease, 200);
        send(QEvent::KeyPress, 300);
        QCOMPARE(discs(), 4);
    }
};

QTEST_MAIN(ReachTest)
#include "tst_reach.moc"
