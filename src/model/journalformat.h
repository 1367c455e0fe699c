#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>

// The bytes of a recovery journal file (Eingabejournal): a row of records, each one whole or
// not there: its length (4 bytes, big-endian), its content and a CRC-32 checksum of the
// content (4 bytes). The content begins with the format version and the kind of record:
// - the head (first record): the course-list file, the course's key, the window's title and
//   the beginning;
// - a change: the time, the student's ID, whether it is the "W" box, the catalogue entry's ID,
//   name and which of the entries with both, the value before and after;
// - a move: the course-list file was saved under another name (the new one).
// Texts are a length and UTF-8, numbers big-endian. Reading stops at the first record that is
// not whole (a damaged tail); nothing here touches a file.
class Journalformat {
public:
    static constexpr quint8 Version = 1;

    // One stored change of a cell.
    struct Aenderung {
        QDateTime zeit;
        qint64 schueler = 0; // the student's ID
        bool warnung = false; // the "W" box (else a catalogue entry)
        QString eintragID; // the catalogue entry: its ID and name …
        QString eintragBezeichnung;
        int vorkommen = 0; // … and which of the entries with both (0: the first)
        QString vorher; // "X" / "" for the "W" box
        QString nachher;
        bool operator==(const Aenderung&) const = default;
    };

    // A journal file as read from disk.
    struct Gelesen {
        QString datei;
        QString kursliste; // the course-list file it belongs to
        QString kurs; // the course's key
        QString titel; // the course window's title when it began
        QDateTime beginn;
        QList<Aenderung> aenderungen;
        qint64 laenge = 0; // bytes of whole records
        bool abgeschnitten = false; // a damaged tail was cut off
        // The damage was not at the end: whole records after it could not be taken.
        bool mitteBeschaedigt = false;
        // Where the whole file was kept before it was cut (empty: nowhere).
        QString beiseite;
        bool belegt = false; // a running copy writes it: not to be touched
        // Why the file cannot be used at all (a newer format, a damaged beginning).
        QString fehler;
        // The time of the last change (the beginning without changes).
        QDateTime Zuletzt() const;
    };

    static QByteArray KopfSatz(const QString& kursliste, const QString& kurs, const QString& titel,
        const QDateTime& beginn, quint8 version = Version);
    static QByteArray AenderungsSatz(const Aenderung& aenderung, quint8 version = Version);
    static QByteArray UmzugSatz(const QString& kursliste);

    // Reads the records of bytes into j (kursliste, kurs, titel, beginn, aenderungen and
    // laenge, the bytes of whole records). False, with j.fehler, when the journal cannot be
    // used at all: no whole head record (j.fehler empty for no bytes at all), or a record of
    // another version.
    static bool Lesen(QByteArrayView bytes, Gelesen& j);
    // One whole record around inhalt: its length, the content and its checksum.
    static QByteArray SatzUm(const QByteArray& inhalt);
};
