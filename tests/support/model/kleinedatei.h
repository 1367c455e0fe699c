#pragma once

#include <QByteArray>
#include <QString>

// A small course-list file written field by field (ByteBauer), independent of the model's
// writer: one student (1, "Anna"), one course "M" (Mathe LK2, teacher "ABC"), one row of the
// student in the course, no stored layout.
struct KleineDatei {
    bool abitur = false, klausur = false, warnung = false;
    int katalog = 1; // entries in the catalogue ("Note", "E1", "E2", ...)
    int letzteNote = 0; // last grade index
    QString schuelerMenge = QStringLiteral(",1,");
    int schuelerAnzahl = 1; // the stored count of students
    // Entries of the student's row: -1 for one ("Note" = "10") when the catalogue has any,
    // else as many as given (the first "Note" = "10", the others empty).
    int zeilenEintraege = -1;

    QByteArray Bytes() const;
};

// bytes with the first PString holding text replaced by a PString of the raw bytes neu
// (length byte and all); the text is looked for in its scrambled form when verschluesselt.
QByteArray PStringErsetzen(
    const QByteArray& bytes, const QString& text, bool verschluesselt, const QByteArray& neu);
