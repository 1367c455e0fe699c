#pragma once

#include "journalformat.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

class QTimer;

// The recovery journal of one course window: every change the window stores is appended to
// a file in the user's application data folder at once, so that a crash, a killed program or
// a power cut loses no entry the teacher made since the last save. One file per course of a
// course-list file, named after a hash of the course-list file's full path and one of the
// course's key ("Wiederherstellung/3f2a…-9c1e….journal"); the files of a course-list file
// together are its journal.
//
// The file is a row of records, each one whole or not there (Journalformat): the first names
// the course-list file and the course; each change record names the student, the catalogue
// entry (or the "W" box), the value before and the value after.
//
// Writing: each record goes to the file with write(2) at once (every write checked, a
// partial write taken back by truncating to the last whole record), so that the system
// holds it even when the program is killed a moment later; fsync(2) follows within a second
// by a timer, on a thread of its own so that a slow disk never holds up the keyboard, and at
// once (waiting for it) before a modal question (AlleSynchronisieren). A record that could
// not be written stays queued and goes first with the next one: records are never dropped.
// The file is locked (flock) while a running copy writes it, so that another copy never
// takes it for a journal left behind. Nothing is shown here: a failure is reported by
// Fehler() and the signal Fehlgeschlagen.
class Eingabejournal : public QObject {
    Q_OBJECT
public:
    static constexpr quint8 Version = Journalformat::Version;
    using Aenderung = Journalformat::Aenderung;
    using Gelesen = Journalformat::Gelesen;

    // A journal for a course of the course-list file; the file is made with the first change.
    Eingabejournal(const QString& kursliste, const QString& kurs, const QString& titel,
        QObject* parent = nullptr);
    // Goes on writing a journal read from disk (its entries restored in a course window).
    explicit Eingabejournal(const Gelesen& gelesen, QObject* parent = nullptr);
    // Closes the file and keeps it (a window going without saving or discarding keeps its
    // journal: the program may be ending badly).
    ~Eingabejournal() override;

    // Appends one change: written at once, synced within a second. False when it could not
    // be written now (it stays queued; Fehler() says why).
    bool Anfuegen(const Aenderung& aenderung);
    // Syncs what was written to the disk and waits for it. False on failure (Fehler() says
    // why).
    bool Synchronisieren();
    // The same without waiting (the timer): the sync runs on another thread and reports back.
    void ImHintergrundSynchronisieren();
    // The course's part of the journal is no longer needed (saved, discarded, closed without
    // changes): the file goes. The next change begins a new one.
    bool Entfernen();
    // The course-list file was saved under another name, and the program works on that one:
    // the journal follows it (its file is renamed, a record names the new course-list file).
    bool Umziehen(const QString& neueKursliste);

    QString Kursliste() const { return zKursliste; }
    QString Kurs() const { return zKurs; }
    // The journal's file (it may not exist yet).
    QString Datei() const;
    // The file is open for writing (made, or taken over from disk).
    bool Offen() const { return zFd >= 0; }
    // Written, not yet synced to the disk.
    bool Ungesichert() const { return zUngesichert; }
    // Why the last write or sync failed; empty while everything is on disk.
    QString Fehler() const { return zFehler; }
    // How many records wait to be written after a failure.
    int Ausstehend() const { return zAusstehendeZahl; }

    // --- The journals on disk -------------------------------------------------------------
    // The folder of all journals: "Wiederherstellung" in the application data folder.
    static QString Ordner();
    // The part of a journal's file name that stands for the course-list file at pfad (a hash
    // of its canonical full path).
    static QString Schluessel(const QString& kursliste);
    static QString DateiVon(const QString& kursliste, const QString& kurs);
    // The journals of the course-list file that no running copy writes, with damaged tails
    // cut off at the last whole record (on disk too).
    static QList<Gelesen> Lesen(const QString& kursliste);
    // Reads one journal file; abschneiden: a damaged tail is cut off on disk too.
    static Gelesen LiesDatei(const QString& datei, bool abschneiden);
    // Moves a journal file that cannot be applied into "Beiseitegelegt" (kept, never applied).
    // The new path, empty when it could not be moved.
    static QString Beiseitelegen(const QString& datei);
    static QString BeiseitegelegtOrdner();
    // Keeps a copy of the bytes of a journal file in "Beiseitegelegt" (the file itself stays).
    // The copy's path, empty when it could not be made.
    static QString KopieBeiseitelegen(const QString& datei, const QByteArray& bytes);
    // Syncs every open journal (before a modal question).
    static void AlleSynchronisieren();
    // The program works on another course-list file from now on: every open journal of alt
    // follows it.
    static void KurslisteUmgezogen(const QString& alt, const QString& neu);

signals:
    // A write or sync failed (grund), or everything is on disk again (empty grund).
    void FehlerGeaendert(const QString& grund);

private:
    bool Oeffnen();
    void Schliessen();
    bool AusstehendesSchreiben();
    void FehlerSetzen(const QString& grund);
    void HintergrundFertig(quint64 datei, int fehlernummer);

    QString zKursliste;
    QString zKurs;
    QString zTitel;
    int zFd = -1;
    qint64 zLaenge = 0; // bytes of whole records in the file
    QByteArray zAusstehend; // records not yet written
    int zAusstehendeZahl = 0;
    bool zUngesichert = false;
    bool zImHintergrund = false; // a sync runs on another thread
    quint64 zDateiNummer = 0; // counts the files opened and closed, for its answer
    QString zFehler;
    QTimer* zTakt = nullptr;
};
