// The course window: the check of a typed value (ZelleGeprueft) and of a pasted one
// (SpalteOK), both by the rules of Zellpruefung, and the one road of a stored change
// (ZelleAendern).

#include "kursfenster.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kurstabelle.h"
#include "plattform.h"
#include "zellpruefung.h"

#include <QLineEdit>

namespace {

// The value of the "W" box in ZelleAendern and ZellWert.
const QString WarnungGesetzt = QStringLiteral("X");

// A row shorter than position bis + 1 (a damaged file) gets empty values for the missing
// entries, each with its catalogue entry's keys.
void Auffuellen(KursEintraege& eintraege, qint64 bis)
{
    const Eintraege& katalog = Daten.alleEintraege;
    while (eintraege.Anzahl() <= bis && eintraege.Anzahl() < katalog.Anzahl()) {
        const Eintrag& e = katalog.ZeigeEintrag(eintraege.Anzahl());
        eintraege.Anfuegen(KursEintrag(e.ID, e.Bezeichnung, QString()));
    }
}

// The value of entry j of a row copy ("" without copy or entry).
QString EintragVon(const SchuelerKurs* r, qint64 j)
{
    if (!r || j < 0 || j >= r->Eintraege.Anzahl())
        return {};
    return r->Eintraege.ZeigeKursEintrag(j).datum;
}

// The catalogue position of the absence hours, -1 without.
qint64 FehlstundenPosition()
{
    const Eintraege& katalog = Daten.alleEintraege;
    for (qint64 i = 0; i < katalog.Anzahl(); ++i)
        if (Zellpruefung::ArtVon(katalog.ZeigeEintrag(i)) == Zellpruefung::Spaltenart::Fehlstunden)
            return i;
    return -1;
}

} // namespace

Kursfenster::Pruefung Kursfenster::Pruefen(int row, int column, const QString& text) const
{
    Pruefung p;
    const Eintrag* eintrag = Spalteneintrag(column);
    if (!IstEintragsspalte(column) || !eintrag || row < 0 || row >= zTabelle->rowCount())
        return p;
    p.eintrag = true;
    const SchuelerKurs* r = Zeilenkurs(row).get();
    const qint64 erste = TabellenStruktur.ErsteSpalte;
    Zellpruefung::Zeile zeile;
    zeile.wert = EintragVon(r, column - erste);
    zeile.fehlstunden = EintragVon(r, FehlstundenPosition());
    p.ergebnis = Zellpruefung::Pruefen(Zellpruefung::ArtVon(*eintrag), zeile, text, Daten.zNoten);
    return p;
}

QString Kursfenster::GeprueftenText(int row, int column) const
{
    if (zTabelle->EditorAuf(row, column))
        return zTabelle->Editor()->text();
    return Zelltext(row, column);
}

void Kursfenster::Anzeigen(int row, int column, const QString& text)
{
    SetzeZelltext(row, column, text);
    if (zTabelle->EditorAuf(row, column)) {
        QLineEdit* editor = zTabelle->Editor();
        if (editor->text() != text) {
            editor->setText(text);
            editor->selectAll();
        }
    }
}

SchuelerKursZeiger Kursfenster::ZeilenkursSicher(int row)
{
    SchuelerKursZeiger r = Zeilenkurs(row);
    if (!r) {
        // The file held no course row for the student: the first stored value creates one.
        r = std::make_shared<SchuelerKurs>(zKurs->Kuerzel, Zelltext(row, 0).toLongLong());
        SetzeZeilenkurs(row, r);
    }
    return r;
}

QString Kursfenster::ZellWert(int row, int column) const
{
    if (Daten.mitWarnung && column == TabellenStruktur.ErsteSpalte - 1)
        return Gewarnt(row) ? WarnungGesetzt : QString();
    if (!IstEintragsspalte(column))
        return Zelltext(row, column);
    return EintragVon(Zeilenkurs(row).get(), column - TabellenStruktur.ErsteSpalte);
}

bool Kursfenster::WertSetzen(
    int row, int column, const QString& wert, QString& vorher, QString& nachher)
{
    if (row < 0 || row >= zTabelle->rowCount())
        return false;
    const int erste = int(TabellenStruktur.ErsteSpalte);
    if (Daten.mitWarnung && column == erste - 1) {
        vorher = ZellWert(row, column);
        SetzeGewarnt(row, !wert.isEmpty());
        nachher = ZellWert(row, column);
        JournalVermerken(row, column, vorher, nachher);
        return true;
    }
    if (!IstEintragsspalte(column) || !Spalteneintrag(column))
        return false;
    const qint64 j = column - erste;
    const SchuelerKursZeiger r = ZeilenkursSicher(row);
    Auffuellen(r->Eintraege, j);
    if (j >= r->Eintraege.Anzahl())
        return false; // no catalogue entry there (the structure reader keeps this from happening)
    QString& datum = r->Eintraege.ZeigeKursEintrag(j).datum;
    vorher = datum;
    datum = wert;
    nachher = wert;
    Anzeigen(row, column, wert);
    ZahlenZeile(row);
    JournalVermerken(row, column, vorher, nachher);
    return true;
}

void Kursfenster::ZelleAendern(int row, int column, const QString& wert)
{
    QString vorher;
    QString nachher;
    if (!WertSetzen(row, column, wert, vorher, nachher))
        return;
    AenderungVermerken(row, column, vorher, nachher);
    // The marks of a paste's refusals stay until the teacher changes something.
    if (!zFuegtEin)
        MarkierungenLoeschen();
}

bool Kursfenster::ZelleGeprueft(int row, int column)
{
    return ZellePruefen(row, column);
}

bool Kursfenster::ZellePruefen(int row, int column)
{
    // No cell there (a course without rows), or an identification column: nothing to check.
    const Pruefung p = Pruefen(row, column, GeprueftenText(row, column));
    if (!p.eintrag)
        return true;
    const Zellpruefung::Ergebnis& e = p.ergebnis;
    switch (e.art) {
    case Zellpruefung::Ergebnis::Angenommen:
        ZelleAendern(row, column, e.wert);
        return true;
    case Zellpruefung::Ergebnis::Unveraendert:
        Anzeigen(row, column, e.wert);
        ToolBarAnpassen();
        return true;
    case Zellpruefung::Ergebnis::Abgelehnt:
        break;
    }
    Plattform::aktuell().Piep();
    zGrund = e.grund;
    Anzeigen(row, column, e.wert);
    ToolBarAnpassen();
    emit EingabeAbgelehnt(e.grund);
    return false;
}

bool Kursfenster::OffeneZellePruefen()
{
    if (!zTabelle->Editor())
        return true;
    return ZelleGeprueft(zTabelle->EditorZeile(), zTabelle->EditorSpalte());
}

bool Kursfenster::SpalteOK(const QString& text, int row, int column)
{
    return EingefuegtPruefen(text, row, column);
}

bool Kursfenster::EingefuegtPruefen(const QString& text, int row, int column)
{
    const Pruefung p = Pruefen(row, column, text);
    if (!p.eintrag)
        return false;
    const Zellpruefung::Ergebnis& e = p.ergebnis;
    if (e.art == Zellpruefung::Ergebnis::Abgelehnt) {
        zGrund = e.grund;
        emit EingabeAbgelehnt(e.grund);
        return false;
    }
    if (e.art == Zellpruefung::Ergebnis::Angenommen)
        ZelleAendern(row, column, e.wert);
    return true;
}
