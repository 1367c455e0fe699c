#include "eintraege.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "hilfsmittel.h"
#include "listen.h"

Eintraege::Eintraege(DateiLeser& leser)
{
    const qint64 n = leser.LeseInt16();
    // An entry holds at least its two length bytes.
    if (!leser.ListeLesbar(n, 2, sizeof(Eintrag)))
        return;
    zEintraege.reserve(n);
    for (qint64 i = 1; i <= n && leser.ok(); ++i)
        zEintraege.emplaceBack(leser);
}

void Eintraege::Speichern(DateiSchreiber& schreiber) const
{
    if (zEintraege.size() > 32767) {
        schreiber.Fehler(QStringLiteral("Zu viele Einträge im Katalog."));
        return;
    }
    schreiber.SchreibeInt16(zEintraege.size());
    for (const Eintrag& e : zEintraege)
        e.Speichern(schreiber);
}

void Eintraege::Loeschen(qint64 i)
{
    Listen::PruefePosition(zEintraege, i, "Eintraege::Loeschen");
    zEintraege.removeAt(i);
}

const Eintrag& Eintraege::ZeigeEintrag(qint64 i) const
{
    Listen::PruefePosition(zEintraege, i, "Eintraege::ZeigeEintrag");
    return zEintraege.at(i);
}

const Eintrag* Eintraege::ZeigeEintrag(const QString& bezeichnung) const
{
    for (const Eintrag& e : zEintraege) {
        if (Hilfsmittel::GleichOhneGross(e.Bezeichnung, bezeichnung))
            return &e;
    }
    return nullptr;
}

KursEintraege Eintraege::ErzeugeKursEintraege() const
{
    KursEintraege ergebnis;
    for (const Eintrag& e : zEintraege)
        ergebnis.Anfuegen(KursEintrag(e.ID, e.Bezeichnung, QString()));
    return ergebnis;
}

void Eintraege::Verschieben(qint64 von, qint64 nach)
{
    Listen::Verschieben(zEintraege, von, nach, "Eintraege::Verschieben");
}
