#include "notenspiegel.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "zellpruefung.h"

namespace {

QString Mehrzahl(qint64 n, const QString& eins, const QString& mehr)
{
    return QString::number(n) + QLatin1Char(' ') + (n == 1 ? eins : mehr);
}

// The position of the grade a text is, -1 for none: the whole text, letter case ignored,
// the first match wins (as the cell check finds it).
qsizetype NotenPosition(const QList<Note>& noten, const QString& text)
{
    for (qsizetype i = 0; i < noten.size(); ++i)
        if (Hilfsmittel::GleichOhneGross(noten.at(i).Kuerzel, text))
            return i;
    return -1;
}

} // namespace

Notenspiegel Notenspiegel::Berechnen(
    const Datenbestand& daten, qint64 spalte, const QList<const KursEintraege*>& zeilen)
{
    Notenspiegel n;
    const bool imKatalog = spalte >= 0 && spalte < daten.alleEintraege.Anzahl();
    if (imKatalog)
        n.spalte = daten.alleEintraege.ZeigeEintrag(spalte).Bezeichnung;

    Kurszahlen zahlen(daten, spalte);
    zahlen.Zeilen(int(zeilen.size()));
    for (int r = 0; r < zeilen.size(); ++r)
        zahlen.ZeileSetzen(r, zeilen.at(r));
    n.zahlen = zahlen.Ergebnis();

    // One step per grade of the scale; where it goes (with or without value) by its value.
    const QList<Note>& noten = daten.zNoten;
    QList<int> anzahl(noten.size(), 0);
    for (const KursEintraege* e : zeilen) {
        if (!imKatalog || !e || spalte >= e->Anzahl())
            continue;
        const QString text = e->ZeigeKursEintrag(spalte).datum;
        if (text.trimmed().isEmpty())
            continue; // missing
        const qsizetype i = NotenPosition(noten, text);
        if (i < 0)
            ++n.sonstige;
        else
            ++anzahl[i];
    }
    for (qsizetype i = 0; i < noten.size(); ++i) {
        // A grade written twice in the scale (in another letter case) is never found twice.
        if (NotenPosition(noten, noten.at(i).Kuerzel) != i)
            continue;
        Stufe stufe;
        stufe.note = noten.at(i).Kuerzel;
        stufe.anzahl = anzahl.at(i);
        stufe.defizit = imKatalog
            && daten.NoteIstDefizit(
                daten.alleEintraege.ZeigeEintrag(spalte), stufe.note, daten.Halbjahr);
        (noten.at(i).AlsWert >= 0 ? n.stufen : n.besondere).append(stufe);
    }
    return n;
}

QList<qint64> Notenspiegel::Spalten(const Datenbestand& daten)
{
    QList<qint64> spalten;
    const qint64 note = Kurszahlen(daten).Notenspalte();
    if (note >= 0)
        spalten.append(note);
    const Eintraege& katalog = daten.alleEintraege;
    for (qint64 i = 0; i < katalog.Anzahl(); ++i) {
        const Zellpruefung::Spaltenart art = Zellpruefung::ArtVon(katalog.ZeigeEintrag(i));
        const bool noten
            = art == Zellpruefung::Spaltenart::Note || art == Zellpruefung::Spaltenart::NoteMitID;
        if (noten && i != note)
            spalten.append(i);
    }
    return spalten;
}

int Notenspiegel::HoechsteAnzahl() const
{
    int h = sonstige;
    for (const QList<Stufe>* liste : { &stufen, &besondere })
        for (const Stufe& s : *liste)
            h = qMax(h, s.anzahl);
    return h;
}

QStringList Notenspiegel::Noten() const
{
    QStringList n { QStringLiteral("Note") };
    for (const QList<Stufe>* liste : { &stufen, &besondere })
        for (const Stufe& s : *liste)
            n.append(s.note);
    if (sonstige > 0)
        n.append(QStringLiteral("sonstige"));
    return n;
}

QStringList Notenspiegel::Anzahlen() const
{
    QStringList n { QStringLiteral("Anzahl") };
    for (const QList<Stufe>* liste : { &stufen, &besondere })
        for (const Stufe& s : *liste)
            n.append(QString::number(s.anzahl));
    if (sonstige > 0)
        n.append(QString::number(sonstige));
    return n;
}

QString Notenspiegel::Zusammenfassung() const
{
    QStringList teile;
    teile.append(QString::number(zahlen.schueler) + QStringLiteral(" Schüler"));
    teile.append(
        QStringLiteral("%1 eingetragen, %2")
            .arg(zahlen.eingetragen)
            .arg(Mehrzahl(zahlen.Fehlend(), QStringLiteral("fehlt"), QStringLiteral("fehlen"))));
    if (const std::optional<double> schnitt = zahlen.Schnitt())
        teile.append(QStringLiteral("Schnitt %1 Punkte").arg(Kurszahlen::Zahl(*schnitt)));
    else
        teile.append(QStringLiteral("kein Schnitt"));
    if (zahlen.mitDefiziten)
        teile.append(
            Mehrzahl(zahlen.defizite, QStringLiteral("Defizit"), QStringLiteral("Defizite")));
    return teile.join(QStringLiteral("  ·  "));
}

QList<QStringList> Notenspiegel::Tabelle(const QString& titel) const
{
    QList<QStringList> t;
    t.append({ QStringLiteral("Notenspiegel"), titel, spalte });
    t.append(Noten());
    t.append(Anzahlen());
    t.append({ QStringLiteral("Schüler"), QString::number(zahlen.schueler) });
    t.append({ QStringLiteral("eingetragen"), QString::number(zahlen.eingetragen) });
    t.append({ QStringLiteral("fehlen"), QString::number(zahlen.Fehlend()) });
    const std::optional<double> schnitt = zahlen.Schnitt();
    t.append({ QStringLiteral("Schnitt"), schnitt ? Kurszahlen::Zahl(*schnitt) : QString() });
    if (zahlen.mitDefiziten)
        t.append({ QStringLiteral("Defizite"), QString::number(zahlen.defizite) });
    return t;
}
