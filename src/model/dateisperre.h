#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

class QLockFile;

// Keeps one running copy of the program per course-list file: a lock file beside the file
// (".Kursliste.zln.lock" for "Kursliste.zln"), held while the file is in use. The lock of a
// copy that ended without letting go (a crash, a killed program) is taken over; a lock held
// by a running copy, here or on another computer, is never broken.
class Dateisperre {
public:
    enum class Stand {
        Gesperrt, // the lock is ours
        Vergeben, // another running copy holds it (see besitzer)
        NichtMoeglich, // no lock file can be made there (a read-only folder): no protection
    };

    // Who holds a lock: the computer, the process and since when.
    struct Besitzer {
        QString rechner;
        qint64 prozess = 0;
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
    void Freigeben();
    // The file this object holds the lock of (empty without one).
    QString Datei() const { return zDatei; }
    bool Gesperrt() const;
    // After Vergeben: who holds the lock.
    Besitzer besitzer() const { return zBesitzer; }

    // The lock file of the file at pfad.
    static QString SperrdateiVon(const QString& pfad);

private:
    std::unique_ptr<QLockFile> zSperre;
    QString zDatei;
    Besitzer zBesitzer;
};
