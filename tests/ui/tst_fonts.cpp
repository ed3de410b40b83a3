// Every caption of both windows fits its control and has its glyphs in the font it is drawn with,
// whichever fonts the host offers (ctest runs this under several font configurations).
#include <QFontDatabase>
#include <QRawFont>
#include <QtTest>

#include "ui/frminfo.h"
#include "ui/frmmain.h"

class Fonts : public QObject {
    Q_OBJECT

    static void Check(QWidget* widget, QString text, bool mustFit) {
        text.remove(QLatin1Char('&'));
        const QString what = widget->objectName() + QStringLiteral(": ") + text;
        // Without a face behind it (no fonts at all), a font draws every character as a box.
        QVERIFY2(QFontDatabase::hasFamily(QFontInfo(widget->font()).family()), qPrintable(what));
        const QRawFont font = QRawFont::fromFont(widget->font());
        for (const QChar c : text)
            QVERIFY2(c.isSpace() || font.supportsCharacter(c), qPrintable(what));
        const int width = QFontMetrics(widget->font()).horizontalAdvance(text);
        QVERIFY2(!mustFit || width <= widget->contentsRect().width(), qPrintable(what));
    }

    // Labels and buttons show a "text", the credits box a "plainText"; menus hold actions.
    static void CheckWindow(QWidget& window) {
        for (QWidget* widget : window.findChildren<QWidget*>()) {
            Check(widget, widget->property("text").toString(), true);
            Check(widget, widget->property("plainText").toString(), false);
            for (QAction* action : widget->actions())
                Check(widget, action->text(), false);
        }
    }

  private slots:
    void captionsFitAndRender() {
        marlovin::frmMain main;
        CheckWindow(main);
        marlovin::frmInfo info(&main);
        CheckWindow(info);
    }
};

QTEST_MAIN(Fonts)
#include "tst_fonts.moc"
