#pragma once

#include "eingabejournal.h"
#include "kurs.h"
#include "kursfenster.h"

#include <QList>
#include <QPair>
#include <QString>

// Entries left unsaved by a crash, a power cut or a killed program: after the login on a
// course-list file, its journal (Eingabejournal) is read and checked against the file as a
// whole, and the teacher is asked ("Nicht gesicherte Eingaben"). "Wiederherstellen" opens the
// course windows with the entries in their cells, marked changed; nothing is written into the
// course-list file before the teacher saves. "Verwerfen" deletes the journal. A journal that
// does not fit the file (a course, a student or a column gone, a cell that holds something
// else than the entries began from, a grade the scale does not know) is never applied in
// part: it is put aside, and the teacher is told why.
class Wiederherstellung {
public:
    // One stored value to restore: the student, the cell's place (its row is found in the
    // window), the value.
    struct Wert {
        qint64 schueler = 0;
        Kursfenster::Zellort ort;
        QString wert;
    };
    // A course's part of the journal, checked.
    struct Kursteil {
        KursZeiger kurs;
        Eingabejournal::Gelesen journal;
        QList<Wert> werte; // the cells whose value differs from the file's
    };
    struct Pruefung {
        QList<Kursteil> teile;
        QStringList leer; // journal files with nothing to restore
        QString fehler; // why the journal does not fit the file (empty: it fits)
    };

    // Reads the journal of the loaded course-list file and checks it against the global data.
    static Pruefung Pruefen();
    // After the login: the question, and what the teacher chose. Nothing happens without a
    // journal. Returns the windows opened.
    static QList<Kursfenster*> NachDerAnmeldung();

    // The texts of the question.
    static inline const QString Titel = QStringLiteral("Nicht gesicherte Eingaben");
    static inline const QString Frage = QStringLiteral(
        "Beim letzten Mal wurden Eingaben nicht gesichert. Sollen sie wiederhergestellt werden?");
    static inline const QString PasstNicht = QStringLiteral(
        "Die nicht gesicherten Eingaben vom letzten Mal passen nicht zu dieser Kurslisten-Datei. "
        "Sie werden nicht übernommen.");
};
