#include "ui/frminfo.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEngine>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "ui/fonts.h"
#include "ui/pictures.h"
#include "ui/versioninfo.h"

namespace marlovin {

namespace {

// Positions and sizes are laid out in twips, 15 to a pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

QRect twips(int left, int top, int width, int height) {
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
            height / kTwipsPerPixel};
}

const QColor kTitleColour(189, 0, 4);

// Sizes in pixels rather than points: the layout is fixed in pixels, so 9.75 pt and 18 pt are
// taken at 96 dots per inch whatever the screen's logical resolution says.
QFont bodyFont() {
    QFont font = BuiltInFont(Face::Arial);
    font.setPixelSize(13);
    return font;
}

QFont titleFont() {
    QFont font = BuiltInFont(Face::CenturyGothicBold);
    font.setPixelSize(24);
    return font;
}

// The labels and the line stand on the white window whatever the theme, so where their colour is
// the toolkit's it must be the toolkit's colour for a white window, not a dark theme's light one.
void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QColor textOnWhite() {
    return QPalette(Qt::white).color(QPalette::WindowText);
}

QLabel* makeLabel(QWidget* parent, const char* name, QRect frame, const QString& text,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(frame);
    label->setFont(font);
    setTextColour(label, textOnWhite());
    return label;
}

QLabel* makeTitle(QWidget* parent, const char* name, QRect frame, const QString& text) {
    QLabel* label = makeLabel(parent, name, frame, text, titleFont());
    setTextColour(label, kTitleColour);
    return label;
}

// The banner for the density of the device painted on, also when rendered into an image.
class Banner : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const qreal ratio = painter.paintEngine()->paintDevice()->devicePixelRatioF();
        if (picture_.isNull() || picture_.devicePixelRatio() != ratio)
            picture_ = BannerAt(ratio);
        painter.drawImage(QPointF(0, 0), picture_);
    }

  private:
    QImage picture_;
};

QString credits() {
    return QStringLiteral(
        "Entwickler:\n"
        "Das Marlovin-Team\n"
        "\n"
        "Referenzen:\n"
        "kontakt@marlovin.example.org\n"
        "\n"
        "Besten Dank:\n"
        "brettspiele.example.org\n"
        "spielwiese.example.org\n");
}

}  // namespace

frmInfo::frmInfo(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(twips(0, 0, 6255, 4410).size());
    setWindowModality(Qt::ApplicationModal);

    const QFont body = bodyFont();

    Image1 = new Banner(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips(0, 0, 2310, 4410));

    // The stored end point lies beyond the client area; the window clips it at its right border.
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setLineWidth(1);
    Line1->setGeometry(twips(2310, 1080, 6960 - 2310, 15));
    setTextColour(Line1, textOnWhite());

    Label1 = makeTitle(this, "Label1", twips(2520, 120, 3615, 495), QStringLiteral("Dunfeld"));
    Label2 = makeTitle(this, "Label2", twips(2520, 600, 3615, 495), QStringLiteral("-"));
    Label5 =
        makeLabel(this, "Label5", twips(2520, 1500, 1455, 255), QStringLiteral("Lizenz:"), body);
    Label6 =
        makeLabel(this, "Label6", twips(3840, 1500, 1455, 255), QStringLiteral("Freeware"), body);
    Label7 =
        makeLabel(this, "Label7", twips(2520, 2160, 1095, 255), QStringLiteral("Credits:"), body);
    Label8 = makeLabel(this, "Label8", twips(3840, 1200, 1455, 255),
                       QStringLiteral("\u00A9 2026 Dunfeld"), body);
    Label9 =
        makeLabel(this, "Label9", twips(2520, 1200, 1455, 255), QStringLiteral("Copyright:"), body);
    Label3 =
        makeLabel(this, "Label3", twips(2520, 1800, 1215, 255), QStringLiteral("Version:"), body);
    Label4 = makeLabel(this, "Label4", twips(3840, 1800, 1215, 255), QStringLiteral("-"), body);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips(2400, 2400, 3735, 1455));
    Text1->setFont(body);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setTabChangesFocus(true);
    Text1->setPlainText(credits());
    Text1->setReadOnly(true);
    // Read-only still lets the reader select and copy, by mouse and by keyboard.
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips(4920, 3960, 1215, 315));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmInfo::Command1_Click);

    setTabOrder(Text1, Command1);

    Form_Load();
}

void frmInfo::Form_Load() {
    const ProgramVersion version = ReadProgramVersion();
    Label2->setText(version.productName);
    Label4->setText(
        QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision));
}

void frmInfo::Command1_Click() {
    accept();
}

void frmInfo::keyPressEvent(QKeyEvent* event) {
    // Esc presses the OK button (it is the cancel button too) rather than rejecting directly.
    if (event->matches(QKeySequence::Cancel)) {
        Command1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmInfo::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the owner as a dialog would be by default. The frame is
    // included where the platform already knows it.
    QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen != nullptr && !event->spontaneous()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void frmInfo::paintEvent(QPaintEvent* event) {
    // White behind the transparent labels, painted rather than put into the palette so the
    // credits box and the button keep the toolkit's own colours.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QDialog::paintEvent(event);
}

}  // namespace marlovin

#include "frminfo.moc"
