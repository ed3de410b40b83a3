#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "engine/board.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

namespace {

QString AccessibleText(QObject* object, QAccessible::Text which) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    return iface != nullptr ? iface->text(which) : QStringLiteral("<no interface>");
}

}  // namespace

// Keyboard play and screen-reader support of the main window.
class ReachTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void digitKeyPlaysItsColumnExactlyAsAClickDoes();
    void digitKeyPlaysItsColumnWhicheverButtonHasTheFocusAndFromTheKeypad();
    void digitKeysDoNothingBeforeTheFirstGameAndWhileTheWindowRefusesInput();
    void digitKeysDoNothingAfterAWin();
    void otherKeysHeldKeysAndModifiedDigitsPlayNothing();

    void columnButtonsCountersAndStatusLineHaveGermanNames();
    void circlesAndBoardDescribeTheDiscsInEachCell();
    void statusLineAnnouncesThePlayerToMoveAfterEachMoveButNotTheSearch();
    void statusLineAnnouncesTheResultOfAWonGame();

  private:
    template <typename T>
    T* Find(frmMain& window, const QString& name) const {
        T* found = window.findChild<T*>(name);
        if (found == nullptr)
            qFatal("no child named %s", qPrintable(name));
        return found;
    }
    QAction* Menu(const char* name) const { return Find<QAction>(*window_, QLatin1String(name)); }
    QPushButton* Button(int column) const {
        return Find<QPushButton>(*window_, QStringLiteral("Command1(%1)").arg(column));
    }
    void PressDigit(int digit, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QWidget* focus = window_->focusWidget();
        QTest::keyClick(focus != nullptr ? focus : window_.get(),
                        static_cast<Qt::Key>(Qt::Key_0 + digit), modifiers);
    }
    const Board& GameBoard() const { return window_->State().board; }
    // Red (the first game's starting colour) wins in column 0 against yellow in column 1.
    void PlayRedWinByHand();

    std::unique_ptr<frmMain> window_;
    QTimer messageCloser_;
    QStringList messages_;
};

void ReachTest::initTestCase() {
    connect(&messageCloser_, &QTimer::timeout, this, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            messages_ << box->text();
            box->close();
        }
    });
    messageCloser_.start(5);
}

void ReachTest::init() {
    window_ = std::make_unique<frmMain>();
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    messages_.clear();
}

void ReachTest::cleanup() {
    window_.reset();
}

void ReachTest::PlayRedWinByHand() {
    Menu("mCPUyellow")->trigger();
    Menu("mPlayNew")->trigger();
    for (int column : {0, 1, 0, 1, 0, 1, 0})
        QTest::mouseClick(Button(column), Qt::LeftButton);
    QCOMPARE(GameBoard().At(0, 3), kRed);
    QVERIFY(!Button(0)->isEnabled());
}

void ReachTest::digitKeyPlaysItsColumnExactlyAsAClickDoes() {
    // Red by hand against the computer's yellow, once by keys and once by clicks.
    frmMain twin;
    Menu("mPlayNew")->trigger();
    Find<QAction>(twin, QStringLiteral("mPlayNew"))->trigger();
    for (int column : {3, 3, 2, 4}) {
        PressDigit(column);
        QTest::mouseClick(Find<QPushButton>(twin, QStringLiteral("Command1(%1)").arg(column)),
                          Qt::LeftButton);
        QCOMPARE(GameBoard(), twin.State().board);
        QCOMPARE(window_->State().currentPlayer, twin.State().currentPlayer);
    }
    QCOMPARE(GameBoard().At(3, 0), kRed);
}

