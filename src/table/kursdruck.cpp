#include "kursdruck.h"

#include "hilfsmittel.h"

#include <QDateTime>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace {

// The largest integer not above aufloesung / 72 * punkte.
int InPixel(int aufloesung, int punkte)
{
    const qint64 n = qint64(aufloesung) * punkte;
    return int(n >= 0 ? n / 72 : -((-n + 71) / 72));
}

const QString Auslassung = QStringLiteral("...");

// The space between a column's edge and its text, at the scale of the print.
int Innenrand(int pixel, double massstab)
{
    return int(pixel * massstab);
}

// Alignment codes of the column structure.
constexpr int Zentriert = 2;
constexpr int Rechts = 3;

} // namespace

Kursdruck::Kursdruck(Kursabbild abbild)
    : zAbbild(std::move(abbild))
{
}

int Kursdruck::HorResPoint(int punkte) const
{
    return InPixel(zDpiX, punkte);
}

int Kursdruck::VerResPoint(int punkte) const
{
    return InPixel(zDpiY, punkte);
}

QString Kursdruck::FormatierungBreite(QPainter& g, const QString& text, int breite) const
{
    const QFontMetrics masse = g.fontMetrics();
    const int platz = breite - 2 * Innenrand(HorResPoint(3), zMassstab);
    if (masse.horizontalAdvance(text) <= platz)
        return text;
    const int punkte = masse.horizontalAdvance(Auslassung);
    QString rest = text;
    while (!rest.isEmpty() && masse.horizontalAdvance(rest) >= platz - punkte) {
        // One character at a time; a character beyond the basic plane goes whole.
        const bool paar = rest.size() >= 2 && rest.back().isLowSurrogate()
            && rest.at(rest.size() - 2).isHighSurrogate();
        rest.chop(paar ? 2 : 1);
    }
    return rest.isEmpty() ? QString() : rest + Auslassung;
}

int Kursdruck::FormatierungSpalte(
    QPainter& g, const QString& text, int links, int breite, int ausrichtung) const
{
    const int w = g.fontMetrics().horizontalAdvance(text);
    switch (ausrichtung) {
    case Zentriert:
        return links + (breite - w) / 2;
    case Rechts:
    case 4: // decimal
        return links + breite - w - Innenrand(HorResPoint(3), zMassstab);
    default:
        return links + Innenrand(HorResPoint(3), zMassstab);
    }
}

Kursdruck::Flaeche Kursdruck::FlaecheVon(QPagedPaintDevice& geraet)
{
    Flaeche f;
    f.breite = geraet.width();
    f.hoehe = geraet.height();
    f.dpiX = geraet.logicalDpiX();
    f.dpiY = geraet.logicalDpiY();
    // A printer prints a range of pages only when its dialog chose one.
    QPageRanges seiten = geraet.pageRanges();
    if (const auto* drucker = dynamic_cast<QPrinter*>(&geraet);
        drucker && drucker->printRange() != QPrinter::PageRange)
        seiten = QPageRanges();
    if (!seiten.isEmpty()) {
        f.vonSeite = qMax(1, seiten.firstPage());
        f.bisSeite = seiten.lastPage();
    }
    f.neueSeite = [&geraet] { return geraet.newPage(); };
    return f;
}

QString Kursdruck::VerkleinertHinweis(double massstab)
{
    return QStringLiteral("Auf %1 % verkleinert, damit alle Spalten auf die Seite passen.")
        .arg(int(massstab * 100));
}

