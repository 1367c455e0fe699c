#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

class QLockFile;

// Keeps one running copy of the program per course-list file: a lock file beside the file
// (".Kursliste.zln.lock" for "Kursliste.zln"), held while the file is in use and synced to
// the disk when it is made. The file is known by its canonical path (links resolved), so one
// file has one lock whatever name opened it. The lock of a copy on this computer that ended
// without letting go (a crash, a killed program) is taken over; a lock held by a running copy
// here is never broken. Whether the copy of another computer still runs, or who left a lock
// that says nothing (empty or damaged, as a power cut right after locking may leave it),
// only the teacher can tell: Uebernehmen breaks such a lock once he has confirmed it.
class Dateisperre {
public:
    enum class Stand {
        Gesperrt, // the lock is ours
        Vergeben, // another running copy on this computer holds it (see besitzer)
        AndererRechner, // a copy on another computer holds it, running or not (besitzer)
        Unlesbar, // a lock file that says nobody (empty, damaged or unreadable)
        NichtMoeglich, // no lock file can be made there (a read-only folder): no protection
    };

    // Who holds a lock: the computer, the process, the user (the lock file's owner) and since
    // when.
    struct Besitzer {
        QString rechner;
        qint64 prozess = 0;
        QString benutzer;
        QDateTime seit;
    };

    Dateisperre();
    ~Dateisperre();
    Dateisperre(const Dateisperre&) = delete;
    Dateisperre& operator=(const Dateisperre&) = delete;
    Dateisperre(Dateisperre&& andere) noexcept;
    Dateisperre& operator=(Dateisperre&& andere) noexcept;

    // Locks the file at pfad (any lock held before is let go first).
    Stand Sperren(const QString& pfad);
    // After AndererRechner or Unlesbar, once the teacher has confirmed that no program holds
    // the file any more: the lock file goes and the file is locked anew.
    Stand Uebernehmen(const QString& pfad);
    void Freigeben();
    // The file this object holds the lock of (empty without one).
    QString Datei() const { return zDatei; }
    bool Gesperrt() const;
    // After Vergeben: who holds the lock.
    Besitzer besitzer() const { return zBesitzer; }

    // The lock file of the file at pfad (beside the file a link names).
    static QString SperrdateiVon(const QString& pfad);
    // The full path a file is locked by: its canonical path, else its absolute path.
    static QString Vollpfad(const QString& pfad);

private:
    std::unique_ptr<QLockFile> zSperre;
    QString zDatei;
    Besitzer zBesitzer;
};