void ReachTest::digitKeyPlaysItsColumnWhicheverButtonHasTheFocusAndFromTheKeypad() {
    Menu("mCPUyellow")->trigger();
    Menu("mPlayNew")->trigger();
    Button(5)->setFocus();
    QCOMPARE(QApplication::focusWidget(), Button(5));
    PressDigit(2);
    QCOMPARE(GameBoard().At(2, 0), kRed);
    QCOMPARE(ColumnHeight(GameBoard(), 5), 0);
    PressDigit(6, Qt::KeypadModifier);
    QCOMPARE(GameBoard().At(6, 0), kYellow);
}

void ReachTest::digitKeysDoNothingBeforeTheFirstGameAndWhileTheWindowRefusesInput() {
    for (int digit = 0; digit < kColumns; ++digit)
        PressDigit(digit);
    QCOMPARE(GameBoard(), Board{});

    Menu("mCPUyellow")->trigger();
    Menu("mPlayNew")->trigger();
    window_->SetWindowEnabled(false);
    PressDigit(3);
    QCOMPARE(GameBoard(), Board{});
    window_->SetWindowEnabled(true);
    PressDigit(3);
    QCOMPARE(GameBoard().At(3, 0), kRed);
}

void ReachTest::digitKeysDoNothingAfterAWin() {
    PlayRedWinByHand();
    QCOMPARE(messages_.size(), 1);
    const Board won = GameBoard();
    for (int digit = 0; digit < kColumns; ++digit)
        PressDigit(digit);
    QCOMPARE(GameBoard(), won);

    // The next game takes keys again; yellow, the loser, starts it.
    Menu("mPlayNew")->trigger();
    PressDigit(4);
    QCOMPARE(GameBoard().At(4, 0), kYellow);
}

void ReachTest::otherKeysHeldKeysAndModifiedDigitsPlayNothing() {
    Menu("mCPUyellow")->trigger();
    Menu("mPlayNew")->trigger();
    for (int digit : {7, 8, 9})
        PressDigit(digit);
    PressDigit(3, Qt::ControlModifier);
    PressDigit(3, Qt::AltModifier);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, QStringLiteral("3"), true);
    QApplication::sendEvent(window_.get(), &held);
    QCOMPARE(GameBoard(), Board{});
}

void ReachTest::columnButtonsCountersAndStatusLineHaveGermanNames() {
    for (int column = 0; column < kColumns; ++column) {
        QCOMPARE(AccessibleText(Button(column), QAccessible::Name),
                 QStringLiteral("Spalte %1").arg(column));
        QVERIFY(AccessibleText(Button(column), QAccessible::Description)
                    .contains(QStringLiteral("Spalte %1").arg(column)));
    }
    auto* status = Find<QLabel>(*window_, QStringLiteral("Label1"));
    auto* moves = Find<QLabel>(*window_, QStringLiteral("Label5"));
    auto* cutOffs = Find<QLabel>(*window_, QStringLiteral("Label6"));
    QCOMPARE(AccessibleText(status, QAccessible::Name), QStringLiteral("ready"));
    QVERIFY(AccessibleText(status, QAccessible::Description).startsWith(QStringLiteral("Status")));
    QCOMPARE(AccessibleText(moves, QAccessible::Name), QStringLiteral("Züge"));
    QCOMPARE(AccessibleText(cutOffs, QAccessible::Name), QStringLiteral("Cutoffs"));
    QVERIFY(!AccessibleText(moves, QAccessible::Description).isEmpty());
    QVERIFY(!AccessibleText(cutOffs, QAccessible::Description).isEmpty());

    // After the computer's search the counter names carry the numbers shown.
    Menu("mPlayNew")->trigger();
    QTest::mouseClick(Button(3), Qt::LeftButton);
    QVERIFY(moves->text().toInt() > 0);
    QCOMPARE(AccessibleText(moves, QAccessible::Name), QStringLiteral("Züge: ") + moves->text());
    QCOMPARE(AccessibleText(cutOffs, QAccessible::Name),
             QStringLiteral("Cutoffs: ") + cutOffs->text());
}

