#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The floors the course-list file's reading and writing are measured against, written for the
// purpose and independent of the model: what the bytes themselves cost.
//  - Gehen: a walk over the format, every length read and every field skipped, nothing made.
//  - Dekodieren: a plain decoder that makes one QString (QString::fromUtf8) per field into
//    plain structures, with no checks, no sharing and no unscrambling.
//  - Kodieren: a plain encoder of those structures into one QByteArray (toUtf8 per field).
//  - DateiErsetzen: write the bytes into a new file beside the old one, fsync, rename.
namespace Boden {

struct Dreifach {
    QString a, b, c;
};
struct Zeile {
    QString fach;
    qint32 id = 0;
    QList<Dreifach> eintraege;
};
struct Kurs {
    bool flaggen[3] = { false, false, false };
    QString kuerzel, fach, art, lehrer;
    qint16 nummer = 0;
    QList<QString> mengen;
};
struct Spalte {
    QString ueberschrift;
    qint16 breite = 0, ausrichtung = 0;
};
struct Daten {
    bool abitur = false, abiturListe = false, klausur = false, defizite = false, warnung = false;
    qint16 halbjahr = 0, grenzeEph = 0, grenzeQ = 0;
    QString kuerzel, bezeichnung;
    QList<Dreifach> katalog; // ID, caption
    QList<Dreifach> noten; // abbreviation, caption, points
    QList<qint16> notenwerte;
    QList<QString> geheimnisse;
    QList<Dreifach> schueler; // GUID, name, (unused)
    QList<qint32> schuelerIds;
    QList<Kurs> kurse;
    QList<Zeile> zeilen;
    QList<Spalte> spalten;
    qint16 ersteSpalte = 0;
};

// The number of fields walked over; -1 for bytes that end too early.
qint64 Gehen(const QByteArray& bytes);
// False for bytes that end too early.
bool Dekodieren(const QByteArray& bytes, Daten& daten);
QByteArray Kodieren(const Daten& daten);
// 0 or the error number.
int DateiErsetzen(const QString& pfad, const QByteArray& bytes);

} // namespace Boden
