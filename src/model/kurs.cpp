#include "kurs.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "hilfsmittel.h"

Kurs::Kurs(DateiLeser& leser, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung)
{
    geaendert = leser.LeseBoolean();
    gespeichert = leser.LeseBoolean();
    gesendet = leser.LeseBoolean();
    Kuerzel = leser.LeseVerschluesselt("Kurs.Kuerzel");
    Fach = leser.LeseVerschluesselt("Kurs.Fach");
    KursArt = leser.LeseVerschluesselt("Kurs.KursArt");
    kNr = leser.LeseInt16();
    Lehrer = leser.LeseVerschluesselt("Kurs.Lehrer");
    Schueler = Menge(leser, "Kurs.Schueler");
    if (mitMarkAbitur) {
        DrittesFachSchueler = Menge(leser, "Kurs.DrittesFachSchueler");
        ViertesFachSchueler = Menge(leser, "Kurs.ViertesFachSchueler");
    }
    if (mitMarkKlausur)
        KlausurSchueler = Menge(leser, "Kurs.KlausurSchueler");
    if (mitWarnung)
        GewarntSchueler = Menge(leser, "Kurs.GewarntSchueler");
}

void Kurs::Speichern(
    DateiSchreiber& schreiber, bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung) const
{
    schreiber.SchreibeBoolean(geaendert);
    schreiber.SchreibeBoolean(gespeichert);
    schreiber.SchreibeBoolean(gesendet);
    schreiber.SchreibeVerschluesselt(Kuerzel, QStringLiteral("Kurs.Kuerzel"));
    schreiber.SchreibeVerschluesselt(Fach, QStringLiteral("Kurs.Fach"));
    schreiber.SchreibeVerschluesselt(KursArt, QStringLiteral("Kurs.KursArt"));
    schreiber.SchreibeInt16(kNr);
    schreiber.SchreibeVerschluesselt(Lehrer, QStringLiteral("Kurs.Lehrer"));
    Schueler.Speichern(schreiber, QStringLiteral("Kurs.Schueler"));
    if (mitMarkAbitur) {
        DrittesFachSchueler.Speichern(schreiber, QStringLiteral("Kurs.DrittesFachSchueler"));
        ViertesFachSchueler.Speichern(schreiber, QStringLiteral("Kurs.ViertesFachSchueler"));
    }
    if (mitMarkKlausur)
        KlausurSchueler.Speichern(schreiber, QStringLiteral("Kurs.KlausurSchueler"));
    if (mitWarnung)
        GewarntSchueler.Speichern(schreiber, QStringLiteral("Kurs.GewarntSchueler"));
}

void Kurs::Speichern(DateiSchreiber& schreiber, bool mitWarnung) const
{
    schreiber.SchreibeVerschluesselt(Kuerzel, QStringLiteral("Kurs.Kuerzel"));
    schreiber.SchreibeVerschluesselt(Fach, QStringLiteral("Kurs.Fach"));
    schreiber.SchreibeVerschluesselt(KursArt, QStringLiteral("Kurs.KursArt"));
    schreiber.SchreibeInt16(kNr);
    schreiber.SchreibeVerschluesselt(Lehrer, QStringLiteral("Kurs.Lehrer"));
    Schueler.Speichern(schreiber, QStringLiteral("Kurs.Schueler"));
    schreiber.SchreibeBoolean(mitWarnung);
    if (mitWarnung)
        GewarntSchueler.Speichern(schreiber, QStringLiteral("Kurs.GewarntSchueler"));
}
