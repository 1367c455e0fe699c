#include "ergebnisdatei.h"

#include "dateiformat.h"
#include "dateileser.h"
#include "hilfsmittel.h"

QString Meldungen::ErgebnisVersion(qint64 version)
{
    return QStringLiteral(
        "Die Noten-Ergebnis-Datei hat die Version %1; gelesen wird nur Version %2.")
        .arg(version)
        .arg(Dateiformat::Version);
}

bool Ergebnisdatei::Lesen(QIODevice& geraet, Ergebnisdatei& ergebnis, QString& meldung)
{
    DateiLeser leser(geraet);
    const bool istErgebnis = leser.LeseBoolean();
    if (!leser.ok()) {
        meldung = Meldungen::ErgebnisBeschaedigt;
        return false;
    }
    if (!istErgebnis) {
        meldung = Meldungen::KeineErgebnisdatei;
        return false;
    }
    const qint64 version = leser.LeseInt16();
    if (!leser.ok()) {
        meldung = Meldungen::ErgebnisBeschaedigt;
        return false;
    }
    if (version != Dateiformat::Version) {
        meldung = Meldungen::ErgebnisVersion(version);
        return false;
    }

    Ergebnisdatei neu;
    neu.istAbiturListe = leser.LeseBoolean();
    neu.reserviert = leser.LeseBoolean();
    neu.Halbjahr = leser.LeseInt16();
    neu.HalbjahrKuerzel = leser.LesePString("HalbjahrKuerzel");
    neu.Halbjahrbezeichnung = leser.LesePString("Halbjahrbezeichnung");

    Kurs& kurs = neu.kurs;
    kurs.Kuerzel = leser.LeseVerschluesselt("Kurs.Kuerzel");
    kurs.Fach = leser.LeseVerschluesselt("Kurs.Fach");
    kurs.KursArt = leser.LeseVerschluesselt("Kurs.KursArt");
    kurs.kNr = leser.LeseInt16();
    kurs.Lehrer = leser.LeseVerschluesselt("Kurs.Lehrer");
    kurs.Schueler = Menge(leser, "Kurs.Schueler");
    neu.mitWarnung = leser.LeseBoolean();
    if (neu.mitWarnung && leser.ok())
        kurs.GewarntSchueler = Menge(leser, "Kurs.GewarntSchueler");
    if (!leser.ok()) {
        meldung = Meldungen::ErgebnisBeschaedigt;
        return false;
    }
    neu.alleSchueler = Schuelerliste(leser);
    if (leser.ok())
        neu.alleSchuelerKurse = SchuelerKursliste(leser);
    if (!leser.ok()) {
        meldung = Meldungen::ErgebnisBeschaedigt;
        return false;
    }
    ergebnis = std::move(neu);
    return true;
}
