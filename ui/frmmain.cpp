#include "ui/frmmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include "engine/board.h"
#include "ui/accessibility.h"
#include "ui/closerequestfilter.h"
#include "ui/fonts.h"
#include "ui/frminfo.h"
#include "ui/inputrefusal.h"
#include "ui/keyboardplay.h"
#include "ui/pictures.h"
#include "ui/shape.h"

namespace marlovin {

namespace {

// Layout in pixels: the window's twips divided by 15.
constexpr int kClientWidth = 201;
constexpr int kClientHeight = 285;
constexpr int kCellSize = 25;
constexpr int kPitch = 24;
constexpr int kBoardLeft = 16;
constexpr int kBottomRowTop = 160;
constexpr int kButtonTop = 200;

// A disabled window has nothing to process but repaints, which need not come faster than the
// display shows them.
constexpr qint64 kFrameMs = 16;

const QColor kWhiteFill(255, 255, 255);
const QColor kYellowFill(255, 255, 0);
const QColor kRedFill(255, 0, 0);
const QColor kSilverBorder(192, 192, 192);
const QColor kBlackBorder(0, 0, 0);

QString PlayerName(Player player, bool computer) {
    QString name = player == kYellow ? QStringLiteral("Gelb")
                   : player == kRed  ? QStringLiteral("Rot")
                                     : QString();
    if (computer)
        name += QStringLiteral(" (CPU)");
    return name;
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The layout was drawn for the classic 8-point dialog font, whose widths Arial shares; Qt's default
// here (9-point DejaVu) clips "Cutoffs:" and runs "Züge:" into its value.
QFont ControlFont() {
    QFont font = BuiltInFont(Face::Arial);
    font.setPointSize(8);
    return font;
}

QFont StatusFont() {
    QFont font = BuiltInFont(Face::CourierNewBold);
    font.setPointSize(12);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    // Before the first widget, so that a font this sets for the application reaches them all.
    EnsureFonts();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Marlovin"));
    setWindowIcon(ProgramIcon());
    // A fixed border on Windows too, where a fixed size alone keeps the resizing frame.
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    CreateMenus();
    CreateControls();
    // The client area below the menu bar is fixed; the menu bar adds its own height on top.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    closeFilter_ = std::make_unique<CloseRequestFilter>(this, [this] { CloseOverModal(); });
    qApp->installNativeEventFilter(closeFilter_.get());
    Form_Load();
}

frmMain::~frmMain() {
    qApp->removeNativeEventFilter(closeFilter_.get());
}

void frmMain::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setFont(ControlFont());
    setCentralWidget(client);

    // Created from the bottom of the stacking order up: later siblings are drawn over earlier
    // ones, and the buttons' creation order is also their tab order.
    Shape1 = new Shape(Shape::Kind::Square, client);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(8, 8, 185, 185);

    for (int i = 0; i < kCells; ++i) {
        const int column = i / kRows;
        const int row = i % kRows;
        auto* circle = new Shape(Shape::Kind::Circle, client);
        circle->setObjectName(QStringLiteral("matrix(%1)").arg(i));
        circle->setGeometry(kBoardLeft + kPitch * column, kBottomRowTop - kPitch * row, kCellSize,
                            kCellSize);
        circle->SetBorderColor(kSilverBorder);
        matrix[i] = circle;
    }

    Label1 = MakeLabel(client, "Label1", QStringLiteral("Searching..."), QRect(8, 232, 185, 25));
    Label1->setFont(StatusFont());
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1->setLineWidth(1);
    Label1->setAutoFillBackground(true);

    Label3 = MakeLabel(client, "Label3", QStringLiteral("Züge:"), QRect(8, 264, 33, 17));
    Label4 = MakeLabel(client, "Label4", QStringLiteral("Cutoffs:"), QRect(104, 264, 41, 17));
    Label5 = MakeLabel(client, "Label5", QString(), QRect(40, 264, 49, 17));
    Label6 = MakeLabel(client, "Label6", QString(), QRect(144, 264, 49, 17));

    for (int i = 0; i < kColumns; ++i) {
        auto* button = new QPushButton(QString::number(i), client);
        button->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        button->setGeometry(kBoardLeft + kPitch * i, kButtonTop, kCellSize, kCellSize);
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1[i] = button;
    }

    keyboardPlay_ = new KeyboardPlay(this, Command1, [this] { return !inputRefusal_->Refusing(); });
    inputRefusal_ = std::make_unique<InputRefusal>(this, *keyboardPlay_);
    accessibility_ = std::make_unique<Accessibility>(
        Accessibility::Controls{Command1, matrix, Shape1, Label1, Label5, Label6});
}

void frmMain::CreateMenus() {
    // Actions are children of the window itself, so the input filter knows them as its own.
    auto makeAction = [this](const QString& text, const char* name) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        return action;
    };

