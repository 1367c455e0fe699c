#include "grenzwertliste.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "hilfsmittel.h"
#include "kurslistenbauer.h"

#include <QBuffer>
#include <memory>

namespace {

KursEintraege Werte(const Eintraege& katalog, const QStringList& werte)
{
    KursEintraege e;
    for (qint64 i = 0; i < katalog.Anzahl(); ++i) {
        const Eintrag& k = katalog.ZeigeEintrag(i);
        e.Anfuegen(KursEintrag(k.ID, k.Bezeichnung, i < werte.size() ? werte.at(i) : QString()));
    }
    return e;
}

} // namespace

QString Grenzwertliste::LaengsterVerschluesselterText()
{
    // 126 two-byte characters and one three-byte character: 255 bytes once scrambled.
    return Hilfsmittel::DeChiffre(QString(126, QChar(0xFC)) + QChar(0x20AC));
}

QString Grenzwertliste::ZuLangerVerschluesselterText()
{
    return Hilfsmittel::DeChiffre(QString(128, QChar(0xFC)));
}

Datenbestand Grenzwertliste::Kursliste(bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung)
{
    Datenbestand d;
    d.istAbiturListe = mitMarkAbitur && !mitMarkKlausur;
    d.Halbjahr = -32768;
    d.HalbjahrKuerzel = QStringLiteral("Q2");
    d.Halbjahrbezeichnung = QString(85, QChar(0x20AC)); // 255 bytes
    d.mitMarkAbitur = mitMarkAbitur;
    d.mitMarkKlausur = mitMarkKlausur;
    d.mitDefiziten = true;
    d.DefizitgrenzeEPH = 32767;
    d.DefizitgrenzeQ = -1;
    d.mitWarnung = mitWarnung;
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
    d.alleEintraege.Anfuegen(Eintrag(QStringLiteral("KL"), QStringLiteral("Klausur")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Hinweis \"kurz\"")));
    d.mitDaten = true;
    d.zNoten.append(
        Note(QStringLiteral("15"), QStringLiteral("sehr gut plus"), 15, QStringLiteral("15")));
    d.zNoten.append(Note(QStringLiteral("E"), QStringLiteral("entschuldigt"), -32768, QString()));
    d.zNoten.append(
        Note(QStringLiteral("ä"), QStringLiteral("Ümlaut\tmit Tab"), 32767, QStringLiteral("x")));
    d.NotenPass = LaengsterVerschluesselterText();
    d.EMailAdresse = QStringLiteral("noten@schule.example");
    d.Absender = QString();
    d.Server = QStringLiteral("mail.schule.example");
    d.Benutzer = QStringLiteral("Jürgen 😀");
    d.Pass = QStringLiteral("p\"a\\ss\n\u0001");

    d.alleSchueler.Anfuegen(
        Schueler(2147483647, QStringLiteral("Müller, Jürgen"), QStringLiteral("{0A1B}")));
    d.alleSchueler.Anfuegen(Schueler(-2147483648LL, QStringLiteral("Öztürk, Ayşe 😀"), QString()));
    d.alleSchueler.Anfuegen(Schueler(0, QString(), QStringLiteral("g")));
    d.alleSchueler.Anfuegen(
        Schueler(20301, QStringLiteral("Łukasik, Zoë \"Z\""), QStringLiteral("x")));

    KursZeiger m = Kurslistenbauer::NeuerKurs(QStringLiteral("M"), QStringLiteral("Mathematik"),
        QStringLiteral("LK"), 32767, LaengsterVerschluesselterText(),
        QStringLiteral(",2147483647,-2147483648,0,"));
    m->geaendert = true;
    m->gespeichert = true;
    m->DrittesFachSchueler = Menge(QStringLiteral(",0,"));
    m->KlausurSchueler = Menge(QStringLiteral(",2147483647,"));
    m->GewarntSchueler = Menge(QStringLiteral(",-2147483648,"));
    d.alleKurse.Anfuegen(m);
    KursZeiger dk = Kurslistenbauer::NeuerKurs(QStringLiteral("d"), QStringLiteral("Deutsch"),
        QStringLiteral("GK"), -32768, QString(), QStringLiteral(","));
    dk->gesendet = true;
    dk->ViertesFachSchueler = Menge(QStringLiteral(",20301,"));
    d.alleKurse.Anfuegen(dk);
    d.alleKurse.Anfuegen(Kurslistenbauer::NeuerKurs(
        QString(), QString(), QString(), 0, QStringLiteral("ÄÖÜ"), QStringLiteral(",20301,0,")));

    // The rows go through the list's reader, which keeps two rows with the same key.
    QByteArray zeilen;
    QBuffer puffer(&zeilen);
    puffer.open(QIODevice::WriteOnly);
    DateiSchreiber s(puffer);
    s.SchreibeInt16(5);
    auto zeile = [&](const QString& fach, qint64 id, const KursEintraege& werte) {
        SchuelerKurs z(fach, id);
        z.Eintraege = werte;
        z.Speichern(s);
    };
    zeile(QStringLiteral("M"), 2147483647,
        Werte(d.alleEintraege,
            { QStringLiteral("15"), QStringLiteral("E"),
                QStringLiteral("😀 „gut“\nzweite Zeile") }));
    zeile(QStringLiteral("m"), 2147483647, Werte(d.alleEintraege, { QStringLiteral("ä") }));
    zeile(QStringLiteral("d"), 0, KursEintraege());
    zeile(QString(), -2147483648LL, Werte(d.alleEintraege, {}));
    zeile(QStringLiteral("M"), 0,
        Werte(d.alleEintraege, { QString(), QString(), QString(85, QChar(0x20AC)) }));
    puffer.close();
    puffer.open(QIODevice::ReadOnly);
    DateiLeser l(puffer);
    d.alleSchuelerKurse = SchuelerKursliste(l);
    Q_ASSERT(l.ok() && s.ok());
    return d;
}

Spaltenstruktur Grenzwertliste::Spalten(const Datenbestand& daten, bool mitSpalten)
{
    Spaltenstruktur s;
    if (mitSpalten) {
        s.KurslistenInit(daten);
        s.SetzeSpaltenBreite(s.ErsteSpalte, 77);
    }
    return s;
}

QByteArray Grenzwertliste::Ergebnis(const Datenbestand& daten, qint64 kursNr)
{
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    if (!daten.SchreibeErgebnis(puffer, *daten.alleKurse.Zeigen(kursNr), meldung))
        qFatal("Ergebnis nicht schreibbar: %s", qPrintable(meldung));
    return bytes;
}
