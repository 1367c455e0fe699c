#include "schuelerkursliste.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "hilfsmittel.h"
#include "listen.h"

#include <algorithm>

namespace {
bool GleicherSchluessel(const SchuelerKurs& zeile, const QString& fach, qint64 id)
{
    return zeile.ID == id && Hilfsmittel::GleichOhneGross(zeile.FachKuerzel, fach);
}
} // namespace

SchuelerKursliste::SchuelerKursliste(DateiLeser& leser, qint64 hoechstensEintraege)
{
    const qint64 n = leser.LeseInt16();
    // A row holds at least its key (1 + 4 bytes) and its count of entries (2 bytes); in
    // memory it is a shared object of its own.
    if (!leser.ListeLesbar(n, 7, sizeof(SchuelerKurs) + 64))
        return;
    zSchuelerKurse.reserve(n);
    for (qint64 i = 1; i <= n && leser.ok(); ++i)
        zSchuelerKurse.append(std::make_shared<SchuelerKurs>(leser, hoechstensEintraege));
    zAnzahlKurse = zSchuelerKurse.size();
}

void SchuelerKursliste::Speichern(DateiSchreiber& schreiber) const
{
    if (zAnzahlKurse > 32767) {
        schreiber.Fehler(QStringLiteral("Zu viele Kurszeilen (höchstens 32767)."));
        return;
    }
    schreiber.SchreibeInt16(zAnzahlKurse);
    for (qint64 i = 0; i < zAnzahlKurse; ++i)
        zSchuelerKurse.at(i)->Speichern(schreiber);
}

SchuelerKursZeiger SchuelerKursliste::Zeigen(const QString& fachKuerzel, qint64 id) const
{
    for (const SchuelerKursZeiger& z : zSchuelerKurse) {
        if (GleicherSchluessel(*z, fachKuerzel, id))
            return z;
    }
    return nullptr;
}

void SchuelerKursliste::Anfuegen(SchuelerKursZeiger zeile)
{
    bool ersetzt = false;
    for (SchuelerKursZeiger& z : zSchuelerKurse) {
        if (!GleicherSchluessel(*z, zeile->FachKuerzel, zeile->ID))
            continue;
        // A file may hold the same row twice. Every copy takes the new values, so that no
        // stale copy is written out beside the edited one (and a reader that takes the last
        // of equal rows gets them too); the first is the object itself, the others copies.
        z = ersetzt ? zeile->Clone() : zeile;
        ersetzt = true;
    }
    if (ersetzt)
        return;
    zSchuelerKurse.append(std::move(zeile));
    zAnzahlKurse = zSchuelerKurse.size();
}

void SchuelerKursliste::Loeschen(const QString& fachKuerzel, qint64 id)
{
    for (qsizetype i = 0; i < zSchuelerKurse.size(); ++i) {
        if (GleicherSchluessel(*zSchuelerKurse.at(i), fachKuerzel, id)) {
            zSchuelerKurse.removeAt(i);
            zAnzahlKurse = zSchuelerKurse.size();
            return;
        }
    }
}

void SchuelerKursliste::SpalteVerschieben(qint64 von, qint64 nach)
{
    for (const SchuelerKursZeiger& z : zSchuelerKurse) {
        // A row stored before the catalogue grew is shorter than the catalogue: it gets
        // empty values for the missing entries, so that every value stays with its entry.
        while (z->Eintraege.Anzahl() <= std::max(von, nach))
            z->Eintraege.Anfuegen(KursEintrag());
        z->SpalteVerschieben(von, nach);
    }
}

SchuelerKursZeiger SchuelerKursliste::ZeigePosition(qint64 i) const
{
    Listen::PruefePosition(zSchuelerKurse, i - 1, "SchuelerKursliste::ZeigePosition");
    return zSchuelerKurse.at(i - 1);
}

SchuelerKursliste SchuelerKursliste::Kopie() const
{
    SchuelerKursliste kopie;
    for (const SchuelerKursZeiger& z : zSchuelerKurse)
        kopie.zSchuelerKurse.append(SchuelerKursZeiger(new SchuelerKurs(*z)));
    kopie.zAnzahlKurse = kopie.zSchuelerKurse.size();
    return kopie;
}
