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
    if (leser.ok())
        IndexAufbauen();
}

void SchuelerKursliste::IndexAufbauen()
{
    zKetten.clear();
    zNaechste.clear();
    zNaechste.reserve(zSchuelerKurse.size());
    for (qsizetype i = 0; i < zSchuelerKurse.size(); ++i)
        InIndex(qint32(i));
}

void SchuelerKursliste::InIndex(qint32 position)
{
    zNaechste.append(-1);
    Kette& kette = zKetten[zSchuelerKurse.at(position)->ID];
    if (kette.erste < 0)
        kette.erste = position;
    else
        zNaechste[kette.letzte] = position;
    kette.letzte = position;
}

qint32 SchuelerKursliste::Suchen(const QString& fachKuerzel, qint64 id) const
{
    const auto kette = zKetten.constFind(id);
    if (kette == zKetten.constEnd())
        return -1;
    for (qint32 p = kette->erste; p >= 0; p = zNaechste.at(p)) {
        if (GleicherSchluessel(*zSchuelerKurse.at(p), fachKuerzel, id))
            return p;
    }
    return -1;
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
    const qint32 p = Suchen(fachKuerzel, id);
    return p < 0 ? nullptr : zSchuelerKurse.at(p);
}

void SchuelerKursliste::Anfuegen(SchuelerKursZeiger zeile)
{
    bool ersetzt = false;
    const auto kette = zKetten.constFind(zeile->ID);
    if (kette != zKetten.constEnd()) {
        for (qint32 p = kette->erste; p >= 0; p = zNaechste.at(p)) {
            SchuelerKursZeiger& z = zSchuelerKurse[p];
            if (!GleicherSchluessel(*z, zeile->FachKuerzel, zeile->ID))
                continue;
            // A file may hold the same row twice. Every copy takes the new values, so that no
            // stale copy is written out beside the edited one (and a reader that takes the last
            // of equal rows gets them too); the first is the object itself, the others copies.
            z = ersetzt ? zeile->Clone() : zeile;
            ersetzt = true;
        }
    }
    if (ersetzt)
        return;
    zSchuelerKurse.append(std::move(zeile));
    zAnzahlKurse = zSchuelerKurse.size();
    InIndex(qint32(zSchuelerKurse.size() - 1));
}

void SchuelerKursliste::Loeschen(const QString& fachKuerzel, qint64 id)
{
    const qint32 p = Suchen(fachKuerzel, id);
    if (p < 0)
        return;
    zSchuelerKurse.removeAt(p);
    zAnzahlKurse = zSchuelerKurse.size();
    // Every later row moves up one place.
    IndexAufbauen();
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
    kopie.IndexAufbauen();
    return kopie;
}
