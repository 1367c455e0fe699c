// The course window: the check of a typed value (ZelleGeprueft) and of a pasted one
// (SpalteOK), with the storing of accepted values into the row's course record.

#include "kursfenster.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kurstabelle.h"
#include "plattform.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <cmath>

using Hilfsmittel::GleichOhneGross;

namespace {

const QString NoteName = QStringLiteral("Note");
const QString Fehlstunden = QStringLiteral("Fehlstunden");
const QString Unentschuldigt = QStringLiteral("unentschuldigte Fehlstunden");
const QString Hinweis = QStringLiteral("Hinweis");

// A plain decimal number: optional sign, digits with an optional decimal point, optional
// exponent. No blanks, no locale separators.
const QString Zahlmuster = QStringLiteral("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?");

// Whether text is a number; wert is its value.
bool IstZahl(const QString& text, double& wert)
{
    static const QRegularExpression ganz(QStringLiteral("^") + Zahlmuster + QStringLiteral("$"));
    if (!ganz.match(text).hasMatch())
        return false;
    bool ok = false;
    wert = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(wert);
}

// A valid hour count: numeric, and its integer part is not negative.
bool IstStundenzahl(const QString& text)
{
    double wert = 0;
    return IstZahl(text, wert) && std::trunc(wert) >= 0;
}

// The number at the start of text, 0 when the text does not start with one.
double Wert(const QString& text)
{
    static const QRegularExpression anfang(QStringLiteral("^\\s*") + Zahlmuster);
    const QRegularExpressionMatch treffer = anfang.match(text);
    if (!treffer.hasMatch())
        return 0;
    bool ok = false;
    const double wert = QLocale::c().toDouble(treffer.captured(0).trimmed(), &ok);
    return ok ? wert : 0;
}

// The file holds every value in at most 255 bytes of UTF-8.
bool PasstInDatei(const QString& text)
{
    return text.toUtf8().size() <= Kursfenster::MaxWertBytes;
}

} // namespace

QString Kursfenster::GeprueftenText(int row, int column) const
{
    if (QLineEdit* editor = zTabelle->Editor();
        editor && zTabelle->EditorZeile() == row && zTabelle->EditorSpalte() == column)
        return editor->text();
    return Zelltext(row, column);
}

void Kursfenster::KorrekturSetzen(int row, int column, const QString& text)
{
    // Into the open editor; when the grid has closed it already, into the cell itself.
    if (QLineEdit* editor = zTabelle->Editor();
        editor && zTabelle->EditorZeile() == row && zTabelle->EditorSpalte() == column) {
        if (editor->text() != text)
            editor->setText(text);
        editor->selectAll();
        return;
    }
    SetzeZelltext(row, column, text);
}

SchuelerKursZeiger Kursfenster::ZeilenkursSicher(int row)
{
    SchuelerKursZeiger r = Zeilenkurs(row);
    if (!r) {
        // The file held no course row for the student: the first check creates one.
        r = std::make_shared<SchuelerKurs>(zKurs->Kuerzel, Zelltext(row, 0).toLongLong());
        SetzeZeilenkurs(row, r);
    }
    return r;
}

