#include "schuelerliste.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "listen.h"

Schuelerliste::Schuelerliste(DateiLeser& leser)
{
    const qint64 n = leser.LeseInt16();
    // A student holds at least the ID and two length bytes.
    if (!leser.ListeLesbar(n, 6, sizeof(Schueler)))
        return;
    zSchueler.reserve(n);
    for (qint64 i = 1; i <= n && leser.ok(); ++i)
        zSchueler.emplaceBack(leser);
    zAnzahlSchueler = zSchueler.size();
}

void Schuelerliste::Speichern(DateiSchreiber& schreiber) const
{
    if (zAnzahlSchueler > 32767) {
        schreiber.Fehler(QStringLiteral("Zu viele Schüler (höchstens 32767)."));
        return;
    }
    schreiber.SchreibeInt16(zAnzahlSchueler);
    for (qint64 i = 0; i < zAnzahlSchueler; ++i)
        zSchueler.at(i).Speichern(schreiber);
}

Schueler& Schuelerliste::Zeigen(qint64 i)
{
    Listen::PruefePosition(zSchueler, i - 1, "Schuelerliste::Zeigen");
    return zSchueler[i - 1];
}

const Schueler& Schuelerliste::Zeigen(qint64 i) const
{
    Listen::PruefePosition(zSchueler, i - 1, "Schuelerliste::Zeigen");
    return zSchueler.at(i - 1);
}

void Schuelerliste::Anfuegen(const Schueler& schueler)
{
    zSchueler.append(schueler);
    zAnzahlSchueler = zSchueler.size();
}
