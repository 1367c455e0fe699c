#include "kursluecken.h"

#include "datenbestand.h"
#include "zellpruefung.h"

#include <QSet>

namespace {

struct Spalten {
    qint64 note = -1;
    qint64 klausur = -1;
};

Spalten SpaltenVon(const Eintraege& katalog)
{
    qint64 note = -1;
    qint64 ersteMitID = -1;
    for (qint64 i = 0; i < katalog.Anzahl(); ++i) {
        const Zellpruefung::Spaltenart art = Zellpruefung::ArtVon(katalog.ZeigeEintrag(i));
        if (art == Zellpruefung::Spaltenart::Note && note < 0)
            note = i;
        else if (art == Zellpruefung::Spaltenart::NoteMitID && ersteMitID < 0)
            ersteMitID = i;
    }
    // Without a "Note" column the first grade with ID is the grade itself.
    if (note < 0)
        return { ersteMitID, -1 };
    return { note, ersteMitID };
}

bool HatWert(const SchuelerKursZeiger& zeile, qint64 spalte)
{
    if (!zeile || spalte < 0 || spalte >= zeile->Eintraege.Anzahl())
        return false;
    return !zeile->Eintraege.ZeigeKursEintrag(spalte).datum.trimmed().isEmpty();
}

QString Zeile(const QString& spalte, const QStringList& namen, int von, const QString& wer)
{
    const QString schueler = von == 1 ? QStringLiteral("Schüler") : QStringLiteral("Schülern");
    return QStringLiteral("„%1“ fehlt bei %2 von %3 %4%5: %6.")
        .arg(spalte, QString::number(namen.size()), QString::number(von), schueler, wer,
            Kursluecken::Namen(namen));
}

} // namespace

Kursluecken Kursluecken::FuerKurs(const Datenbestand& daten, const Kurs& kurs)
{
    Kursluecken luecken;
    const Spalten spalten = SpaltenVon(daten.alleEintraege);
    if (spalten.note >= 0)
        luecken.notenSpalte = daten.alleEintraege.Bezeichnung(spalten.note);
    if (spalten.klausur >= 0)
        luecken.klausurSpalte = daten.alleEintraege.Bezeichnung(spalten.klausur);
    // The students as the course window lists them: in the order of the student list, each
    // once.
    QSet<qint64> gesehen;
    const Schuelerliste& alle = daten.alleSchueler;
    for (qint64 i = 1; i <= alle.AnzahlSchueler(); ++i) {
        const Schueler& s = alle.Zeigen(i);
        if (!kurs.Schueler.Enthalten(s.ID) || gesehen.contains(s.ID))
            continue;
        gesehen.insert(s.ID);
        ++luecken.schueler;
        const SchuelerKursZeiger zeile = daten.alleSchuelerKurse.Zeigen(kurs.Kuerzel, s.ID);
        if (spalten.note >= 0 && !HatWert(zeile, spalten.note))
            luecken.ohneNote.append(s.Name);
        if (spalten.klausur < 0 || !kurs.KlausurSchueler.Enthalten(s.ID))
            continue;
        ++luecken.mitKlausur;
        if (!HatWert(zeile, spalten.klausur))
            luecken.ohneKlausur.append(s.Name);
    }
    return luecken;
}

QString Kursluecken::Namen(const QStringList& namen, int zeigen)
{
    // Two names more than shown are said as names, not as "und 1 weitere".
    if (namen.size() <= zeigen + 1)
        return namen.join(QStringLiteral("; "));
    return namen.mid(0, zeigen).join(QStringLiteral("; "))
        + QStringLiteral(" und %1 weitere").arg(namen.size() - zeigen);
}

QString Kursluecken::Text() const
{
    QStringList zeilen;
    if (!ohneNote.isEmpty())
        zeilen.append(Zeile(notenSpalte, ohneNote, schueler, QString()));
    if (!ohneKlausur.isEmpty())
        zeilen.append(
            Zeile(klausurSpalte, ohneKlausur, mitKlausur, QStringLiteral(" mit Klausur")));
    return zeilen.join(QLatin1Char('\n'));
}