    QMenuBar* bar = menuBar();
    mPlay = bar->addMenu(QStringLiteral("&Spiel"));
    mPlay->setObjectName(QStringLiteral("mPlay"));
    mPlayNew = makeAction(QStringLiteral("&Neues Spiel"), "mPlayNew");
    mPlayNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mPlay->addAction(mPlayNew);
    mExit = makeAction(QStringLiteral("&Verlassen"), "mExit");
    mPlay->addAction(mExit);

    mOptions = bar->addMenu(QStringLiteral("&Optionen"));
    mOptions->setObjectName(QStringLiteral("mOptions"));
    mCPU = mOptions->addMenu(QStringLiteral("&CPU-Spieler"));
    mCPU->setObjectName(QStringLiteral("mCPU"));
    mCPUr = makeAction(QStringLiteral("&Rot"), "mCPUr");
    mCPUr->setCheckable(true);
    mCPU->addAction(mCPUr);
    mCPUyellow = makeAction(QStringLiteral("&Gelb"), "mCPUyellow");
    mCPUyellow->setCheckable(true);
    mCPUyellow->setChecked(true);
    mCPU->addAction(mCPUyellow);

    m1 = mOptions->addMenu(QStringLiteral("&Schwierigkeit"));
    m1->setObjectName(QStringLiteral("m1"));
    for (int i = 0; i < static_cast<int>(mS1.size()); ++i) {
        QAction* level = makeAction(QStringLiteral("Stufe &%1").arg(i + 1), "");
        level->setObjectName(QStringLiteral("mS1(%1)").arg(i));
        level->setCheckable(true);
        level->setChecked(i == 1);
        m1->addAction(level);
        connect(level, &QAction::triggered, this, [this, i] { mS1_Click(i); });
        mS1[i] = level;
    }

    mInfo = makeAction(QStringLiteral("&Info"), "mInfo");
    bar->addAction(mInfo);

    connect(mPlayNew, &QAction::triggered, this, &frmMain::mPlayNew_Click);
    connect(mExit, &QAction::triggered, this, &frmMain::mExit_Click);
    connect(mCPUr, &QAction::triggered, this, &frmMain::mCPUr_Click);
    connect(mCPUyellow, &QAction::triggered, this, &frmMain::mCPUyellow_Click);
    connect(mInfo, &QAction::triggered, this, &frmMain::mInfo_Click);
}

// ---- Event handlers ----

void frmMain::Form_Load() {
    RunHandler([this] { controller_.StartUp([this](int index) { mS1_Click(index); }); });
}

void frmMain::Command1_Click(int index) {
    RunHandler([this, index] { controller_.ColumnChosen(index); });
}

void frmMain::mPlayNew_Click() {
    RunHandler([this] {
        // Refused in the middle of a turn, and then there is nothing new to draw either.
        if (controller_.NewGame())
            DrawBoard();
    });
}

void frmMain::mExit_Click() {
    close();
}

// The items are checkable, so Qt has inverted the mark by the time these run; the computer's
// colours are read from the marks when needed, so nothing else is to happen here.
void frmMain::mCPUr_Click() {}
void frmMain::mCPUyellow_Click() {}

void frmMain::mS1_Click(int index) {
    for (int i = 0; i < static_cast<int>(mS1.size()); ++i)
        mS1[i]->setChecked(i == index);
    controller_.SetDifficulty(index);
}

void frmMain::mInfo_Click() {
    frmInfo info(this);
    info.exec();
}

void frmMain::RunHandler(const std::function<void()>& work) {
    ++handlerDepth_;
    try {
        work();
    } catch (const ExitRequested&) {
        // The window is closing; an outer handler, if any, unwinds at its next PumpEvents.
    }
    --handlerDepth_;
    SyncLabels();
    if (quitRequested_ && handlerDepth_ == 0)
        QCoreApplication::quit();
}

// ---- GameView ----

void frmMain::DrawBoard() {
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            Shape* circle = matrix[kRows * column + row];
            switch (state_.board.At(column, row)) {
                case 0:
                    circle->SetFillColor(kWhiteFill);
                    break;
                case kYellow:
                    circle->SetFillColor(kYellowFill);
                    break;
                case kRed:
                    circle->SetFillColor(kRedFill);
                    break;
                default:
                    break;
            }
        }
    }
    accessibility_->BoardPainted(state_.board);
    // A disc is drawn at most once per move, so this is always shown at once.
    ProcessEvents();
}

