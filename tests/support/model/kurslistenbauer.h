#pragma once

#include "datenbestand.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Builds the course lists of the tests. Kurslistenbauer() is the one standard list; a test
// says with the builder's calls what it needs beyond it, so that what it relies on stands
// in the test:
//
//   Datenbestand d = Kurslistenbauer().Warnung(false).WeitereSchueler("M", 101, 30).Bauen();
//
// The standard list: half-year 3 "12.1" ("Jahrgang 12, 1. Halbjahr"); marks for Abitur
// subjects, exams, deficits (limits 4) and warnings on; the scale 15 .. 0 points
// (value = points) and "E" ("entschuldigt", value -1); the catalogue "Note", "Fehlstunden",
// "unentschuldigte Fehlstunden", "Hinweis", "Klausur" (ID "KL") and "Sonstiges"; the
// security password "Geheim" and the mail settings noten@schule.example /
// lehrer@schule.example / mail.schule.example, user "lehrer", password "Kennwort";
// the students 11 Albers, Anna; 12 Brandt, Ben; 13 Cordes, Clara; 14 Dahl, Dennis;
// 15 Ernst, Emil (in that order, GUIDs "g-11" ...).
// The first course, "M" (Mathematik LK2, teacher "Mü") with 11, 12, 13, 14: 11 third Abitur
// subject, 12 fourth, 13 both; exams 11 and 13; warned 12. Its rows: 11 and 12 with every value
// (11: 12, 4, 2, "Facharbeit", 11, "x"; 12: 3, 10, 0, "Attest fehlt", E, ""), 13 none,
// 14 a damaged row holding only its first two entries (7, 6).
// The second, "D" (Deutsch GK1, teacher "Mü") with 12 and 15; 12's row holds the grade 9,
// 15 has no row.
class Kurslistenbauer {
public:
    // The flags of the list.
    Kurslistenbauer& MarkAbitur(bool an);
    Kurslistenbauer& MarkKlausur(bool an);
    Kurslistenbauer& Warnung(bool an);
    Kurslistenbauer& Defizite(bool an);
    Kurslistenbauer& AbiturListe(bool an = true);

    // The catalogue without "Klausur" and "Sonstiges" (the rows lose those values).
    Kurslistenbauer& OhneWeitereEintraege();

    // anzahl students behind the others (IDs from ab on, named "Schüler 101" ..., GUIDs
    // "g-101" ...), all in the course with that key; with mitZeilen each gets a course row
    // with the grade "10" and the hours "2" (as far as the catalogue has them).
    Kurslistenbauer& WeitereSchueler(
        const QString& kuerzel, qint64 ab, int anzahl, bool mitZeilen = true);
    // One more student, in the course with that key (none when kuerzel is empty).
    Kurslistenbauer& Schueler(qint64 id, const QString& name, const QString& kuerzel = QString());

    // Every student of the course with that key gets what a complete list needs: a course row,
    // the grade "10" where "Note" is empty and, for the students marked for the exam, "10"
    // where the exam grade (an entry with ID) is empty. Rows shorter than the catalogue keep
    // their length.
    Kurslistenbauer& Vollstaendig(const QString& kuerzel);
    // The value of a row's entry with that caption (the row must exist).
    Kurslistenbauer& Wert(
        const QString& kuerzel, qint64 id, const QString& bezeichnung, const QString& wert);

    // One more course behind the others, with the given students (the IDs as the file holds
    // them, "," for none) and no rows.
    Kurslistenbauer& Kurs(const QString& kuerzel, const QString& fach, const QString& art,
        qint64 nr, const QString& lehrer, const QString& schueler);
    // Such a course alone, for lists built by hand.
    static KursZeiger NeuerKurs(const QString& kuerzel, const QString& fach, const QString& art,
        qint64 nr, const QString& lehrer, const QString& schueler);
    // The marks of the course with that key: changed, saved, sent (none set in the standard
    // list).
    Kurslistenbauer& Kursflaggen(
        const QString& kuerzel, bool geaendert, bool gespeichert, bool gesendet);
    // No catalogue at all (no entry columns, no values in the rows): a list for the grades
    // alone, whose login asks for no name.
    Kurslistenbauer& OhneKatalog();

    // Any other change, applied after everything above, in the order given.
    Kurslistenbauer& Aendern(std::function<void(Datenbestand&)> aenderung);

    Datenbestand Bauen() const;
    // The bytes of its course-list file with the default layout.
    QByteArray Bytes() const;
    // Makes it the global data through the file reader, as if loaded from pfad.
    void AlsGlobaleDaten(const QString& pfad = QString()) const;
    // Writes it into ordner/name and loads that file as the program does (Daten.LadeDatei).
    // Returns the path; empty when writing or loading failed.
    QString Anlegen(
        const QString& ordner, const QString& name = QStringLiteral("Kursliste.zln")) const;

private:
    bool zMarkAbitur = true;
    bool zMarkKlausur = true;
    bool zWarnung = true;
    bool zDefizite = true;
    bool zAbiturListe = false;
    bool zWeitereEintraege = true;
    QList<std::function<void(Datenbestand&)>> zAenderungen;
};
