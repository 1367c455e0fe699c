#include "zellpruefung.h"

#include "eintrag.h"
#include "hilfsmittel.h"
#include "note.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

using Hilfsmittel::GleichOhneGross;

namespace Zellpruefung {

const QString GrundFehlstunden = QStringLiteral("Fehlstunden: nur Zahlen ab 0.");
const QString GrundUnentschuldigt = QStringLiteral("Unentschuldigte Fehlstunden: nur Zahlen ab 0.");
const QString GrundUnentschuldigtZuHoch
    = QStringLiteral("Unentschuldigte Fehlstunden dürfen die Fehlstunden nicht übersteigen.");
const QString GrundSteuerzeichen = QStringLiteral(
    "Tabulatoren, Zeilenumbrüche und andere Steuerzeichen können nicht eingetragen werden.");
const QString GrundZuLang = QStringLiteral(
    "Der Text ist zu lang: höchstens 255 Zeichen, Umlaute und Sonderzeichen zählen mehrfach.");
const QString GrundUngueltig = QStringLiteral("Der Text enthält ungültige Zeichen.");

QString GrundKeineNote(const QString& text)
{
    return QStringLiteral("„%1“ ist keine Note dieser Notenskala.").arg(text);
}

QString GrundKeineNote(const QString& text, const QList<Note>& noten)
{
    const QString erlaubt = ErlaubteNoten(noten);
    if (erlaubt.isEmpty())
        return GrundKeineNote(text) + QStringLiteral(" Erlaubt ist nur eine leere Zelle.");
    return GrundKeineNote(text) + QStringLiteral(" Erlaubt sind: ") + erlaubt + u'.';
}

QString GrundStunden(Spaltenart art, const QString& text)
{
    const QString grund
        = art == Spaltenart::Unentschuldigt ? GrundUnentschuldigt : GrundFehlstunden;
    // "3,5": the number meant, written with the decimal comma the teacher is used to.
    QString mitPunkt = text;
    mitPunkt.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression dezimal(QStringLiteral("^[0-9]*\\.[0-9]+$|^[0-9]+\\.$"));
    if (text.count(QLatin1Char(',')) == 1 && dezimal.match(mitPunkt).hasMatch())
        return grund + QStringLiteral(" Dezimalstellen mit Punkt: „%1“.").arg(mitPunkt);
    return grund;
}

namespace {

// A plain decimal number: optional sign, digits with an optional decimal point, optional
// exponent. No blanks, no separators of a locale ("3,5" is no number here).
const QString Zahlmuster = QStringLiteral("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?");

bool IstZahl(const QString& text, double& wert)
{
    static const QRegularExpression ganz(QStringLiteral("^") + Zahlmuster + QStringLiteral("$"));
    if (!ganz.match(text).hasMatch())
        return false;
    bool ok = false;
    wert = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(wert);
}

// An hour count: a number that is not negative. "-0" and "-0.5" are negative numbers
// written by someone who meant something else; they are refused like "-1".
bool IstStundenzahl(const QString& text, double& wert)
{
    return IstZahl(text, wert) && !text.startsWith(QLatin1Char('-')) && wert >= 0;
}

// The number at the start of a stored text, 0 when it does not start with one (a value
// stored by an older program may be anything).
double Wert(const QString& text)
{
    static const QRegularExpression anfang(QStringLiteral("^\\s*") + Zahlmuster);
    const QRegularExpressionMatch treffer = anfang.match(text);
    if (!treffer.hasMatch())
        return 0;
    bool ok = false;
    const double wert = QLocale::c().toDouble(treffer.captured(0).trimmed(), &ok);
    return ok && std::isfinite(wert) ? wert : 0;
}

// A written form of digits only ("9", "09", "15"), and its number.
bool IstZiffernform(const QString& text, int& zahl)
{
    static const QRegularExpression ziffern(QStringLiteral("^[0-9]{1,4}$"));
    if (!ziffern.match(text).hasMatch())
        return false;
    zahl = text.toInt();
    return true;
}

// The grade of the scale written as text, letter case ignored. Where the scale writes its
// grades in digits, "9" also finds "09" and "09" finds "9"; where two forms would fit
// (a scale with both "9" and "09" and the text "009"), none is chosen.
const Note* SucheNote(const QList<Note>& noten, const QString& text)
{
    for (const Note& n : noten)
        if (GleichOhneGross(n.Kuerzel, text))
            return &n;
    int zahl = 0;
    if (!IstZiffernform(text, zahl))
        return nullptr;
    const Note* gefunden = nullptr;
    for (const Note& n : noten) {
        int andere = 0;
        if (!IstZiffernform(n.Kuerzel, andere) || andere != zahl)
            continue;
        if (gefunden)
            return nullptr;
        gefunden = &n;
    }
    return gefunden;
}

Ergebnis Unveraendert(const Zeile& zeile)
{
    return { Ergebnis::Unveraendert, zeile.wert, QString() };
}

Ergebnis Abgelehnt(const Zeile& zeile, const QString& grund)
{
    return { Ergebnis::Abgelehnt, zeile.wert, grund };
}

Ergebnis Angenommen(const QString& wert)
{
    return { Ergebnis::Angenommen, wert, QString() };
}

} // namespace

// Tabs, line ends and every other control character: a cell holds one line of text, and
// the clipboard's table format uses tabs and line ends as separators.
bool HatSteuerzeichen(const QString& text)
{
    for (const QChar z : text) {
        switch (z.category()) {
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            break;
        }
    }
    return false;
}

Spaltenart ArtVon(const Eintrag& eintrag)
{
    if (!eintrag.ID.isEmpty())
        return Spaltenart::NoteMitID;
    const QString& bez = eintrag.Bezeichnung;
    if (GleichOhneGross(bez, QStringLiteral("Note")))
        return Spaltenart::Note;
    if (GleichOhneGross(bez, QStringLiteral("Fehlstunden")))
        return Spaltenart::Fehlstunden;
    if (GleichOhneGross(bez, QStringLiteral("unentschuldigte Fehlstunden")))
        return Spaltenart::Unentschuldigt;
    if (GleichOhneGross(bez, QStringLiteral("Hinweis")))
        return Spaltenart::Hinweis;
    return Spaltenart::Andere;
}

Ergebnis Pruefen(Spaltenart art, const Zeile& zeile, const QString& text, const QList<Note>& noten)
{
    const bool stunden = art == Spaltenart::Fehlstunden || art == Spaltenart::Unentschuldigt;
    // An empty hour count is no hours.
    const QString t = stunden && text.isEmpty() ? QStringLiteral("0") : text;
    // The stored value itself passes, whatever an older program stored: a cell left as it
    // came is never refused.
    if (t == zeile.wert)
        return Unveraendert(zeile);

    // What no column can hold.
    if (!text.isValidUtf16())
        return Abgelehnt(zeile, GrundUngueltig);
    if (HatSteuerzeichen(text))
        return Abgelehnt(zeile, GrundSteuerzeichen);
    if (text.toUtf8().size() > MaxWertBytes)
        return Abgelehnt(zeile, GrundZuLang);

    switch (art) {
    case Spaltenart::NoteMitID:
    case Spaltenart::Note: {
        // A grade counts as the same whatever its letter case; a new one is stored in the
        // scale's own spelling, and the cell shows that spelling.
        if (GleichOhneGross(zeile.wert, text))
            return Unveraendert(zeile);
        if (text.isEmpty())
            return Angenommen(QString());
        const Note* note = SucheNote(noten, text);
        if (!note)
            return Abgelehnt(zeile, GrundKeineNote(text, noten));
        // "9" over a stored "09" is the grade that is there already.
        if (GleichOhneGross(zeile.wert, note->Kuerzel))
            return Unveraendert(zeile);
        return Angenommen(note->Kuerzel);
    }
    case Spaltenart::Fehlstunden:
    case Spaltenart::Unentschuldigt: {
        const bool unentschuldigt = art == Spaltenart::Unentschuldigt;
        double anzahl = 0;
        if (!IstStundenzahl(t, anzahl))
            return Abgelehnt(zeile, GrundStunden(art, t));
        if (GleichOhneGross(zeile.wert, t))
            return Unveraendert(zeile);
        // The unexcused hours may not exceed the absence hours (equal is allowed); lowering
        // the absence hours later is not held against the unexcused ones.
        if (unentschuldigt && Wert(zeile.fehlstunden) < anzahl)
            return Abgelehnt(zeile, GrundUnentschuldigtZuHoch);
        return Angenommen(t);
    }
    case Spaltenart::Hinweis:
    case Spaltenart::Andere:
        // Text, stored as it stands (a change of letter case is a change).
        return Angenommen(text);
    }
    return Unveraendert(zeile);
}

QString ErlaubteNoten(const QList<Note>& noten)
{
    // Runs of three or more grades whose digits count up or down by one are said as
    // "15 … 0"; every other grade stands by itself.
    QStringList teile;
    int i = 0;
    while (i < noten.size()) {
        int erste = 0;
        int ende = i + 1; // one past the run
        int schritt = 0;
        if (IstZiffernform(noten.at(i).Kuerzel, erste)) {
            int vorige = erste;
            for (int k = i + 1; k < noten.size(); ++k) {
                int zahl = 0;
                if (!IstZiffernform(noten.at(k).Kuerzel, zahl))
                    break;
                const int d = zahl - vorige;
                if ((d != 1 && d != -1) || (schritt != 0 && d != schritt))
                    break;
                schritt = d;
                vorige = zahl;
                ende = k + 1;
            }
        }
        if (ende - i >= 3) {
            teile.append(noten.at(i).Kuerzel + QStringLiteral(" … ") + noten.at(ende - 1).Kuerzel);
            i = ende;
        } else {
            teile.append(noten.at(i).Kuerzel);
            ++i;
        }
    }
    return teile.join(QStringLiteral(", "));
}

} // namespace Zellpruefung
