#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file or nothing: every save of the program (the course-list file, the grade
// result file, the file tool's output) goes through here.
//
// The bytes go into a new file beside the target, every write is checked, the file is synced
// to the disk and checked again, and only then does it replace the old file by a rename. A
// short write, a full disk, a file size limit, an input/output error or a failed sync leaves
// the old file byte for byte as it was and removes the new one. Where no new file can be made
// beside the target, the save fails: the file is never written in place. Nothing is shown
// here; the caller tells the teacher the reason.
//
// The new file has no name while it is written (O_TMPFILE), so a program killed meanwhile
// leaves nothing behind; it gets one (".NAME.RAVIRIreru-RECHNER-PROZESS-N.tmp") only for the
// moment before the rename. Where the file system cannot make nameless files, it has that
// name from the start. Such files of a program that no longer runs on this computer are
// removed (Aufraeumen) at every save and when a course-list file is opened.
//
// It has its rights (Dateirechte) before the first byte is written: those of the file it
// replaces, or for a new file those that follow from vorbild (the course-list file).
class SicheresSchreiben {
public:
    struct Ergebnis {
        bool ok = false;
        // Why it failed, as a German sentence for the teacher ("Der Datenträger ist voll.").
        QString grund;
        // The system's error number behind it (0 when there was none).
        int fehlernummer = 0;
        // After success: which rights of the replaced file (or of the course-list file) the
        // new one could not take (it is narrower instead); empty when all were kept.
        QString rechteHinweis;
        explicit operator bool() const { return ok; }
    };

    enum class Ersetzen {
        Ja, // an existing file is replaced (a link is followed to the file it names)
        Nie, // only a new name: anything in its place, a link too, fails with EEXIST
    };

    static Ergebnis Schreiben(const QString& pfad, const QByteArray& bytes,
        const QString& vorbild = QString(), Ersetzen ersetzen = Ersetzen::Ja);

    // Removes the temporary files a save of pfad left when its program died (only ours, only
    // of programs no longer running on this computer). How many went.
    static int Aufraeumen(const QString& pfad);
    // The name of the n-th temporary file of a save of pfad by the program with that process
    // number on this computer.
    static QString Temporaerdatei(const QString& pfad, qint64 prozess, int n = 0);

    // The German reason for a system error number while writing pfad.
    static QString Grund(int fehlernummer, const QString& pfad);

    // Writes all bytes to the open descriptor fd; 0 on success, else the error number. A
    // write that makes no progress without an error counts as a full disk.
    static int AllesSchreiben(int fd, const QByteArray& bytes);
    // Syncs a folder, so that a file made, renamed or removed in it is on the disk. A folder
    // that cannot be synced (some file systems do not support it) changes nothing: the files
    // themselves are complete either way.
    static void OrdnerSynchronisieren(const QString& ordner);
};
