// The course window: exchange of grade rows with other programs through the clipboard as
// tab-separated text (menu items "Kopieren" and "Einfügen" while the grade table has the
// focus).

#include "kursfenster.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kurstabelle.h"
#include "plattform.h"
#include "tabellentext.h"
#include "zellpruefung.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>

QString Kursfenster::SichtbarerText(int row, int column) const
{
    if (zTabelle->EditorAuf(row, column))
        return zTabelle->Editor()->text();
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
    return ZeilenKopieren();
}

bool Kursfenster::ZeilenKopieren()
{
    const QList<int> zeilen = GewaehlteZeilen(*zTabelle);
    if (zeilen.isEmpty())
        return true; // the clipboard keeps what it holds
    const int letzte = zTabelle->columnCount() - 1;
    if (letzte < 1)
        return true;
    // One line per row in the table's order: the cells of columns 1 to the last as the
    // grid shows them.
    QList<QStringList> text;
    for (const int i : zeilen) {
        QStringList felder;
        for (int j = 1; j <= letzte; ++j)
            felder.append(SichtbarerText(i, j));
        text.append(felder);
    }
    QGuiApplication::clipboard()->setText(Tabellentext::Aus(text));
    return true;
}

bool Kursfenster::_EditPasteSpezial_Action()
{
    return ZeilenEinfuegen();
}

bool Kursfenster::ZeilenEinfuegen()
{
    if (!Daten.mitDaten)
        return true;
    const QList<int> zeilen = GewaehlteZeilen(*zTabelle);
    if (zeilen.isEmpty())
        return true;
    const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
    if (!daten || !daten->hasText())
        return true;
    // An editor still open holds text of its own: it is checked before the paste.
    if (!OffeneZellePruefen())
        return true;
    TabelleEinfuegen(daten->text(), zeilen.first());
    return true;
}

bool Kursfenster::EditorEinfuegen()
{
    QLineEdit* editor = zTabelle->Editor();
    if (!editor || editor->isReadOnly())
        return false;
    const QMimeData* daten = QGuiApplication::clipboard()->mimeData();
    if (!daten || !daten->hasText())
        return false;
    const QString text = daten->text();
    // A single value copied from a spreadsheet's cell comes with a line end.
    QString einzeilig = text;
    while (einzeilig.endsWith(QLatin1Char('\n')) || einzeilig.endsWith(QLatin1Char('\r')))
        einzeilig.chop(1);
    const bool tabelle = einzeilig.contains(QLatin1Char('\t'))
        || einzeilig.contains(QLatin1Char('\n')) || einzeilig.contains(QLatin1Char('\r'));
    if (!tabelle) {
        if (Zellpruefung::HatSteuerzeichen(einzeilig)) {
            // Refused as typing would refuse it, with the reason.
            Plattform::aktuell().Piep();
            zGrund = Zellpruefung::GrundSteuerzeichen;
            emit EingabeAbgelehnt(zGrund);
            return true;
        }
        if (einzeilig == text)
            return false; // the editor pastes it itself
        editor->insert(einzeilig);
        return true;
    }
    // A table: pasted from the editor's row on, as when the table has the keyboard. The
    // editor's own text is checked first; a refused one stops the paste (beep, old value).
    if (!Daten.mitDaten)
        return true;
    const int zeile = zTabelle->EditorZeile();
    if (!OffeneZellePruefen())
        return true;
    TabelleEinfuegen(text, zeile);
    return true;
}