void Kursdruck::DruckeDich(QPainter& g, const Flaeche& flaeche)
{
    zDpiX = qMax(1, flaeche.dpiX);
    zDpiY = qMax(1, flaeche.dpiY);
    zMassstab = 1.0;
    const int pw = flaeche.breite;
    const int ph = flaeche.hoehe;

    // Column geometry at the screen's physical size; the hidden column 0 never prints. A
    // table wider than the printable width is shrunk as a whole to fit it (the page set-up's
    // landscape gives it more room).
    const int spalten = int(zAbbild.breiten.size());
    QList<int> vollBreite(spalten, 0);
    qint64 vollRechts = 0;
    for (int k = 1; k < spalten; ++k) {
        vollBreite[k] = HorResPoint(zAbbild.breiten.at(k));
        vollRechts += vollBreite[k];
    }
    if (pw > 0 && vollRechts > pw)
        zMassstab = double(pw) / double(vollRechts);
    const double m = zMassstab;
    const auto skaliert = [m](int pixel) { return int(pixel * m); };

    // The print measures, in printer pixels: the title and the footer at full size, the
    // table at the table's scale.
    const QFont tabellenSchrift = zAbbild.schrift;
    const int schriftPunkte = tabellenSchrift.pixelSize() > 0
        ? tabellenSchrift.pixelSize()
        : qRound(tabellenSchrift.pointSizeF());
    const int fs = qMax(1, VerResPoint(schriftPunkte));
    const int fsTabelle = qMax(1, skaliert(fs));
    const int rh = qMax(1, skaliert(VerResPoint(zAbbild.zeilenhoehe)));
    const int hb = 3 * fs;
    const int gp = qMax(1, skaliert(VerResPoint(5)));
    const int grundlinie = fsTabelle + (rh - fsTabelle) / 2; // of a text in a row, from its top
    // A shrunk print says so in a footer line; the rows end above it.
    const bool hinweis = m < MinMassstab;
    const int fussband = hinweis ? 2 * fs : 0;
    const int unten = ph - fussband;

    // The rows a page holds: the first starts below the header band, the header row and
    // the gap; a page ends when the next row would reach its bottom. Page ranges are turned
    // into rows with this same count, so that page n of a range is page n of the whole list.
    const int ersteZeileOben = hb + rh + gp;
    int proSeite = 1;
    if (unten - 2 * rh - ersteZeileOben > 0)
        proSeite = (unten - 2 * rh - ersteZeileOben + rh - 1) / rh + 1;
    zZeilenProSeite = proSeite;

    zSpaltenbreite = QList<int>(spalten, 0);
    zStartpunkte = QList<int>(spalten, 0);
    for (int k = 1; k < spalten; ++k)
        zSpaltenbreite[k] = skaliert(vollBreite[k]);
    for (int k = 2; k < spalten; ++k)
        zStartpunkte[k] = zStartpunkte[k - 1] + zSpaltenbreite[k - 1];
    const int rechts = spalten > 0 ? zStartpunkte.last() + zSpaltenbreite.last() : 0;

    const int zeilen = int(zAbbild.zeilen.size());
    const int ersteZeile = (qMax(1, flaeche.vonSeite) - 1) * proSeite;
    int letzteZeile = zeilen - 1;
    if (flaeche.bisSeite > 0)
        letzteZeile = int(qMin<qint64>(qint64(flaeche.bisSeite) * proSeite - 1, zeilen - 1));

    const auto ueberschrift = [this](int k) {
        return k < zAbbild.ueberschriften.size() ? zAbbild.ueberschriften.at(k) : QString();
    };
    const auto ausrichtung = [this](int k) {
        return k < zAbbild.ausrichtungen.size() ? zAbbild.ausrichtungen.at(k) : 0;
    };

    QFont titelSchrift = tabellenSchrift;
    titelSchrift.setPixelSize(fs);
    titelSchrift.setUnderline(false);
    QFont schrift = tabellenSchrift;
    schrift.setPixelSize(fsTabelle);
    schrift.setUnderline(false);
    const QColor schwarz(0, 0, 0);
    const QColor rot(255, 0, 0);
    // Every line half a point wide (the text takes only the pen's colour).
    const double linie = qMax(zDpiX, zDpiY) / 144.0;
    const auto stift = [&g, linie](const QColor& farbe) { g.setPen(QPen(farbe, linie)); };
    const auto unterstrichen = [&g, &schrift](bool an) {
        QFont f = schrift;
        f.setUnderline(an);
        g.setFont(f);
    };
    stift(schwarz);
    const QString titel = zAbbild.titel + QStringLiteral(" - ")
        + Hilfsmittel::ErzeugeStringAusDateTime(QDateTime::currentDateTime());

    int seite = 0;
    // A page's title line, with its number from the second page on, and the footer line.
    const auto seitenkopf = [&] {
        ++seite;
        stift(schwarz);
        g.setFont(titelSchrift);
        if (seite >= 2) {
            const QString nummer = QStringLiteral("Seite ") + QString::number(seite);
            const int x = FormatierungSpalte(g, nummer, 0, pw, Rechts);
            g.drawText(x, fs, nummer);
            g.drawText(0, fs, FormatierungBreite(g, titel, x));
        } else {
            g.drawText(0, fs, FormatierungBreite(g, titel, pw));
        }
        if (hinweis)
            g.drawText(0, ph - fs / 2, FormatierungBreite(g, VerkleinertHinweis(m), pw));
    };
    bool neueSeite = true;
    int y = ersteZeileOben;
    for (int i = ersteZeile; i <= letzteZeile; ++i) {
        if (neueSeite) {
            seitenkopf();
            unterstrichen(false);
            // The header row and the double line under it.
            for (int k = 0; k < spalten; ++k) {
                const QString kopf = FormatierungBreite(g, ueberschrift(k), zSpaltenbreite[k]);
                g.drawLine(zStartpunkte[k], hb, zStartpunkte[k], hb + rh);
                if (!kopf.isEmpty())
                    g.drawText(
                        FormatierungSpalte(g, kopf, zStartpunkte[k], zSpaltenbreite[k], Zentriert),
                        hb + grundlinie, kopf);
            }
            g.drawLine(rechts, hb, rechts, hb + rh);
            g.drawLine(0, hb, rechts, hb);
            g.drawLine(0, hb + rh, rechts, hb + rh);
            g.drawLine(0, hb + rh + gp, rechts, hb + rh + gp);
            y = ersteZeileOben;
            neueSeite = false;
        }

        const Kursabbild::Zeile& zeile = zAbbild.zeilen.at(i);
        for (int k = 0; k < spalten; ++k) {
            const QString zelle = k < zeile.texte.size() ? zeile.texte.at(k) : QString();
            const QString text = FormatierungBreite(g, zelle, zSpaltenbreite[k]);
            stift(schwarz);
            unterstrichen(false);
            g.drawLine(zStartpunkte[k], y, zStartpunkte[k], y + rh);
            unterstrichen(k == zeile.unterstrichen);
            if (zeile.rot.contains(k))
                stift(rot);
            if (!text.isEmpty())
                g.drawText(
                    FormatierungSpalte(g, text, zStartpunkte[k], zSpaltenbreite[k], ausrichtung(k)),
                    y + grundlinie, text);
        }
        stift(schwarz);
        unterstrichen(false);
        g.drawLine(rechts, y, rechts, y + rh);
        g.drawLine(0, y + rh, rechts, y + rh);

        if (y + 2 * rh >= unten) {
            if (i != letzteZeile && flaeche.neueSeite)
                flaeche.neueSeite();
            neueSeite = true;
        }
        y += rh;
    }

    // After the list's last row: the distributions, below it where they fit, else on a page
    // of their own (the table's own rows never move for them).
    if (ersteZeile > letzteZeile || letzteZeile != zeilen - 1)
        return;
    for (const Notenspiegel& spiegel : zAbbild.notenspiegel) {
        if (neueSeite || y + NotenspiegelZeilen * rh > unten) {
            if (flaeche.neueSeite)
                flaeche.neueSeite();
            seitenkopf();
            y = hb;
            neueSeite = false;
        }
        stift(schwarz);
        unterstrichen(false);
        y = NotenspiegelDrucken(g, spiegel, y, rh, grundlinie, pw);
    }
}

