#include "ui/accessibility.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "ui/shape.h"

namespace marlovin {

namespace {

QString ColourWord(CellCode code) {
    switch (code) {
        case kYellow:
            return QStringLiteral("gelb");
        case kRed:
            return QStringLiteral("rot");
        default:
            return QStringLiteral("leer");
    }
}

// "Züge: 12", or the caption alone while the counter is blank.
QString CounterName(const QString& caption, const QLabel* value) {
    return value->text().isEmpty() ? caption : caption + QStringLiteral(": ") + value->text();
}

bool Drawn(CellCode code) {
    return code == kEmpty || code == kYellow || code == kRed;
}

}  // namespace

Accessibility::Accessibility(const Controls& controls) : controls_(controls) {
    for (int i = 0; i < kColumns; ++i) {
        QPushButton* button = controls_.buttons[static_cast<std::size_t>(i)];
        button->setAccessibleName(QStringLiteral("Spalte %1").arg(i));
        button->setAccessibleDescription(
            QStringLiteral("Wirft eine Scheibe in Spalte %1 (Taste %1)").arg(i));
    }
    for (int i = 0; i < kCells; ++i) {
        controls_.circles[static_cast<std::size_t>(i)]->setAccessibleName(
            CellName(i / kRows, i % kRows, kEmpty));
    }
    controls_.board->setAccessibleName(QStringLiteral("Spielfeld"));
    BoardPainted(Board{});

    controls_.status->setAccessibleName(controls_.status->text());
    controls_.status->setAccessibleDescription(QStringLiteral("Statuszeile: wer am Zug ist"));
    controls_.searchedMoves->setAccessibleDescription(
        QStringLiteral("Zahl der Züge, die die letzte Suche des Computers versucht hat"));
    controls_.cutOffs->setAccessibleDescription(
        QStringLiteral("Zahl der sofortigen Gewinne, die die letzte Suche gefunden hat"));
    CountersWritten();
}

QString Accessibility::CellName(int column, int row, CellCode code) {
    return QStringLiteral("Spalte %1, Reihe %2: %3").arg(column).arg(row).arg(ColourWord(code));
}

void Accessibility::BoardPainted(const Board& board) {
    QStringList columns;
    for (int column = 0; column < kColumns; ++column) {
        QStringList discs;
        for (int row = 0; row < kRows; ++row) {
            const CellCode code = board.At(column, row);
            const int index = kRows * column + row;
            const auto i = static_cast<std::size_t>(index);
            if (Drawn(code) && code != named_[i]) {
                controls_.circles[i]->setAccessibleName(CellName(column, row, code));
                named_[i] = code;
            }
            if (named_[i] != kEmpty)
                discs << ColourWord(named_[i]);
        }
        columns << QStringLiteral("Spalte %1: %2")
                       .arg(column)
                       .arg(discs.isEmpty() ? QStringLiteral("leer")
                                            : discs.join(QLatin1String(", ")));
    }
    // Bottom to top, as the discs fell.
    const QString description = columns.join(QLatin1String("; "));
    if (controls_.board->accessibleDescription() != description)
        controls_.board->setAccessibleDescription(description);
}

void Accessibility::CountersWritten() {
    controls_.searchedMoves->setAccessibleName(
        CounterName(QStringLiteral("Züge"), controls_.searchedMoves));
    controls_.cutOffs->setAccessibleName(CounterName(QStringLiteral("Cutoffs"), controls_.cutOffs));
}

void Accessibility::Announce(const QString& text) {
    QLabel* status = controls_.status;
    if (status->accessibleName() != text) {
        status->setAccessibleName(text);
        return;
    }
    // The same words again (the same player after a new game, say) are news all the same.
    QAccessibleEvent event(status, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

}  // namespace marlovin
