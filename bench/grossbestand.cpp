#include "grossbestand.h"

#include <QStringList>
#include <memory>

namespace {

const QStringList Nachnamen { QStringLiteral("Müller"), QStringLiteral("Schäfer"),
    QStringLiteral("Köhler"), QStringLiteral("Weiß"), QStringLiteral("Bäcker"),
    QStringLiteral("Günther"), QStringLiteral("Öztürk"), QStringLiteral("Schulze"),
    QStringLiteral("Krüger"), QStringLiteral("Hoffmann"), QStringLiteral("Lorenz"),
    QStringLiteral("Voß") };
const QStringList Vornamen { QStringLiteral("Jürgen"), QStringLiteral("Sören"),
    QStringLiteral("Zoë"), QStringLiteral("Lea"), QStringLiteral("Jonas"), QStringLiteral("Ayşe"),
    QStringLiteral("Mia"), QStringLiteral("Finn"), QStringLiteral("Björn"),
    QStringLiteral("Frieda"), QStringLiteral("Malte"), QStringLiteral("Clara"),
    QStringLiteral("Henri") };

qint64 SchuelerId(int i)
{
    return 200000 + i;
}

} // namespace

void Grossbestand::Erzeugen(Datenbestand& d, Spaltenstruktur& s)
{
    d = Datenbestand();
    s = Spaltenstruktur();
    d.Halbjahr = 3;
    d.HalbjahrKuerzel = QStringLiteral("Q1");
    d.Halbjahrbezeichnung = QStringLiteral("Qualifikationsphase 1. Halbjahr");
    d.mitMarkAbitur = true;
    d.mitMarkKlausur = true;
    d.mitDefiziten = true;
    d.DefizitgrenzeEPH = 4;
    d.DefizitgrenzeQ = 4;
    d.mitWarnung = true;
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("unentschuldigte Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Hinweis")));
    d.alleEintraege.Anfuegen(Eintrag(QStringLiteral("KL"), QStringLiteral("Klausur")));
    d.mitDaten = true;
    for (int w = 15; w >= 0; --w)
        d.zNoten.append(
            Note(QString::number(w), QStringLiteral("Punkte %1").arg(w), w, QString::number(w)));
    d.NotenPass = QStringLiteral("demo");
    d.EMailAdresse = QStringLiteral("noten@schule.example");
    d.Absender = QStringLiteral("lehrer@schule.example");
    d.Server = QStringLiteral("mail.schule.example");
    d.Benutzer = QStringLiteral("noten");
    d.Pass = QStringLiteral("geheim");

    for (int i = 0; i < AnzahlSchueler; ++i) {
        const QString name = Nachnamen.at(i % Nachnamen.size()) + QStringLiteral("-")
            + Nachnamen.at((i / Nachnamen.size()) % Nachnamen.size()) + QStringLiteral(", ")
            + Vornamen.at(i % Vornamen.size());
        const QString guid = QStringLiteral("{%1-0000-4000-8000-%2}")
                                 .arg(i, 8, 16, QLatin1Char('0'))
                                 .arg(i * 7919, 12, 16, QLatin1Char('0'));
        d.alleSchueler.Anfuegen(Schueler(SchuelerId(i), name, guid));
    }

    // Course c holds 300 students; the row list holds one row per membership and, up to
    // the 32,767 rows, rows of students who left a course.
    const KursEintraege leer = d.alleEintraege.ErzeugeKursEintraege();
    int zeilen = 0;
    auto zeile = [&](const QString& kuerzel, int schueler) {
        auto z = std::make_shared<SchuelerKurs>(kuerzel, SchuelerId(schueler));
        z->Eintraege = leer;
        z->Eintraege.ZeigeKursEintrag(0).datum = QString::number(zeilen % 16);
        z->Eintraege.ZeigeKursEintrag(1).datum = QString::number(zeilen % 7);
        z->Eintraege.ZeigeKursEintrag(2).datum = QStringLiteral("0");
        if (zeilen % 10 == 0)
            z->Eintraege.ZeigeKursEintrag(3).datum = QStringLiteral("Attest liegt vor");
        z->Eintraege.ZeigeKursEintrag(4).datum = QString::number(15 - zeilen % 16);
        d.alleSchuelerKurse.Anfuegen(z);
        ++zeilen;
    };
    for (int c = 0; c < AnzahlKurse; ++c) {
        auto k = std::make_shared<Kurs>();
        k->Kuerzel = QStringLiteral("K%1").arg(c + 1, 3, 10, QLatin1Char('0'));
        k->Fach = QStringLiteral("Fach Nr. %1").arg(c + 1);
        k->KursArt = c % 4 == 0 ? QStringLiteral("LK") : QStringLiteral("GK");
        k->kNr = c % 5 + 1;
        k->Lehrer = QStringLiteral("WEH");
        for (int j = 0; j < SchuelerJeKurs; ++j) {
            const int schueler = (c * 97 + j * 10) % AnzahlSchueler;
            k->Schueler.Einfuegen(SchuelerId(schueler));
            if (j % 25 == 0)
                k->DrittesFachSchueler.Einfuegen(SchuelerId(schueler));
            if (j % 30 == 1)
                k->ViertesFachSchueler.Einfuegen(SchuelerId(schueler));
            if (j % 2 == 0)
                k->KlausurSchueler.Einfuegen(SchuelerId(schueler));
            if (j % 40 == 3)
                k->GewarntSchueler.Einfuegen(SchuelerId(schueler));
            zeile(k->Kuerzel, schueler);
        }
        d.alleKurse.Anfuegen(k);
    }
    for (int i = 0; d.alleSchuelerKurse.AnzahlKurse() < AnzahlZeilen; ++i)
        zeile(QStringLiteral("K%1").arg(i % AnzahlKurse + 1, 3, 10, QLatin1Char('0')),
            (i * 13 + 5) % AnzahlSchueler);
    s.KurslistenInit(d);
}