bool Kursfenster::IstKopfzeile(const QStringList& felder) const
{
    // Every field names its column, and at least one of them is no value its column would
    // take (a grade or hour column): a line of values is never taken for a header.
    const int erste = int(TabellenStruktur.ErsteSpalte);
    bool benannt = false;
    bool keinWert = false;
    for (int k = 0; k < felder.size() && erste + k < zTabelle->columnCount(); ++k) {
        const QString feld = felder.at(k).trimmed();
        if (feld.isEmpty())
            continue;
        const int c = erste + k;
        const Eintrag* eintrag = Spalteneintrag(c);
        const QString kopf = c < TabellenStruktur.Spalten.size()
            ? TabellenStruktur.Spalten.at(c).Ueberschrift
            : QString();
        if (!Hilfsmittel::GleichOhneGross(feld, kopf)
            && !(eintrag && Hilfsmittel::GleichOhneGross(feld, eintrag->Bezeichnung)))
            return false;
        benannt = true;
        if (Pruefen(0, c, felder.at(k)).ergebnis.art == Zellpruefung::Ergebnis::Abgelehnt)
            keinWert = true;
    }
    return benannt && keinWert;
}

void Kursfenster::TabelleEinfuegen(const QString& eingefuegt, int r0)
{
    QList<QStringList> textzeilen = Tabellentext::Zeilen(eingefuegt);
    // A spreadsheet's block copied with its header line: the header stores nothing, and the
    // first line of values goes into the first row.
    if (!textzeilen.isEmpty() && IstKopfzeile(textzeilen.first()))
        textzeilen.removeFirst();

    const int erste = int(TabellenStruktur.ErsteSpalte);
    MarkierungenLoeschen();
    QList<Abgelehnt> abgelehnt;
    // The whole paste is one step of the history.
    zFuegtEin = true;
    SammlungBeginnen(QStringLiteral("Einfügen"));
    for (int m = 0; m < textzeilen.size() && r0 + m < zTabelle->rowCount(); ++m) {
        const QStringList& felder = textzeilen.at(m);
        for (int k = 0; k < felder.size() && erste + k < zTabelle->columnCount(); ++k) {
            // Each value by the rules of typing: accepted → stored and shown, refused → beep.
            zGrund.clear();
            if (!SpalteOK(felder.at(k), r0 + m, erste + k)) {
                Plattform::aktuell().Piep();
                abgelehnt.append({ r0 + m, erste + k, felder.at(k), zGrund });
            }
        }
    }
    SammlungBeenden();
    zFuegtEin = false;
    if (abgelehnt.isEmpty())
        return;
    // One summary of everything refused, and the cells that kept their old values marked.
    for (const Abgelehnt& a : std::as_const(abgelehnt))
        zAbgelehnteZellen.append(QPoint(a.column, a.row));
    zGrund = EinfuegenZusammenfassung(abgelehnt);
    emit EingabeAbgelehnt(zGrund);
    zTabelle->viewport()->update();
}

QString Kursfenster::EinfuegenZusammenfassung(const QList<Abgelehnt>& abgelehnt) const
{
    const auto stelle = [this](const Abgelehnt& a) {
        const Eintrag* eintrag = Spalteneintrag(a.column);
        const QString spalte = a.column < TabellenStruktur.Spalten.size()
            ? TabellenStruktur.Spalten.at(a.column).Ueberschrift
            : (eintrag ? eintrag->Bezeichnung : QString());
        return QStringLiteral("Zeile %1 %2 „%3“").arg(QString::number(a.row + 1), spalte, a.text);
    };
    if (abgelehnt.size() == 1) {
        const Abgelehnt& a = abgelehnt.first();
        QString text = QStringLiteral("1 Wert nicht übernommen: ") + stelle(a);
        if (!a.grund.isEmpty())
            text += QStringLiteral(" – ") + a.grund;
        return text;
    }
    constexpr int Zeigen = 4;
    QStringList teile;
    for (int i = 0; i < abgelehnt.size() && i < Zeigen; ++i)
        teile.append(stelle(abgelehnt.at(i)));
    QString text = QStringLiteral("%1 Werte nicht übernommen: ").arg(abgelehnt.size())
        + teile.join(QStringLiteral(", "));
    if (abgelehnt.size() > Zeigen)
        text += QStringLiteral(" und %1 weitere").arg(abgelehnt.size() - Zeigen);
    return text + u'.';
}

void Kursfenster::MarkierungenLoeschen()
{
    if (zAbgelehnteZellen.isEmpty())
        return;
    zAbgelehnteZellen.clear();
    zTabelle->viewport()->update();
}
