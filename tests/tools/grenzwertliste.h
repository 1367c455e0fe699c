#pragma once

#include "datenbestand.h"

#include <QByteArray>
#include <QString>

// A course list for the tests of the file tool with awkward values in every field: the limits
// of every integer field, texts of exactly 255 bytes, umlauts, characters outside the basic
// plane, quotes and line breaks, and two rows with the same key. (Its bytes and files:
// Dateihelfer.)
class Grenzwertliste {
public:
    static Datenbestand Kursliste(bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung);
    // mitSpalten: the default column layout for the flags (one width changed), else none.
    static Spaltenstruktur Spalten(const Datenbestand& daten, bool mitSpalten);
    // The grade result file of course i (from 1) as the model writes it.
    static QByteArray Ergebnis(const Datenbestand& daten, qint64 kursNr);

    // A text whose scrambled form is exactly 255 bytes long, and one of 256 bytes.
    static QString LaengsterVerschluesselterText();
    static QString ZuLangerVerschluesselterText();
};
