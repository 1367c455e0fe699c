// The course window: exchange of grade rows with other programs through the clipboard as
// tab-separated text (menu items "Kopieren" and "Einfügen" while the grade table has the
// focus).

#include "kursfenster.h"

#include "datenbestand.h"
#include "kurstabelle.h"
#include "plattform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>

QString Kursfenster::SichtbarerText(int row, int column) const
{
    if (const QLineEdit* editor = zTabelle->Editor();
        editor && zTabelle->EditorZeile() == row && zTabelle->EditorSpalte() == column)
        return editor->text();
    return Zelltext(row, column);
}

namespace {

// The rows with a selected cell, top to bottom.
QList<int> GewaehlteZeilen(const Kurstabelle& tabelle)
{
    QList<int> zeilen;
    const QItemSelectionModel* auswahl = tabelle.selectionModel();
    if (!auswahl)
        return zeilen;
    for (int i = 0; i < tabelle.rowCount(); ++i) {
        for (int j = 0; j < tabelle.columnCount(); ++j) {
            if (auswahl->isSelected(tabelle.model()->index(i, j))) {
                zeilen.append(i);
                break;
            }
        }
    }
    return zeilen;
}

} // namespace

bool Kursfenster::_EditCopySpezial_Action()
{
    const QList<int> zeilen = GewaehlteZeilen(*zTabelle);
    if (zeilen.isEmpty())
        return true; // the clipboard keeps what it holds
    const int letzte = zTabelle->columnCount() - 1;
    if (letzte < 1)
        return true;
    // One line per row in the table's order: the cells of columns 1 to the last as the
    // grid shows them, separated by tabs; a line feed after every line.
    QString text;
    for (const int i : zeilen) {
        for (int j = 1; j < letzte; ++j)
            text += SichtbarerText(i, j) + QLatin1Char('\t');
        text += SichtbarerText(i, letzte) + QLatin1Char('\n');
    }
    QGuiApplication::clipboard()->setText(text);
    return true;
}

bool Kursfenster::_EditPasteSpezial_Action()
{
    if (!Daten.mitDaten)
        return true;
    const QList<int> zeilen = GewaehlteZeilen(*zTabelle);
    if (zeilen.isEmpty())
        return true;
    const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
    if (!daten || !daten->hasText())
        return true;

    QString text = daten->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList textzeilen = text.split(QLatin1Char('\n'));

    const int r0 = zeilen.first();
    const int erste = int(TabellenStruktur.ErsteSpalte);
    for (int m = 0; m < textzeilen.size() && r0 + m < zTabelle->rowCount(); ++m) {
        const QString& zeile = textzeilen.at(m);
        if (zeile.isEmpty())
            continue; // an empty line carries no field
        const QStringList felder = zeile.split(QLatin1Char('\t'));
        for (int k = 0; k < felder.size() && erste + k < zTabelle->columnCount(); ++k) {
            const int row = r0 + m;
            const int column = erste + k;
            const QString& feld = felder.at(k);
            if (!SpalteOK(feld, row, column)) {
                Plattform::aktuell().Piep();
                continue;
            }
            SetzeZelltext(row, column, feld);
            // An editor open on the cell shows the pasted value; its earlier text would
            // otherwise be checked and stored over it when the editor moves on.
            if (QLineEdit* editor = zTabelle->Editor();
                editor && zTabelle->EditorZeile() == row && zTabelle->EditorSpalte() == column) {
                editor->setText(feld);
                editor->setModified(false);
            }
        }
    }
    Geaendert();
    return true;
}
