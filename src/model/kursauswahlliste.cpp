#include "kursauswahlliste.h"

#include <QStringList>

#include "dateileser.h"
#include "dateischreiber.h"
#include "listen.h"
#include "plattform.h"

KursAuswahlliste::KursAuswahlliste(
    DateiLeser& leser, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung)
{
    const qint64 n = leser.LeseInt16();
    // A course holds at least three flags, four length bytes, kNr and one set per set it
    // carries; in memory it is a shared object of its own.
    const qint64 mengen
        = 1 + (mitMarkAbitur ? 2 : 0) + (mitMarkKlausur ? 1 : 0) + (mitWarnung ? 1 : 0);
    if (!leser.ListeLesbar(n, 3 + 4 + 2 + 2 * mengen, sizeof(Kurs) + 64))
        return;
    zKurse.reserve(n);
    for (qint64 i = 1; i <= n && leser.ok(); ++i)
        zKurse.append(std::make_shared<Kurs>(leser, mitMarkAbitur, mitMarkKlausur, mitWarnung));
    zAnzahlKurse = zKurse.size();
}

void KursAuswahlliste::Speichern(
    DateiSchreiber& schreiber, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung) const
{
    if (zAnzahlKurse > 32767) {
        schreiber.Fehler(QStringLiteral("Zu viele Kurse (höchstens 32767)."));
        return;
    }
    schreiber.SchreibeInt16(zAnzahlKurse);
    for (qint64 i = 0; i < zAnzahlKurse; ++i)
        zKurse.at(i)->Speichern(schreiber, mitMarkAbitur, mitMarkKlausur, mitWarnung);
}

KursZeiger KursAuswahlliste::Zeigen(qint64 i) const
{
    Listen::PruefePosition(zKurse, i - 1, "KursAuswahlliste::Zeigen");
    return zKurse.at(i - 1);
}

void KursAuswahlliste::Anfuegen(KursZeiger kurs)
{
    zKurse.append(std::move(kurs));
    zAnzahlKurse = zKurse.size();
}

bool KursAuswahlliste::Gesichert() const
{
    // The courses changed and neither saved nor sent, named after the question's own text.
    QStringList offen;
    for (const KursZeiger& k : zKurse) {
        if (k->geaendert && !k->gespeichert && !k->gesendet)
            offen.append(k->Fach + QLatin1Char(' ') + k->KursArt + QString::number(k->kNr));
    }
    if (offen.isEmpty())
        return true;
    return Modales::JaNein(QStringLiteral("RAVIRIreru beenden?"),
        QStringLiteral("Soll RAVIRIreru beendet werden?"),
        QStringLiteral("Der aktuelle Stand der Eingabe wird zwar gesichert, aber mindestens "
                       "ein Kurs wurde geändert und weder gespeichert noch versandt!\n\n"
                       "Geändert und nicht abgegeben: ")
            + offen.join(QStringLiteral(", ")) + u'.');
}

KursAuswahlliste KursAuswahlliste::Kopie() const
{
    KursAuswahlliste kopie;
    for (const KursZeiger& k : zKurse)
        kopie.Anfuegen(std::make_shared<Kurs>(*k));
    return kopie;
}
