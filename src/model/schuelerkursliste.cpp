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

SchuelerKursliste::SchuelerKursliste(DateiLeser& leser)
{
    const qint64 n = leser.LeseInt16();
    for (qint64 i = 1; i <= n && leser.ok(); ++i)
        zSchuelerKurse.append(SchuelerKursZeiger(new SchuelerKurs(leser)));
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
    for (SchuelerKursZeiger& z : zSchuelerKurse) {
        if (GleicherSchluessel(*z, zeile->FachKuerzel, zeile->ID)) {
            z = std::move(zeile);
            return;
        }
    }
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
