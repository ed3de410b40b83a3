#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <bit>
#include <map>
#include <memory>
#include <random>

#include "app/displaychoice.h"
#include "app/qttranslation.h"
#include "engine/search.h"
#include "engine/windows.h"
#include "tests/support/recordingview.h"
#include "ui/frminfo.h"
#include "ui/frmmain.h"
#include "ui/shape.h"

using namespace marlovin;

const Qt::GlobalColor kFills[] = {Qt::white, Qt::yellow, Qt::red};  // by cell code

// The items' texts in order, each menu's items in brackets after its own text.
static QString menuTree(const QList<QAction*>& items) {
    QStringList texts;
    for (QAction* item : items)
        texts << item->text() + (item->menu() ? "(" + menuTree(item->menu()->actions()) + ")" : "");
    return texts.join(',');
}

// The values as the debug stream prints them, separated by spaces.
template <typename... Values>
static QString str(const Values&... values) {
    QString text;
    (QDebug(&text).noquote() << ... << values);
    return text.trimmed();
}

// Each captioned control's name, text and place, and the controls that do not lie wholly in the
// window.
static QStringList layout(const QWidget* window) {
    QStringList seen;
    for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect r = child->geometry();
        if (child->property("text").isValid())
            seen << str(child->objectName(), child->property("text").toString(), r);
        if (!window->rect().contains(r))
            seen << child->objectName() + " outside";
    }
    return seen;
}

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

