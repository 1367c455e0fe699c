#pragma once

#include "kurszahlen.h"

#include <QList>
#include <QString>
#include <QStringList>

class Datenbestand;
class KursEintraege;

// The distribution of one grade column of a course (the grade, an exam grade): how many
// students have each grade of the scale, in the scale's order. Grades without a value of the
// scale ("E", "NT") are counted apart and, as in the figures of the status line, not in the
// average; a text that is no grade of the scale at all is counted as "sonstige". Average,
// deficits and missing grades are the course figures of Kurszahlen for that column. Pure
// rules over the course rows, without any window.
class Notenspiegel {
public:
    struct Stufe {
        QString note; // as the scale writes it
        int anzahl = 0;
        bool defizit = false; // the grade counts as a deficit in this column
    };

    QString spalte; // the column's caption
    QList<Stufe> stufen; // the grades of the scale with a value, in the scale's order
    QList<Stufe> besondere; // the grades without a value ("E", "NT"), in the scale's order
    int sonstige = 0; // entered texts that are no grade of the scale
    Kurszahlen::Summe zahlen; // students, entered, missing, average, deficits

    // The distribution of the catalogue entry at position spalte over the rows (nullptr: a
    // row without values).
    static Notenspiegel Berechnen(
        const Datenbestand& daten, qint64 spalte, const QList<const KursEintraege*>& zeilen);
    // The catalogue positions of the grade columns: the one the status line counts first,
    // then every other grade column (an exam grade) in catalogue order.
    static QList<qint64> Spalten(const Datenbestand& daten);

    // The highest count of a grade (for the scale of a bar chart).
    int HoechsteAnzahl() const;
    // "Note" and the grades, "Anzahl" and their counts (with "sonstige" when there are any).
    QStringList Noten() const;
    QStringList Anzahlen() const;
    // The figures in one line: "6 Schüler  ·  5 eingetragen, 1 fehlt  ·  Schnitt 8,4 Punkte
    // ·  2 Defizite".
    QString Zusammenfassung() const;
    // The table as rows of fields, for the clipboard: the caption, the grades and their
    // counts, then one row per figure.
    QList<QStringList> Tabelle(const QString& titel) const;
};
