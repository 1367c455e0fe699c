#include "spaltenstruktur.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "datenbestand.h"
#include "listen.h"

Spaltenstruktur TabellenStruktur;

void Spaltenstruktur::KurslistenInit()
{
    KurslistenInit(Daten);
}

void Spaltenstruktur::KurslistenInit(
    const Datenbestand& daten, const std::function<qint64(const QString&)>& textbreite)
{
    if (ErsteSpalte != 0)
        return;
    Spalten.clear();
    if (daten.mitMarkAbitur) {
        ErsteSpalte = 4;
        SpalteAnfuegen(EinfacheSpalte(QString(), 0, 1));
        SpalteAnfuegen(EinfacheSpalte(QStringLiteral("Nr."), 40, 3));
        SpalteAnfuegen(EinfacheSpalte(QStringLiteral("A"), 30, 2));
        SpalteAnfuegen(EinfacheSpalte(QStringLiteral("Name"), 200, 1));
    } else {
        ErsteSpalte = 3;
        SpalteAnfuegen(EinfacheSpalte(QString(), 0, 1));
        SpalteAnfuegen(EinfacheSpalte(QStringLiteral("Nr."), 40, 3));
        SpalteAnfuegen(EinfacheSpalte(QStringLiteral("Name"), 200, 1));
    }
    if (daten.mitWarnung) {
        ErsteSpalte += 1;
        SpalteAnfuegen(EinfacheSpalte(QStringLiteral("W"), 25, 2));
    }
    SpaltenAnzahl = daten.alleEintraege.Anzahl() + ErsteSpalte;
    for (qint64 p = ErsteSpalte; p < SpaltenAnzahl; ++p) {
        const QString ueberschrift = daten.alleEintraege.Bezeichnung(p - ErsteSpalte);
        const qint64 breite = textbreite
            ? qBound(MinStandardbreite, textbreite(ueberschrift), MaxStandardbreite)
            : MinStandardbreite;
        SpalteAnfuegen(EinfacheSpalte(ueberschrift, breite, 2));
    }
}

void Spaltenstruktur::SpalteVerschieben(qint64 von, qint64 nach)
{
    Listen::Verschieben(Spalten, von, nach, "Spaltenstruktur::SpalteVerschieben");
}

void Spaltenstruktur::SetzeSpaltenBreite(qint64 position, qint64 breite)
{
    Listen::PruefePosition(Spalten, position, "Spaltenstruktur::SetzeSpaltenBreite");
    Spalten[position].Breite = breite < 10 ? 10 : breite;
}

qint64 Spaltenstruktur::Gesamtbreite() const
{
    qint64 summe = 0;
    for (qint64 i = 0; i < SpaltenAnzahl && i < Spalten.size(); ++i)
        summe += Spalten.at(i).Breite;
    return summe;
}

QString Spaltenstruktur::BreitenString() const
{
    QString text;
    for (qint64 i = 0; i < SpaltenAnzahl && i < Spalten.size(); ++i)
        text += QString::number(Spalten.at(i).Breite) + QLatin1Char(',');
    text.chop(1);
    return text;
}

qint64 Spaltenstruktur::ErmittleTrenner(qint64 x) const
{
    qint64 kante = 0;
    for (qint64 p = 0; p < SpaltenAnzahl && p < Spalten.size(); ++p) {
        kante += Spalten.at(p).Breite;
        if (kante - 3 < x && x < kante + 3)
            return p >= ErsteSpalte ? p : -1;
    }
    return -1;
}

void Spaltenstruktur::Laden(DateiLeser& leser)
{
    Spalten.clear();
    const qint64 n = leser.LeseInt16();
    // A column holds at least one length byte and two Int16.
    if (!leser.ListeLesbar(n, 5, sizeof(EinfacheSpalte)))
        return;
    Spalten.reserve(n);
    for (qint64 i = 1; i <= n && leser.ok(); ++i)
        Spalten.emplaceBack(leser);
    SpaltenAnzahl = Spalten.size();
    ErsteSpalte = leser.LeseInt16();
    // A stored width is used within sensible bounds (a column of 196,000 pixels would put
    // the window's buttons off the screen); the file keeps what it holds until the teacher
    // changes the width. The first column, the students' IDs, is hidden with width 0.
    for (qsizetype i = 0; i < Spalten.size(); ++i)
        Spalten[i].BreiteBegrenzen(i == 0 ? 0 : KleinsteBreite, GroessteBreite);
}

void Spaltenstruktur::Speichern(DateiSchreiber& schreiber) const
{
    if (SpaltenAnzahl > 32767 || SpaltenAnzahl != Spalten.size()) {
        schreiber.Fehler(QStringLiteral("Die Spaltenstruktur ist nicht in sich stimmig."));
        return;
    }
    schreiber.SchreibeInt16(SpaltenAnzahl);
    for (const EinfacheSpalte& s : Spalten)
        s.Speichern(schreiber);
    schreiber.SchreibeInt16(ErsteSpalte);
}
