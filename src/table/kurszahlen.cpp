#include "kurszahlen.h"

#include "datenbestand.h"
#include "zellpruefung.h"

#include <QLocale>
#include <QSet>

namespace {

double Stunden(const QString& text)
{
    bool ok = false;
    const double wert = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && wert >= 0 ? wert : 0;
}

QString Mehrzahl(qint64 n, const QString& eins, const QString& mehr)
{
    return QString::number(n) + QLatin1Char(' ') + (n == 1 ? eins : mehr);
}

} // namespace

QString Kurszahlen::Zahl(double wert, int stellen)
{
    QString text = QLocale(QLocale::German).toString(wert, 'f', stellen);
    if (text.contains(QLatin1Char(','))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char(',')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

std::optional<double> Kurszahlen::Summe::Schnitt() const
{
    if (mitWert <= 0)
        return std::nullopt;
    return double(punkte) / mitWert;
}

QString Kurszahlen::Summe::Text() const
{
    QStringList teile;
    teile.append(QString::number(schueler) + QStringLiteral(" Schüler"));
    if (mitNote) {
        teile.append(
            QStringLiteral("Noten: %1 eingetragen, %2")
                .arg(eingetragen)
                .arg(Mehrzahl(Fehlend(), QStringLiteral("fehlt"), QStringLiteral("fehlen"))));
        if (const std::optional<double> schnitt = Schnitt())
            teile.append(QStringLiteral("Schnitt %1 Punkte").arg(Zahl(*schnitt)));
        if (mitDefiziten)
            teile.append(Mehrzahl(defizite, QStringLiteral("Defizit"), QStringLiteral("Defizite")));
    }
    if (mitFehlstunden) {
        QString stunden = QStringLiteral("Fehlstunden ") + Zahl(fehlstunden, 2);
        if (mitUnentschuldigt)
            stunden += QStringLiteral(", davon %1 unentschuldigt").arg(Zahl(unentschuldigt, 2));
        teile.append(stunden);
    } else if (mitUnentschuldigt) {
        teile.append(QStringLiteral("unentschuldigte Fehlstunden ") + Zahl(unentschuldigt, 2));
    }
    return teile.join(QStringLiteral("  ·  "));
}

QString Kurszahlen::Summe::KurzText() const
{
    QStringList teile;
    teile.append(QString::number(schueler) + QStringLiteral(" Schüler"));
    if (mitNote) {
        teile.append(Mehrzahl(eingetragen, QStringLiteral("Note"), QStringLiteral("Noten"))
            + QStringLiteral(", ")
            + Mehrzahl(Fehlend(), QStringLiteral("fehlt"), QStringLiteral("fehlen")));
        if (const std::optional<double> schnitt = Schnitt())
            teile.append(QStringLiteral("Ø ") + Zahl(*schnitt));
        if (mitDefiziten)
            teile.append(Mehrzahl(defizite, QStringLiteral("Defizit"), QStringLiteral("Defizite")));
    }
    if (mitFehlstunden) {
        QString stunden = Zahl(fehlstunden, 2) + QStringLiteral(" Fehlstd.");
        if (mitUnentschuldigt)
            stunden += QStringLiteral(" (%1 unent.)").arg(Zahl(unentschuldigt, 2));
        teile.append(stunden);
    } else if (mitUnentschuldigt) {
        teile.append(Zahl(unentschuldigt, 2) + QStringLiteral(" unent. Fehlstd."));
    }
    return teile.join(QStringLiteral(" · "));
}

QString Kurszahlen::Summe::Anteil() const
{
    if (!mitNote)
        return {};
    return QStringLiteral("%1/%2").arg(eingetragen).arg(schueler);
}

Kurszahlen::Kurszahlen(const Datenbestand& daten)
    : zDaten(&daten)
{
    SpaltenBestimmen();
}

Kurszahlen::Kurszahlen(const Datenbestand& daten, qint64 spalte)
    : zDaten(&daten)
    , zFesteSpalte(spalte < 0 ? -2 : spalte)
{
    SpaltenBestimmen();
}

void Kurszahlen::SpaltenBestimmen()
{
    zNote = zFehlstunden = zUnentschuldigt = -1;
    if (!zDaten)
        return;
    const Eintraege& katalog = zDaten->alleEintraege;
    qint64 ersteMitID = -1;
    for (qint64 i = 0; i < katalog.Anzahl(); ++i) {
        switch (Zellpruefung::ArtVon(katalog.ZeigeEintrag(i))) {
        case Zellpruefung::Spaltenart::Note:
            if (zNote < 0)
                zNote = i;
            break;
        case Zellpruefung::Spaltenart::NoteMitID:
            if (ersteMitID < 0)
                ersteMitID = i;
            break;
        case Zellpruefung::Spaltenart::Fehlstunden:
            if (zFehlstunden < 0)
                zFehlstunden = i;
            break;
        case Zellpruefung::Spaltenart::Unentschuldigt:
            if (zUnentschuldigt < 0)
                zUnentschuldigt = i;
            break;
        default:
            break;
        }
    }
    if (zNote < 0)
        zNote = ersteMitID;
    if (zFesteSpalte != -1)
        zNote = zFesteSpalte >= 0 && zFesteSpalte < katalog.Anzahl() ? zFesteSpalte : -1;
}

Kurszahlen::Zeile Kurszahlen::Berechnen(const KursEintraege* e) const
{
    Zeile z;
    if (!e || !zDaten)
        return z;
    const auto wert = [e](qint64 i) {
        return i >= 0 && i < e->Anzahl() ? e->ZeigeKursEintrag(i).datum : QString();
    };
    const QString note = wert(zNote);
    if (zNote >= 0 && !note.trimmed().isEmpty()) {
        z.eingetragen = true;
        const qint64 w = zDaten->NotenWert(note);
        z.mitWert = w >= 0;
        z.wert = z.mitWert ? w : 0;
        z.defizit = zDaten->NoteIstDefizit(
            zDaten->alleEintraege.ZeigeEintrag(zNote), note, zDaten->Halbjahr);
    }
    z.fehlstunden = Stunden(wert(zFehlstunden));
    z.unentschuldigt = Stunden(wert(zUnentschuldigt));
    return z;
}

void Kurszahlen::Zeilen(int anzahl)
{
    zZeilen.resize(qMax(0, anzahl));
}

void Kurszahlen::ZeileSetzen(int row, const KursEintraege* eintraege)
{
    if (row >= 0 && row < zZeilen.size())
        zZeilen[row] = Berechnen(eintraege);
}

Kurszahlen::Summe Kurszahlen::Ergebnis() const
{
    Summe s;
    s.schueler = int(zZeilen.size());
    s.mitNote = zNote >= 0;
    s.mitDefiziten = s.mitNote && zDaten && zDaten->mitDefiziten;
    s.mitFehlstunden = zFehlstunden >= 0;
    s.mitUnentschuldigt = zUnentschuldigt >= 0;
    for (const Zeile& z : zZeilen) {
        s.eingetragen += z.eingetragen;
        s.mitWert += z.mitWert;
        s.punkte += z.wert;
        s.defizite += z.defizit;
        s.fehlstunden += z.fehlstunden;
        s.unentschuldigt += z.unentschuldigt;
    }
    return s;
}

Kurszahlen::Summe Kurszahlen::FuerKurs(const Datenbestand& daten, const Kurs& kurs)
{
    Kurszahlen zahlen(daten);
    // The students as the course window lists them: in the order of the student list, each
    // once.
    QList<qint64> ids;
    QSet<qint64> gesehen;
    const Schuelerliste& schueler = daten.alleSchueler;
    for (qint64 i = 1; i <= schueler.AnzahlSchueler(); ++i) {
        const qint64 id = schueler.Zeigen(i).ID;
        if (kurs.Schueler.Enthalten(id) && !gesehen.contains(id)) {
            gesehen.insert(id);
            ids.append(id);
        }
    }
    zahlen.Zeilen(int(ids.size()));
    for (int r = 0; r < ids.size(); ++r) {
        const SchuelerKursZeiger zeile = daten.alleSchuelerKurse.Zeigen(kurs.Kuerzel, ids.at(r));
        zahlen.ZeileSetzen(r, zeile ? &zeile->Eintraege : nullptr);
    }
    return zahlen.Ergebnis();
}
