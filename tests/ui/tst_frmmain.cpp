#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "engine/board.h"
#include "engine/search.h"
#include "game/gameview.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kYellowDisc(255, 255, 0);
const QColor kRedDisc(255, 0, 0);
const QColor kSilver(192, 192, 192);
const QColor kBlack(0, 0, 0);

// Counts what a search reports, to know the numbers the window must end up showing.
class CountingView : public GameView {
  public:
    void DrawBoard() override {}
    void HighlightFour(const std::array<Cell, 4>&) override {}
    void ResetHighlights() override {}
    void ShowPlayerToMove(Player) override {}
    void SetStatusText(std::string_view) override {}
    void ResetCounters() override { searched = cutOffs = 0; }
    void IncrementCounter(Counter counter) override {
        ++(counter == Counter::SearchedMoves ? searched : cutOffs);
    }
    void PumpEvents() override {}
    void SetColumnButtonsEnabled(bool) override {}
    void SetWindowEnabled(bool) override {}
    bool IsComputer(Player player) override { return player == kYellow; }
    void ShowMessage(std::string_view) override {}

    int searched = 0;
    int cutOffs = 0;
};

// Closes the modal windows that open while it lives, remembering what the message boxes said.
class ModalCloser {
  public:
    ModalCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr)
                return;
            ++closed;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                texts.append(box->text());
                titles.append(box->windowTitle());
                icons.append(box->icon());
                buttonCounts.append(static_cast<int>(box->buttons().size()));
            }
            modal->close();
        });
        timer_.start(10);
    }

    int closed = 0;
    QStringList texts;
    QStringList titles;
    QList<QMessageBox::Icon> icons;
    QList<int> buttonCounts;

  private:
    QTimer timer_;
};

// Started as a child process by closingMidSearchEndsTheProgramWithStatusZero: both colours played
// by the computer at the highest level, and the window closed once a search is under way.
int CloseDuringSearch(int argc, char** argv) {
    QApplication app(argc, argv);
    frmMain window;
    window.show();
    window.findChild<QAction*>(QStringLiteral("mCPUr"))->trigger();
    window.findChild<QAction*>(QStringLiteral("mS1(3)"))->trigger();
    auto* counter = window.findChild<QLabel*>(QStringLiteral("Label5"));
    QTimer::singleShot(0, &window, [&window] {
        window.findChild<QAction*>(QStringLiteral("mPlayNew"))->trigger();
    });
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (window.Controller().TurnInProgress() && counter->text().toInt() > 0) {
            watcher.stop();
            std::puts("closing mid-search");
            std::fflush(stdout);
            window.close();
        }
    });
    watcher.start(1);
    return app.exec();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void startUpLeavesButtonsDisabledStatusReadyAndCountersBlank();
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void tabMovesThroughTheColumnButtonsInOrder();
    void menuBarOffersTheGameOptionsAndInfoWithTheirMarks();
    void newGameStartsWithRedToMoveOnAnEmptyBoard_data();
    void newGameStartsWithRedToMoveOnAnEmptyBoard();
    void clickPlacesADiscAndTheComputerAnswers_data();
    void clickPlacesADiscAndTheComputerAnswers();
    void higherCirclesAreDrawnOverLowerOnes();
    void winIsAnnouncedWithBlackBordersAndDisabledButtons();
    void disabledWindowRefusesClicksKeysAndMenusWithoutGreying();
    void difficultyItemsKeepExactlyOneCheckMark_data();
    void difficultyItemsKeepExactlyOneCheckMark();
    void colourItemsOnlyInvertTheirOwnMark();
    void infoOpensTheAboutWindowModally();
    void closingMidSearchEndsTheProgramWithStatusZero();
    void withoutADisplayTheProgramSaysSoAndFails_data();
    void withoutADisplayTheProgramSaysSoAndFails();

  private:
    template <typename T>
    T* find(const QString& name) const {
        T* found = window_->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no child named %s", qPrintable(name));
        return found;
    }
    Shape* circle(int index) const { return find<Shape>(QStringLiteral("matrix(%1)").arg(index)); }
    QPushButton* button(int index) const {
        return find<QPushButton>(QStringLiteral("Command1(%1)").arg(index));
    }
    QLabel* label(const char* name) const { return find<QLabel>(QLatin1String(name)); }
    QAction* action(const QString& name) const { return find<QAction>(name); }
    void clickColumn(int column) const { QTest::mouseClick(button(column), Qt::LeftButton); }
    int countFills(const QColor& color) const {
        int count = 0;
        for (int i = 0; i < kCells; ++i)
            count += circle(i)->FillColor() == color ? 1 : 0;
        return count;
    }

    std::unique_ptr<frmMain> window_;
};