int Kursdruck::NotenspiegelDrucken(
    QPainter& g, const Notenspiegel& spiegel, int y, int rh, int grundlinie, int pw) const
{
    const QFont schrift = g.font();
    const QPen schwarz = g.pen();
    QPen rot = schwarz;
    rot.setColor(QColor(255, 0, 0));
    y += rh / 2;

    QFont fett = schrift;
    fett.setBold(true);
    g.setFont(fett);
    const QString kopf = QStringLiteral("Notenspiegel – ") + spiegel.spalte;
    g.drawText(0, y + grundlinie, FormatierungBreite(g, kopf, pw));
    g.setFont(schrift);
    y += rh;

    // Two ruled rows: the grades over their counts, a deficit grade in red as in the list.
    const QList<QStringList> reihen { spiegel.Noten(), spiegel.Anzahlen() };
    QList<bool> defizit { false };
    for (const QList<Notenspiegel::Stufe>* liste : { &spiegel.stufen, &spiegel.besondere })
        for (const Notenspiegel::Stufe& s : *liste)
            defizit.append(s.defizit);
    const int rand = 2 * Innenrand(HorResPoint(3), zMassstab);
    const QFontMetrics masse = g.fontMetrics();
    int erste = 0;
    int zelle = int(HorResPoint(24) * zMassstab);
    for (const QStringList& reihe : reihen) {
        for (int k = 0; k < reihe.size(); ++k) {
            const int noetig = masse.horizontalAdvance(reihe.at(k)) + rand;
            if (k == 0)
                erste = qMax(erste, noetig);
            else
                zelle = qMax(zelle, noetig);
        }
    }
    const int zellen = int(reihen.first().size()) - 1;
    if (zellen > 0 && erste + zellen * zelle > pw)
        zelle = qMax(1, (pw - erste) / zellen);
    const int rechts = erste + zellen * zelle;
    for (int r = 0; r < reihen.size(); ++r) {
        const QStringList& reihe = reihen.at(r);
        for (int k = 0; k < reihe.size(); ++k) {
            const int links = k == 0 ? 0 : erste + (k - 1) * zelle;
            const int breite = k == 0 ? erste : zelle;
            g.setPen(schwarz);
            g.drawLine(links, y, links, y + rh);
            if (r == 0 && k < defizit.size() && defizit.at(k))
                g.setPen(rot);
            const QString text = FormatierungBreite(g, reihe.at(k), breite);
            const int x = FormatierungSpalte(g, text, links, breite, k == 0 ? 1 : Zentriert);
            g.drawText(x, y + grundlinie, text);
        }
        g.setPen(schwarz);
        g.drawLine(rechts, y, rechts, y + rh);
        g.drawLine(0, y, rechts, y);
        y += rh;
    }
    g.drawLine(0, y, rechts, y);
    g.drawText(0, y + grundlinie, FormatierungBreite(g, spiegel.Zusammenfassung(), pw));
    return y + rh;
}