void frmMain::HighlightFour(const std::array<Cell, 4>& cells) {
    for (const Cell& cell : cells) {
        if (cell.column >= 0 && cell.column < kColumns && cell.row >= 0 && cell.row < kRows)
            matrix[kRows * cell.column + cell.row]->SetBorderColor(kBlackBorder);
    }
    PumpEvents();
}

void frmMain::ResetHighlights() {
    for (Shape* circle : matrix) {
        circle->SetBorderColor(kSilverBorder);
        circle->SetBorderWidth(1);
    }
    // Ends every search: the labels show the final counts from here on.
    searching_ = false;
    SyncLabels();
}

void frmMain::ShowPlayerToMove(Player player) {
    statusPlayer_ = player;
    statusComputer_ = IsComputer(player);
    statusPending_ = true;
    if (!searching_) {
        SyncLabels();
        accessibility_->Announce(Label1->text());
    }
}

void frmMain::SetStatusText(std::string_view text) {
    statusPending_ = false;
    Label1->setText(FromView(text));
    accessibility_->Announce(Label1->text());
}

void frmMain::ResetCounters() {
    // Only the root of a search resets the counters.
    searching_ = true;
    countersShown_ = true;
    counters_ = {0, 0};
}

void frmMain::IncrementCounter(Counter counter) {
    // A blank counter counts as 0; every search resets both before counting.
    ++counters_[static_cast<std::size_t>(counter)];
    countersShown_ = true;
}

void frmMain::PumpEvents() {
    if (quitRequested_)
        throw ExitRequested{};
    if (inputRefusal_->Refusing()) {
        if (lastPump_.isValid() && lastPump_.elapsed() < kFrameMs)
            return;
        lastPump_.start();
    }
    ProcessEvents();
}

void frmMain::ProcessEvents() {
    if (quitRequested_)
        throw ExitRequested{};
    SyncLabels();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (quitRequested_)
        throw ExitRequested{};
}

void frmMain::SetColumnButtonsEnabled(bool enabled) {
    for (QPushButton* button : Command1)
        button->setEnabled(enabled);
}

void frmMain::SetWindowEnabled(bool enabled) {
    inputRefusal_->SetRefusing(!enabled);
    // The first pump after disabling shows the new state at once.
    lastPump_.invalidate();
    if (enabled)
        SyncLabels();
}

bool frmMain::IsComputer(Player player) {
    if (player == kYellow)
        return mCPUyellow->isChecked();
    if (player == kRed)
        return mCPUr->isChecked();
    return false;
}

void frmMain::ShowMessage(std::string_view text) {
    SyncLabels();
    accessibility_->Announce(FromView(text));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Marlovin"), FromView(text),
                    QMessageBox::Ok, this);
    box.exec();
    if (quitRequested_)
        throw ExitRequested{};
}

// ---- Labels and input ----

void frmMain::SyncLabels() {
    if (countersShown_) {
        bool countersChanged = false;
        const std::array<QLabel*, 2> labels{Label6, Label5};
        for (std::size_t i = 0; i < labels.size(); ++i) {
            if (writtenCounters_[i] != counters_[i]) {
                labels[i]->setText(QString::number(counters_[i]));
                writtenCounters_[i] = counters_[i];
                countersChanged = true;
            }
        }
        if (countersChanged)
            accessibility_->CountersWritten();
    }
    if (statusPending_) {
        statusPending_ = false;
        Label1->setText(PlayerName(statusPlayer_, statusComputer_));
    }
}

bool frmMain::event(QEvent* event) {
    if (event->type() == QEvent::UpdateRequest)
        SyncLabels();
    return QMainWindow::event(event);
}

bool frmMain::WindowInputEnabled() const {
    return !inputRefusal_->Refusing();
}

void frmMain::CloseOverModal() {
    quitRequested_ = true;
    // Their event loops return once they are gone, so the handlers below them can unwind.
    for (int open = 0; open < 8; ++open) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    quitRequested_ = true;
    event->accept();
    if (handlerDepth_ == 0)
        QCoreApplication::quit();
}

}  // namespace marlovin