bool Kursfenster::ZelleGeprueft(int row, int column)
{
    // No cell there (a course without rows): nothing to check.
    if (row < 0 || row >= zTabelle->rowCount() || column < 0 || column >= zTabelle->columnCount())
        return true;

    QString t = GeprueftenText(row, column);
    // Whatever the outcome, the editor holds no unchecked input afterwards.
    if (QLineEdit* editor = zTabelle->Editor();
        editor && zTabelle->EditorZeile() == row && zTabelle->EditorSpalte() == column)
        editor->setModified(false);
    const SchuelerKursZeiger r = ZeilenkursSicher(row);
    KursEintraege& eintraege = r->Eintraege;

    const auto annehmen = [this] {
        Geaendert();
        return true;
    };
    const auto ablehnen = [&](const QString& alt) {
        Plattform::aktuell().Piep();
        KorrekturSetzen(row, column, alt);
        return false;
    };

    const Eintrag* eintrag = Spalteneintrag(column);
    if (column < TabellenStruktur.ErsteSpalte || !eintrag)
        return annehmen();

    const QString& id = eintrag->ID;
    const QString& bez = eintrag->Bezeichnung;
    // The stored value shown before (for every kind under its own key).
    const QString alt = eintraege.Zeigen(id, bez);

    // A value the course-list file cannot hold is refused like any invalid value.
    if (!PasstInDatei(t))
        return ablehnen(alt);

    if (!id.isEmpty()) {
        // A grade column with ID: the scale's written form is stored, the cell keeps the
        // text as typed.
        if (GleichOhneGross(alt, t))
            return true;
        if (!Daten.NoteOK(t))
            return ablehnen(alt);
        eintraege.Eintragen(id, bez, Daten.NotenKuerzel(t));
        KorrekturSetzen(row, column, t);
        return annehmen();
    }

    if (GleichOhneGross(bez, NoteName)) {
        if (GleichOhneGross(alt, t))
            return true;
        if (!Daten.NoteOK(t))
            return ablehnen(alt);
        const QString kuerzel = Daten.NotenKuerzel(t);
        eintraege.Eintragen(QString(), NoteName, kuerzel);
        KorrekturSetzen(row, column, kuerzel);
        return annehmen();
    }

    if (GleichOhneGross(bez, Fehlstunden) || GleichOhneGross(bez, Unentschuldigt)) {
        if (t.isEmpty()) {
            t = QStringLiteral("0");
            KorrekturSetzen(row, column, t);
        }
        if (!IstStundenzahl(t))
            return ablehnen(alt);
        if (GleichOhneGross(alt, t))
            return true;
        // The unexcused hours may not exceed the absence hours (equal is allowed).
        if (GleichOhneGross(bez, Unentschuldigt)
            && Wert(eintraege.Zeigen(QString(), Fehlstunden)) < Wert(t))
            return ablehnen(alt);
        eintraege.Eintragen(QString(), bez, t);
        return annehmen();
    }

    if (GleichOhneGross(bez, Hinweis)) {
        // A remark is text: a change of letter case is a change.
        if (alt == t)
            return true;
        eintraege.Eintragen(QString(), Hinweis, t);
        return annehmen();
    }

    // Any other name: accepted, nothing stored.
    return annehmen();
}

bool Kursfenster::SpalteOK(const QString& text, int row, int column)
{
    if (row < 0 || row >= zTabelle->rowCount())
        return false;
    const Eintrag* eintrag = Spalteneintrag(column);
    if (!eintrag)
        return false;
    // The new course record stays the window's own until the table is saved, like a typed
    // value: closing the window without saving drops it.
    const SchuelerKursZeiger r = ZeilenkursSicher(row);
    KursEintraege& eintraege = r->Eintraege;
    if (!PasstInDatei(text))
        return false;

    const QString& id = eintrag->ID;
    const QString& bez = eintrag->Bezeichnung;
    if (!id.isEmpty()) {
        if (!Daten.NoteOK(text))
            return false;
        eintraege.Eintragen(id, text);
        return true;
    }
    if (GleichOhneGross(bez, NoteName)) {
        if (!Daten.NoteOK(text))
            return false;
        eintraege.Eintragen(QString(), NoteName, text);
        return true;
    }
    if (GleichOhneGross(bez, Fehlstunden)) {
        if (Wert(text) < 0)
            return false;
        eintraege.Eintragen(QString(), Fehlstunden, text);
        return true;
    }
    if (GleichOhneGross(bez, Unentschuldigt)) {
        const double u = Wert(text);
        if (u < 0 || Wert(eintraege.Zeigen(QString(), Fehlstunden)) < u)
            return false;
        eintraege.Eintragen(QString(), Unentschuldigt, text);
        return true;
    }
    if (GleichOhneGross(bez, Hinweis)) {
        eintraege.Eintragen(QString(), Hinweis, text);
        return true;
    }
    return false;
}