void MainWindowTest::init() {
    window_ = std::make_unique<frmMain>();
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void MainWindowTest::cleanup() {
    window_.reset();
}

void MainWindowTest::startUpLeavesButtonsDisabledStatusReadyAndCountersBlank() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Marlovin"));
    const QImage icon = window_->windowIcon().pixmap(32, 32).toImage();
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(icon.pixelColor(16, 2), QColor(220, 0, 0));  // the top of the ring
    QVERIFY(
        !(window_->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(label("Label1")->text(), QStringLiteral("ready"));
    const QFont status = label("Label1")->font();
    QCOMPARE(status.family(), QStringLiteral("Courier New"));
    QCOMPARE(status.pointSize(), 12);
    QCOMPARE(status.weight(), QFont::Bold);
    QVERIFY(QFontInfo(status).fixedPitch());  // "Courier New" itself or its metric twin
    QCOMPARE(label("Label5")->text(), QString());
    QCOMPARE(label("Label6")->text(), QString());
    QCOMPARE(window_->State().searchDepth, 3);
    for (int i = 0; i < kColumns; ++i)
        QVERIFY(!button(i)->isEnabled());

    // Nothing is painted yet: the circles keep their initial fill with silver borders.
    for (int i = 0; i < kCells; ++i) {
        QCOMPARE(circle(i)->FillColor(), kBlack);
        QCOMPARE(circle(i)->BorderColor(), kSilver);
    }

    clickColumn(3);
    QCOMPARE(window_->State().board, Board{});
}

void MainWindowTest::controlsSitWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("square") << "Shape1" << QRect(8, 8, 185, 185);
    QTest::newRow("bottom-left circle") << "matrix(0)" << QRect(16, 160, 25, 25);
    QTest::newRow("top-left circle") << "matrix(6)" << QRect(16, 16, 25, 25);
    QTest::newRow("bottom-right circle") << "matrix(42)" << QRect(160, 160, 25, 25);
    QTest::newRow("top-right circle") << "matrix(48)" << QRect(160, 16, 25, 25);
    QTest::newRow("middle circle") << "matrix(24)" << QRect(88, 88, 25, 25);
    QTest::newRow("first button") << "Command1(0)" << QRect(16, 200, 25, 25);
    QTest::newRow("last button") << "Command1(6)" << QRect(160, 200, 25, 25);
    QTest::newRow("status line") << "Label1" << QRect(8, 232, 185, 25);
    QTest::newRow("moves caption") << "Label3" << QRect(8, 264, 33, 17);
    QTest::newRow("moves value") << "Label5" << QRect(40, 264, 49, 17);
    QTest::newRow("cut-offs caption") << "Label4" << QRect(104, 264, 41, 17);
    QTest::newRow("cut-offs value") << "Label6" << QRect(144, 264, 49, 17);
}

void MainWindowTest::controlsSitWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QCOMPARE(find<QWidget>(name)->geometry(), geometry);

    // The client area is 201 x 285 right below the menu bar, and the window cannot be resized.
    QWidget* client = window_->centralWidget();
    QCOMPARE(client->geometry(), QRect(0, window_->menuBar()->height(), 201, 285));
    QCOMPARE(window_->size(), QSize(201, window_->menuBar()->height() + 285));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
}

void MainWindowTest::tabMovesThroughTheColumnButtonsInOrder() {
    action("mPlayNew")->trigger();
    button(0)->setFocus();
    for (int i = 1; i < kColumns; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button(i));
    }
}

void MainWindowTest::menuBarOffersTheGameOptionsAndInfoWithTheirMarks() {
    // Each item as text, shortcut and check mark, nested menus indented.
    QStringList items;
    std::function<void(const QList<QAction*>&, const QString&)> walk =
        [&](const QList<QAction*>& actions, const QString& indent) {
            for (QAction* a : actions) {
                QString item = indent + a->text();
                if (!a->shortcut().isEmpty())
                    item += " [" + a->shortcut().toString() + "]";
                if (a->isCheckable())
                    item += a->isChecked() ? " (x)" : " ( )";
                items << item;
                if (a->menu() != nullptr)
                    walk(a->menu()->actions(), indent + "  ");
            }
        };
    walk(window_->menuBar()->actions(), QString());
    const QStringList expected{
        "&Spiel",
        "  &Neues Spiel [Ctrl+N]",
        "  &Verlassen",
        "&Optionen",
        "  &CPU-Spieler",
        "    &Rot ( )",
        "    &Gelb (x)",
        "  &Schwierigkeit",
        "    Stufe &1 ( )",
        "    Stufe &2 (x)",
        "    Stufe &3 ( )",
        "    Stufe &4 ( )",
        "&Info",
    };
    QCOMPARE(items, expected);
    QCOMPARE(window_->menuBar()->actions().last(), action("mInfo"));
}