void ReachTest::circlesAndBoardDescribeTheDiscsInEachCell() {
    auto circleName = [this](int column, int row) {
        return AccessibleText(
            Find<Shape>(*window_, QStringLiteral("matrix(%1)").arg(kRows * column + row)),
            QAccessible::Name);
    };
    auto* board = Find<Shape>(*window_, QStringLiteral("Shape1"));
    QCOMPARE(circleName(6, 6), QStringLiteral("Spalte 6, Reihe 6: leer"));
    QCOMPARE(AccessibleText(board, QAccessible::Name), QStringLiteral("Spielfeld"));

    Menu("mCPUyellow")->trigger();
    Menu("mPlayNew")->trigger();
    for (int column : {3, 3, 0})
        QTest::mouseClick(Button(column), Qt::LeftButton);
    QCOMPARE(circleName(3, 0), QStringLiteral("Spalte 3, Reihe 0: rot"));
    QCOMPARE(circleName(3, 1), QStringLiteral("Spalte 3, Reihe 1: gelb"));
    QCOMPARE(circleName(0, 0), QStringLiteral("Spalte 0, Reihe 0: rot"));
    QCOMPARE(circleName(3, 2), QStringLiteral("Spalte 3, Reihe 2: leer"));
    QCOMPARE(AccessibleText(board, QAccessible::Description),
             QStringLiteral("Spalte 0: rot; Spalte 1: leer; Spalte 2: leer; Spalte 3: rot, gelb; "
                            "Spalte 4: leer; Spalte 5: leer; Spalte 6: leer"));

    // A new game empties the cells for the screen reader as well.
    Menu("mPlayNew")->trigger();
    QCOMPARE(circleName(3, 1), QStringLiteral("Spalte 3, Reihe 1: leer"));
}

void ReachTest::statusLineAnnouncesThePlayerToMoveAfterEachMoveButNotTheSearch() {
    auto* status = Find<QLabel>(*window_, QStringLiteral("Label1"));
    auto name = [status] { return AccessibleText(status, QAccessible::Name); };
    Menu("mCPUyellow")->trigger();
    Menu("mPlayNew")->trigger();
    QCOMPARE(name(), QStringLiteral("Rot"));
    QTest::mouseClick(Button(3), Qt::LeftButton);
    QCOMPARE(name(), QStringLiteral("Gelb"));

    // The computer plays both colours: while it searches, the visible text changes with every
    // level, but screen readers keep hearing whose move is being searched.
    Menu("mCPUyellow")->trigger();
    Menu("mCPUr")->trigger();
    Menu("mS1(3)")->trigger();
    int probes = 0;
    QStringList wrong;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (window_->WindowInputEnabled() || QApplication::activeModalWidget() != nullptr)
            return;
        ++probes;
        const QString mover = window_->State().currentPlayer == kYellow
                                  ? QStringLiteral("Gelb (CPU)")
                                  : QStringLiteral("Rot (CPU)");
        if (name() != mover)
            wrong << name() + QStringLiteral(" while ") + mover + QStringLiteral(" searched");
    });
    probe.start(0);
    Menu("mPlayNew")->trigger();
    probe.stop();
    QVERIFY(probes > 0);
    QCOMPARE(wrong, QStringList());
    QCOMPARE(messages_.size(), 1);
}

void ReachTest::statusLineAnnouncesTheResultOfAWonGame() {
    auto* status = Find<QLabel>(*window_, QStringLiteral("Label1"));
    PlayRedWinByHand();
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(AccessibleText(status, QAccessible::Name), messages_.first());
    QCOMPARE(AccessibleText(status, QAccessible::Name),
             QStringLiteral("Der Spieler Rot hat gegen den Spieler Gelb gewonnen."));

    // The next game announces its first player again.
    Menu("mPlayNew")->trigger();
    QCOMPARE(AccessibleText(status, QAccessible::Name), QStringLiteral("Gelb"));
}

QTEST_MAIN(ReachTest)
#include "tst_reach.moc"
