#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file or nothing: every save of the program (the course-list file, the grade
// result file, the file tool's output) goes through here.
//
// The bytes go into a temporary file beside the target (QSaveFile), every write is checked,
// the file is synced to the disk and checked again, and only then does it replace the old
// file by a rename. A short write, a full disk, a file size limit, an input/output error or a
// failed sync leaves the old file byte for byte as it was and removes the temporary file.
// Where no temporary file can be made beside the target, the save fails: the file is never
// written in place. Nothing is shown here; the caller tells the teacher the reason.
class SicheresSchreiben {
public:
    struct Ergebnis {
        bool ok = false;
        // Why it failed, as a German sentence for the teacher ("Der Datenträger ist voll.").
        QString grund;
        // The system's error number behind it (0 when there was none).
        int fehlernummer = 0;
        explicit operator bool() const { return ok; }
    };

    static Ergebnis Schreiben(const QString& pfad, const QByteArray& bytes);

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