void MainWindowTest::newGameStartsWithRedToMoveOnAnEmptyBoard_data() {
    QTest::addColumn<bool>("byShortcut");
    QTest::newRow("menu command") << false;
    QTest::newRow("Ctrl+N") << true;
}

void MainWindowTest::newGameStartsWithRedToMoveOnAnEmptyBoard() {
    QFETCH(bool, byShortcut);
    if (byShortcut)
        QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
    else
        action("mPlayNew")->trigger();

    QCOMPARE(window_->State().currentPlayer, kRed);
    QCOMPARE(label("Label1")->text(), QStringLiteral("Rot"));
    QCOMPARE(countFills(kWhite), kCells);
    for (int i = 0; i < kCells; ++i)
        QCOMPARE(circle(i)->BorderColor(), kSilver);
    for (int i = 0; i < kColumns; ++i)
        QVERIFY(button(i)->isEnabled());

    // The person plays red: the first click places a red disc.
    clickColumn(2);
    QCOMPARE(circle(14)->FillColor(), kRedDisc);
}

void MainWindowTest::clickPlacesADiscAndTheComputerAnswers_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("searched");  // -1: take the count from a search of our own
    QTest::newRow("edge column") << 0 << -1;
    QTest::newRow("centre column") << 3 << 742;
}

void MainWindowTest::clickPlacesADiscAndTheComputerAnswers() {
    QFETCH(int, column);
    QFETCH(int, searched);
    action("mPlayNew")->trigger();

    Board expectedBoard = window_->State().board;
    DropPiece(expectedBoard, column, kRed);
    CountingView counts;
    const int reply = ChooseMove(expectedBoard, counts, 3, kYellow);
    DropPiece(expectedBoard, reply, kYellow);
    if (searched >= 0)
        QCOMPARE(counts.searched, searched);

    clickColumn(column);
    QCOMPARE(window_->State().board, expectedBoard);
    QCOMPARE(circle(7 * column)->FillColor(), kRedDisc);
    QCOMPARE(countFills(kRedDisc), 1);
    QCOMPARE(countFills(kYellowDisc), 1);
    QCOMPARE(label("Label5")->text(), QString::number(counts.searched));
    QCOMPARE(label("Label6")->text(), QString::number(counts.cutOffs));
    QCOMPARE(label("Label1")->text(), QStringLiteral("Rot"));
    QVERIFY(window_->WindowInputEnabled());
}

void MainWindowTest::higherCirclesAreDrawnOverLowerOnes() {
    action("mPlayNew")->trigger();
    window_->HighlightFour({Cell{0, 0}, Cell{1, 1}, Cell{2, 2}, Cell{3, 3}});
    const QImage image = window_->centralWidget()->grab().toImage();

    // matrix(0) (16..40, 160..184) shares its right column with matrix(7) and its top row with
    // matrix(1); matrix(8) (40..64, 136..160) shares its left column with matrix(1) and its
    // bottom row with matrix(7). Only 0 and 8 have black borders.
    QCOMPARE(image.pixelColor(40, 172), kSilver);
    QCOMPARE(image.pixelColor(28, 160), kSilver);
    QCOMPARE(image.pixelColor(16, 172), kBlack);
    QCOMPARE(image.pixelColor(40, 148), kBlack);
    QCOMPARE(image.pixelColor(52, 160), kBlack);
    QCOMPARE(image.pixelColor(28, 172), kWhite);
    // The square shows between the circles and around them.
    QCOMPARE(image.pixelColor(17, 161), kBlack);
    QCOMPARE(image.pixelColor(10, 100), kBlack);
}