// A picture file of the working directory as plain pixels at the ratio `r`, whatever colour
// space it names.
static QImage file(const char* name, qreal r = 1) {
    QImage image(name);
    image.setColorSpace({});
    image.setDevicePixelRatio(r);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The part `p` of `widget` drawn at the ratio `r` into the device pixels it wholly covers.
static QImage draw(QWidget* widget, qreal r, QRect p) {
    QImage image(int(p.width() * r), int(p.height() * r), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(r);
    image.fill(Qt::transparent);
    widget->render(&image, {}, QRegion(p));
    return image;
}

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window_ = std::make_unique<ListenedWindow>();
        window_->show();
        // Wayland leaves focus to the compositor, and a headless one has no seat to give it.
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void cleanup() { window_.reset(); }

    // Texts, places (the layout's twips divided by 15) and state at start-up; then Ctrl+N and
    // three clicks that the computer answers. "&Info" is chosen while each person's disc is being
    // drawn, with the main window far from the screen's centre; the About window is closed by
    // Enter, Esc or a click on "&OK". Then Qt's own texts in German.
    void startUpThenTurnsWithTheAboutWindowOpenedMidTurn() {
        QCOMPARE(menuTree(window_->menuBar()->actions()),
                 "&Spiel(&Neues Spiel,&Verlassen),&Optionen(&CPU-Spieler(&Rot,&Gelb),"
                 "&Schwierigkeit(Stufe &1,Stufe &2,Stufe &3,Stufe &4)),&Info");
        QCOMPARE(marks(), "-x-x--");
        QStringList places = {"Label1 ready QRect(8,232 185x25)", "Label3 Züge: QRect(8,264 33x17)",
                              "Label4 Cutoffs: QRect(104,264 41x17)", "Label5  QRect(40,264 49x17)",
                              "Label6  QRect(144,264 49x17)"};
        for (int i = 0; i < kColumns; ++i)
            places << str(QString("Command1(%1)").arg(i), i, QRect(16 + 24 * i, 200, 25, 25));
        QCOMPARE(layout(window_->centralWidget()), places);
        QCOMPARE(
            str(window_->centralWidget()->size(), window_->minimumSize() == window_->maximumSize()),
            "QSize(201, 285) true");

        window_->move(window_->screen()->geometry().center() + QPoint(150, 100));
        QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        Board expected;
        testing::RecordingView search;
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_unknown /* "&OK" */}) {
            DropPiece(expected, 3, kRed);
            DropPiece(expected, ChooseMove(expected, search, 3, kYellow), kYellow);
            QStringList seen;
            const auto lookAndClose = [&] {
                // Only a modal window keeps the main window from taking input.
                auto* info = qobject_cast<frmInfo*>(QApplication::activeModalWidget());
                if (info == nullptr)
                    return;
                auto* credits = info->findChild<QPlainTextEdit*>("Text1");
                QTest::keyClicks(credits, "xyz");
                const QPoint offCentre =
                    info->frameGeometry().center() - info->screen()->geometry().center();
                seen << layout(info)
                     << str(info->size(),
                            offCentre.manhattanLength() <= 1 ||
                                QGuiApplication::platformName() == "wayland",  // its placement
                            credits->verticalScrollBar()->value(),
                            credits->toPlainText().count("xyz"),
                            window_->Controller().TurnInProgress());
                credits->verticalScrollBar()->setValue(credits->verticalScrollBar()->maximum());
                key == Qt::Key_unknown
                    ? QTest::mouseClick(info->findChild<QPushButton*>("Command1"), Qt::LeftButton)
                    : QTest::keyClick(credits, key);
            };
            const auto openInfo = [&] {
                QTimer::singleShot(0, lookAndClose), action("mInfo")->trigger();
            };
            QMetaObject::invokeMethod(window_.get(), openInfo, Qt::QueuedConnection);
            clickColumn(3);
            // The line's stored end lies beyond the window, which clips it at its border.
            QCOMPARE(
                seen,
                QStringList(
                    {"Line1 outside", "Label1 Dunfeld QRect(168,8 241x33)",
                     "Label2 Marlovin QRect(168,40 241x33)", "Label5 Lizenz: QRect(168,100 97x17)",
                     "Label6 Freeware QRect(256,100 97x17)", "Label7 Credits: QRect(168,144 73x17)",
                     "Label8 © 2026 Dunfeld QRect(256,80 97x17)",
                     "Label9 Copyright: QRect(168,80 97x17)",
                     "Label3 Version: QRect(168,120 81x17)", "Label4 1.0.1 QRect(256,120 81x17)",
                     "Command1 &OK QRect(328,264 81x21)", "QSize(417, 294) true 0 0 true"}));
            QCOMPARE(window_->State().board, expected);  // the computer has answered
            QCOMPARE(str(text("Label1"), text("Label5"), text("Label6")),
                     str("Rot", search.counters[1], search.counters[0]));
        }
        QVERIFY(InstallQtGermanTexts());
        QCOMPARE(action("mPlayNew")->shortcut().toString(QKeySequence::NativeText), "Strg+N");
    }

    // The computer plays both colours at the highest level. Its searches end within the 16 ms
    // that a disabled window waits between processing events, so the watcher, once a turn is
    // under way, holds up processing for longer; it closes the window when the board holds the
    // search's trial discs. The program's event loop must then end as main() would return.
    void closingMidSearchEndsTheProgramWithStatusZero() {
        action("mCPUr")->trigger();
        action("mS1(3)")->trigger();
        QTimer::singleShot(0, action("mPlayNew"), &QAction::trigger);
        int discs = -1;  // played when the window is closed
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, [&] {
            const int drawn =
                int(std::ranges::count_if(window_->findChildren<Shape*>(), [](auto* s) {
                    return s->FillColor() == Qt::red || s->FillColor() == Qt::yellow;
                }));
            if (discs < 0 && std::popcount(window_->State().board.OccupiedBits()) > drawn)
                discs = drawn, window_->close();
            else if (discs < 0 && window_->Controller().TurnInProgress())
                QTest::qSleep(20);
        });
        watcher.start(1);
        QCOMPARE(QApplication::exec(), 0);
        // The trial discs were taken back, and no more moves were played.
        QCOMPARE(std::popcount(window_->State().board.OccupiedBits()), discs);
    }

    // Random user input against the real window, checked after every action; while the computer
    // moves, the user keeps trying columns, Ctrl+N and the menu bar. It runs as a test of its own
    // (MARLOVIN_SOAK_ACTIONS, MARLOVIN_SOAK_SEED); a failure names the seed and action to replay.
    void soakRandomUserActionsKeepWindowAndGameConsistent() {
        const int actions = qEnvironmentVariableIntValue("MARLOVIN_SOAK_ACTIONS");
        if (actions == 0)
            QSKIP("MARLOVIN_SOAK_ACTIONS not set");
        const int seed = qEnvironmentVariableIntValue("MARLOVIN_SOAK_SEED");
        std::mt19937 rng(seed), meanwhileRng(rng);
        int games = 0, wins = 0, draws = 0, abouts = 0, computerGamesAtStufe4 = 0, index = 0;
        QString failure;
        const auto check = [&](bool ok, const QString& what) {
            if (!ok && failure.isEmpty())
                failure = QString("seed %1, action %2: %3").arg(seed).arg(index).arg(what);
        };
        const auto refused = [&] {
            check(window_->WindowInputEnabled(), "input got through a refusal");
        };
        for (int i = 0; i < kColumns; ++i)
            connect(button(i), &QPushButton::clicked, window_.get(), refused);
        for (const char* name : {"mPlayNew", "mInfo"})
            connect(action(name), &QAction::triggered, window_.get(), refused);
        // Runs after the window's own handler: a new game asked for inside a turn was refused.
        connect(action("mPlayNew"), &QAction::triggered, window_.get(),
                [&] { games += !window_->Controller().TurnInProgress(); });
        QTimer meanwhile;
        connect(&meanwhile, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            const unsigned pick = meanwhileRng(), disabled = !window_->WindowInputEnabled();
            wins += modal && modal->property("text").toString().endsWith("gewonnen.");
            draws += modal && modal->property("text") == "Das Spiel endet unentschieden.";
            abouts += qobject_cast<frmInfo*>(modal) != nullptr;
            if (modal)
                QTest::keyClick(modal, pick % 2 ? Qt::Key_Escape : Qt::Key_Return);
            else if (disabled && pick % 16 == 0)
                clickColumn(int(pick / 16 % kColumns));
            else if (disabled && pick % 16 == 1)
                QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
            else if (disabled && pick % 16 == 2)
                QTest::mouseClick(window_->menuBar(), Qt::LeftButton, {},
                                  window_->menuBar()->actionGeometry(action("mInfo")).center());
        });
        meanwhile.start(0);
        const char* const menus[] = {"mPlayNew", "mCPUr",  "mCPUyellow", "mInfo",
                                     "mS1(0)",   "mS1(1)", "mS1(2)",     "mS1(3)"};
        std::discrete_distribution<int> pick({44, 12, 7, 3, 6, 6, 2, 2, 2, 2, 2});
        for (; index < actions && failure.isEmpty(); ++index) {
            // The offscreen platform does not hand activation back to the owner when a dialog
            // closes, as a window manager would; shortcuts need an active window.
            QApplication::setActiveWindow(window_.get());
            const Board before = window_->State().board;
            const int act = pick(rng), gamesBefore = games;
            const int column = int(rng() % kColumns);
            const int height = ColumnHeight(before, column);
            const Player mover = window_->State().currentPlayer;
            const bool plays = button(column)->isEnabled() && height < kRows;
            if (act == 0)
                clickColumn(column);
            else if (act == 1)
                QTest::keyClick(window_.get(), Qt::Key(Qt::Key_0 + column));
            else if (act == 2)
                QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
            else
                action(menus[act - 3])->trigger();
            const Board& board = window_->State().board;
            if (act <= 1)
                check(plays ? board.At(column, height) == mover : board == before,
                      QString("input on column %1").arg(column));
            check(act != 2 || games > gamesBefore, "Ctrl+N started no game");
            computerGamesAtStufe4 += games > gamesBefore && marks() == "xx---x";
            std::uint64_t fours = 0;  // cells (row * 7 + column) in a line of four
            for (int w = 0; w < kWindowCount; ++w) {
                for (const int cell : kWindows[w].cells)
                    fours |= std::uint64_t{board.WindowState(w) % 16 == 4} << cell;
            }
            // Black borders are the search's while it runs; after it only a won four keeps them.
            for (int i = 0; i < kCells; ++i) {
                const CellCode code = board.Cells()[i];
                const auto* shape =
                    window_->findChild<Shape*>(QString("matrix(%1)").arg(i % 7 * 7 + i / 7));
                check((games == 0 || shape->FillColor() == QColor(kFills[code])) &&
                          shape->BorderColor() ==
                              (fours >> i & 1 ? Qt::black : QColor(192, 192, 192)),
                      QString("cell %1 (row * 7 + column)").arg(i));
            }
            // A four or a full board ends the game.
            const bool running =
                games > 0 && fours == 0 && std::popcount(board.OccupiedBits()) < kCells;
            check(std::ranges::count_if(window_->findChildren<QPushButton*>(),
                                        &QWidget::isEnabled) == (running ? kColumns : 0),
                  "column buttons");
            check(marks().mid(2).count('x') == 1 &&
                      window_->State().searchDepth == marks().indexOf('x', 2),
                  "levels " + marks());
        }
        action("mExit")->trigger();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QVERIFY(wins > 0 && draws > 0 && abouts > 0 && computerGamesAtStufe4 > 0);  // reached
        QVERIFY2(window_->QuitRequested() && !window_->isVisible(), "Verlassen left it open");
    }

    // Red by hand against the computer's yellow: key 3 (negative times for releases) pressed at
    // 100 and held, so it repeats as release/press pairs of equal time; the window drops the
    // release at 130 as if the computer were still moving. Released at 200, pressed at 250 while
    // the window takes no input, and again at 300: two red discs. Then two people play, yellow
    // starting; keys outside 0-6 change nothing, nor do keys after a win.
    void keyboardAndScreenReader() {
        QCOMPARE(Name("Shape1") + ", " + Name("Command1(6)"), "Spielfeld, Spalte 6");
        action("mPlayNew")->trigger();
        for (int time : {100, -130, 130, -160, 160, -200, 250, 300}) {
            window_->SetWindowEnabled(time != -130 && time != 250);
            QKeyEvent key(time < 0 ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_3, {});
            key.setTimestamp(quint64(qAbs(time)));
            QApplication::sendEvent(window_->findChild<QWidget*>("Command1(5)"), &key);
        }
        QCOMPARE(std::popcount(window_->State().board.OccupiedBits()), 4);
        // Only who is to move after each move is heard, not the search's changes of it.
        QCOMPARE(static_cast<ListenedWindow&>(*window_).heard,
                 QStringList({"Rot", "Gelb (CPU)", "Rot", "Gelb (CPU)", "Rot"}));
        QCOMPARE(Name("Label5"), "Züge: " + window_->findChild<QLabel*>("Label5")->text());
        QCOMPARE(Name("matrix(21)"), "Spalte 3, Reihe 0: rot");

        action("mCPUyellow")->trigger();
        action("mPlayNew")->trigger();
        for (int key : {Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_A, Qt::Key_Z})
            Press(key), Press(key, Qt::KeypadModifier);
        QCOMPARE(window_->State().board, Board{});
        QTimer closer;  // closes the win message
        connect(&closer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
        });
        closer.start(0);
        for (int column : {2, 6, 3, 6, 4, 6, 5, 0, 1})  // yellow wins with 5; 0 and 1 come after
            Press(Qt::Key_0 + column, column % 2 ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(Name("Shape1", QAccessible::Description),
                 "Spalte 0: leer; Spalte 1: leer; Spalte 2: gelb; Spalte 3: gelb; Spalte 4: gelb; "
                 "Spalte 5: gelb; Spalte 6: rot, rot, rot");
        QCOMPARE(Name("Label1"), "Der Spieler Gelb hat gegen den Spieler Rot gewonnen.");
    }

    // At a ratio of 1 the board is drawn as before. Above it each shape has the symmetry of a
    // square (a mirror and a quarter turn), so its border is as wide on all sides, and a circle
    // has blended edges. The About banner and the window icon are their bitmaps at 1 and their
    // vector sources at 2 (the icon's 64 pixels serve 32 at 2).
    void boardBannerAndIcon() {
        const auto shapes = window_->findChildren<Shape*>();  // the square, matrix(0)...
        for (int i = 0; i < shapes.size(); ++i)
            shapes[i]->SetFillColor(QList<QColor>{Qt::white, Qt::yellow, Qt::red}[i % 3]);
        window_->HighlightFour({{{0, 0}, {1, 1}, {2, 2}, {3, 3}}});
        QCOMPARE(draw(window_->centralWidget(), 1, {8, 8, 185, 185}), file("board_1x.png"));
        for (const qreal ratio : {1.25, 1.5, 1.75, 2.0})
            for (Shape* shape : shapes) {
                const QImage image = draw(shape, ratio, shape->rect());
                QCOMPARE(image, image.mirrored(true, false));
                QCOMPARE(image, image.transformed(QTransform().rotate(90)));
                // Partly covered pixels at a circle's edge come out differently in a thresholded
                // and in a dithered one-bit mask.
                QVERIFY(shape == shapes[0] ||
                        image.createAlphaMask() != image.createAlphaMask(Qt::OrderedAlphaDither));
            }
        frmInfo info(window_.get());
        QCOMPARE(draw(&info, 1, {0, 0, 154, 294}), file("banner.png"));
        QCOMPARE(draw(&info, 2, {0, 0, 154, 294}), file("banner_2x.png", 2));
        QCOMPARE(window_->windowIcon().pixmap(32), QPixmap(":/icon.png"));
        QCOMPARE(window_->windowIcon().pixmap(64).toImage(), file("icon_2x.png"));
    }

    // Every caption has its glyphs in the font it is drawn with; without a face behind it (no
    // fonts at all), a font draws every character as a box. Labels and buttons show a "text",
    // which must fit; the credits box a "plainText"; menus hold actions.
    void captionsFitAndRender() {
        frmInfo info(window_.get());
        for (QWidget* widget : window_->findChildren<QWidget*>() + info.findChildren<QWidget*>()) {
            QStringList texts = {widget->property("text").toString().remove('&'),
                                 widget->property("plainText").toString()};
            for (QAction* action : widget->actions())
                texts << action->text().remove('&');
            const QFont font = widget->font();
            for (const QString& text : texts)
                for (const QChar c : text)
                    QVERIFY2(c.isSpace() || QRawFont::fromFont(font).supportsCharacter(c),
                             qPrintable(text));
            QVERIFY2(
                QFontMetrics(font).horizontalAdvance(texts[0]) <= widget->contentsRect().width(),
                qPrintable(widget->objectName() + ": " + texts[0]));
        }
    }

    // DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM; the platform to ask for, "-" for none to try.
    void displayCheck() {
        const char* cases[][4] = {
            {":0", "wayland-0", "", ""}, {"", "wayland-0", "", "wayland"},  {"", "", "", "-"},
            {"", "", "xcb", "-"},        {"", "wayland-0", "xcb:x=1", "-"}, {":0", "", "xcb", ""},
            {"", "", "offscreen", ""},   {"", "", "xcb;wayland", ""}};
        for (const auto& c : cases) {
            std::map<std::string, std::string> env = {
                {"DISPLAY", c[0]}, {"WAYLAND_DISPLAY", c[1]}, {"QT_QPA_PLATFORM", c[2]}};
            const auto choice = ChooseDisplay([&](const char* name) { return env[name]; });
            QCOMPARE(QString::fromStdString(choice.missing.empty() ? choice.platform : "-"), c[3]);
        }
    }

  private:
    QString Name(const QString& object, QAccessible::Text text = QAccessible::Name) const {
        return QAccessible::queryAccessibleInterface(window_->findChild<QObject*>(object))
            ->text(text);
    }
    // Keys reach the window through whichever control has the focus; here a column button.
    void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window_->findChild<QWidget*>("Command1(5)"), Qt::Key(key), modifiers);
    }
    QString text(const char* label) const { return window_->findChild<QLabel*>(label)->text(); }
    QAction* action(const QString& name) const { return window_->findChild<QAction*>(name); }
    QPushButton* button(int i) const {
        return window_->findChild<QPushButton*>(QString("Command1(%1)").arg(i));
    }
    void clickColumn(int i) const { QTest::mouseClick(button(i), Qt::LeftButton); }
    // The check marks of "&Rot", "&Gelb" and "Stufe &1" to "Stufe &4".
    QString marks() const {
        QString marks;
        for (const char* name : {"mCPUr", "mCPUyellow", "mS1(0)", "mS1(1)", "mS1(2)", "mS1(3)"})
            marks += action(name)->isChecked() ? 'x' : '-';
        return marks;
    }

    std::unique_ptr<frmMain> window_;
};

QTEST_MAIN(MainWindowTest)
#include "tst_frmmain.moc"
