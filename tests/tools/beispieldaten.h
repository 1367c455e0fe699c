#pragma once

#include "datenbestand.h"

#include <QByteArray>
#include <QString>

// Course-list data for the tests of the file tool, with awkward values in every field:
// the limits of every integer field, texts of exactly 255 bytes, umlauts, characters
// outside the basic plane, quotes and line breaks, and two rows with the same key.
class Beispieldaten {
public:
    static Datenbestand Kursliste(bool mitMarkAbitur, bool mitMarkKlausur, bool mitWarnung);
    // mitSpalten: the default column layout for the flags (one width changed), else none.
    static Spaltenstruktur Spalten(const Datenbestand& daten, bool mitSpalten);
    // The course-list file of daten as the model writes it.
    static QByteArray Bytes(const Datenbestand& daten, const Spaltenstruktur& struktur);
    // The grade result file of course i (from 1) as the model writes it.
    static QByteArray Ergebnis(const Datenbestand& daten, qint64 kursNr);

    // A text whose scrambled form is exactly 255 bytes long, and one of 256 bytes.
    static QString LaengsterVerschluesselterText();
    static QString ZuLangerVerschluesselterText();

    static bool Schreiben(const QString& pfad, const QByteArray& bytes);
    static QByteArray Lesen(const QString& pfad);
};
