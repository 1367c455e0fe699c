#include "beispieldaten.h"

#include <QBuffer>
#include <stdexcept>

namespace Beispieldaten {

Datenbestand Erzeugen(const Optionen& o)
{
    Datenbestand d;
    d.istAbiturListe = o.istAbiturListe;
    d.Halbjahr = 3;
    d.HalbjahrKuerzel = QStringLiteral("Q1");
    d.Halbjahrbezeichnung = QStringLiteral("Qualifikationsphase 1. Halbjahr");
    d.mitMarkAbitur = o.mitMarkAbitur;
    d.mitMarkKlausur = o.mitMarkKlausur;
    d.mitDefiziten = true;
    d.DefizitgrenzeEPH = 4;
    d.DefizitgrenzeQ = 4;
    d.mitWarnung = o.mitWarnung;
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("unentschuldigte Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Hinweis")));
    d.mitDaten = true;
    for (int p = 15; p >= 0; --p)
        d.zNoten.append(
            Note(QString::number(p), QStringLiteral("%1 Punkte").arg(p), p, QString::number(p)));
    d.NotenPass = QStringLiteral("Geheim");
    d.EMailAdresse = QStringLiteral("noten@schule.example");
    d.Absender = QStringLiteral("lehrer@schule.example");
    d.Server = QStringLiteral("mail.schule.example");
    d.Benutzer = QStringLiteral("lehrer");
    d.Pass = QStringLiteral("Päss");
    d.alleSchueler.Anfuegen(Schueler(101, QStringLiteral("Müller, Anna"), QStringLiteral("g-101")));
    d.alleSchueler.Anfuegen(Schueler(102, QStringLiteral("Öztürk, Ben"), QStringLiteral("g-102")));
    d.alleSchueler.Anfuegen(
        Schueler(103, QStringLiteral("Schmidt, Clara"), QStringLiteral("g-103")));

    auto m = std::make_shared<Kurs>();
    m->kNr = 2;
    m->KursArt = QStringLiteral("LK");
    m->Fach = QStringLiteral("Mathematik");
    m->Lehrer = QStringLiteral("ABC");
    m->Kuerzel = QStringLiteral("M");
    m->Schueler = Menge(QStringLiteral("101,102,103"));
    m->DrittesFachSchueler = Menge(QStringLiteral("101"));
    m->ViertesFachSchueler = Menge(QStringLiteral("102"));
    m->KlausurSchueler = Menge(QStringLiteral("101,103"));
    m->GewarntSchueler = Menge(QStringLiteral("103"));
    d.alleKurse.Anfuegen(m);

    auto de = std::make_shared<Kurs>();
    de->kNr = 1;
    de->KursArt = QStringLiteral("GK");
    de->Fach = QStringLiteral("Deutsch");
    de->Lehrer = QStringLiteral("ABC");
    de->Kuerzel = QStringLiteral("D");
    de->Schueler = Menge(QStringLiteral("102"));
    de->geaendert = true;
    d.alleKurse.Anfuegen(de);

    auto leer = std::make_shared<Kurs>();
    leer->kNr = 0;
    leer->KursArt = QStringLiteral("GK");
    leer->Fach = QStringLiteral("Physik");
    leer->Lehrer = QStringLiteral("ABC");
    leer->Kuerzel = QStringLiteral("PH");
    d.alleKurse.Anfuegen(leer);

    auto zeile = [&](const QString& fach, qint64 id, const QStringList& werte) {
        auto z = std::make_shared<SchuelerKurs>(fach, id);
        z->Eintraege = d.alleEintraege.ErzeugeKursEintraege();
        for (int i = 0; i < werte.size(); ++i)
            z->Eintraege.ZeigeKursEintrag(i).datum = werte.at(i);
        d.alleSchuelerKurse.Anfuegen(z);
    };
    zeile(QStringLiteral("M"), 101,
        { QStringLiteral("12"), QStringLiteral("4"), QStringLiteral("0"), QString() });
    zeile(QStringLiteral("M"), 102,
        { QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("2"),
            QStringLiteral("Attest fehlt") });
    zeile(QStringLiteral("D"), 102, { QStringLiteral("9"), QString(), QString(), QString() });
    return d;
}

QByteArray AlsKursliste(const Datenbestand& daten, const Spaltenstruktur& struktur)
{
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    if (!Datenbestand::Schreiben(puffer, daten, struktur, meldung))
        throw std::runtime_error(meldung.toStdString());
    return bytes;
}

QByteArray AlsKursliste(const Datenbestand& daten)
{
    Spaltenstruktur struktur;
    struktur.KurslistenInit(daten);
    return AlsKursliste(daten, struktur);
}

void AlsGlobaleDaten(const Datenbestand& daten, const QString& pfad)
{
    QByteArray bytes = AlsKursliste(daten);
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::ReadOnly);
    GlobaleDatenZuruecksetzen();
    QString meldung;
    if (!Datenbestand::Lesen(puffer, Daten, TabellenStruktur, meldung))
        throw std::runtime_error(meldung.toStdString());
    Daten.datenFolder = pfad;
}

} // namespace Beispieldaten