void MainWindowTest::winIsAnnouncedWithBlackBordersAndDisabledButtons() {
    action("mCPUyellow")->trigger();  // two people play
    action("mPlayNew")->trigger();
    ModalCloser closer;
    for (int column : {0, 1, 0, 1, 0, 1, 0})
        clickColumn(column);

    QCOMPARE(closer.texts,
             QStringList{QStringLiteral("Der Spieler Rot hat gegen den Spieler Gelb gewonnen.")});
    QCOMPARE(closer.titles, QStringList{QStringLiteral("Marlovin")});
    QCOMPARE(closer.icons, QList<QMessageBox::Icon>{QMessageBox::Warning});
    QCOMPARE(closer.buttonCounts, QList<int>{1});
    for (int i = 0; i < kCells; ++i)
        QCOMPARE(circle(i)->BorderColor(), i < 4 ? kBlack : kSilver);
    for (int i = 0; i < kColumns; ++i)
        QVERIFY(!button(i)->isEnabled());
    QVERIFY(window_->WindowInputEnabled());

    // The loser opens the next game, on a clean board.
    action("mPlayNew")->trigger();
    QCOMPARE(window_->State().currentPlayer, kYellow);
    for (int i = 0; i < kCells; ++i)
        QCOMPARE(circle(i)->BorderColor(), kSilver);
    QVERIFY(button(0)->isEnabled());
}

void MainWindowTest::disabledWindowRefusesClicksKeysAndMenusWithoutGreying() {
    action("mCPUyellow")->trigger();
    action("mPlayNew")->trigger();
    clickColumn(3);
    const Board before = window_->State().board;

    window_->SetWindowEnabled(false);
    ModalCloser closer;  // the About window would open if the click on "&Info" got through
    clickColumn(4);
    QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(window_->menuBar(), Qt::Key_S, Qt::AltModifier);
    QTest::mouseClick(window_->menuBar(), Qt::LeftButton, {},
                      window_->menuBar()->actionGeometry(action("mInfo")).center());
    QCOMPARE(window_->State().board, before);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QCOMPARE(closer.closed, 0);
    QVERIFY(window_->isEnabled());
    QVERIFY(button(4)->isEnabled());

    window_->SetWindowEnabled(true);
    clickColumn(4);
    QCOMPARE(circle(28)->FillColor(), kYellowDisc);
}

void MainWindowTest::difficultyItemsKeepExactlyOneCheckMark_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < 4; ++i)
        QTest::addRow("Stufe %d", i + 1) << i;
}

void MainWindowTest::difficultyItemsKeepExactlyOneCheckMark() {
    QFETCH(int, index);
    for (int pass = 0; pass < 2; ++pass) {  // choosing the checked item again keeps it
        action(QStringLiteral("mS1(%1)").arg(index))->trigger();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(action(QStringLiteral("mS1(%1)").arg(i))->isChecked(), i == index);
        QCOMPARE(window_->State().searchDepth, index + 2);
    }
}

void MainWindowTest::colourItemsOnlyInvertTheirOwnMark() {
    action("mPlayNew")->trigger();
    QAction* red = action("mCPUr");
    red->trigger();
    QVERIFY(red->isChecked());
    QVERIFY(action("mCPUyellow")->isChecked());
    // Red is to move, but the computer takes over only when the turn passes to red again.
    QCOMPARE(label("Label1")->text(), QStringLiteral("Rot"));
    QCOMPARE(window_->State().board, Board{});
    red->trigger();
    QVERIFY(!red->isChecked());
}

void MainWindowTest::infoOpensTheAboutWindowModally() {
    bool aboutShown = false;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, window_.get(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        aboutShown = qobject_cast<frmInfo*>(modal) != nullptr;
        if (modal != nullptr) {
            owner = modal->parentWidget();
            modal->close();
        }
    });
    action("mInfo")->trigger();
    QVERIFY(aboutShown);
    QCOMPARE(owner, window_.get());
}

void MainWindowTest::closingMidSearchEndsTheProgramWithStatusZero() {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--close-during-search")});
    QVERIFY(child.waitForStarted());
    QVERIFY2(child.waitForFinished(120000), "the program did not end");  // a hang guard only
    QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("closing mid-search"));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

void MainWindowTest::withoutADisplayTheProgramSaysSoAndFails_data() {
    QTest::addColumn<QString>("display");
    QTest::newRow("no DISPLAY") << QString();
    QTest::newRow("DISPLAY without a server") << QStringLiteral(":4711");
}

void MainWindowTest::withoutADisplayTheProgramSaysSoAndFails() {
    QFETCH(QString, display);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);

    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(MARLOVIN_EXECUTABLE), {});
    QVERIFY(program.waitForFinished(60000));
    const QStringList lines = QString::fromLocal8Bit(program.readAllStandardError())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY(program.exitCode() != 0);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(QLatin1String("needs a graphical display")),
             qPrintable(lines.first()));
}

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--close-during-search") == 0)
        return CloseDuringSearch(1, argv);
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmmain.moc"
