#pragma once

#include <QString>

// A folder of the tests that is a file system of its own, mounted for the test: a small
// tmpfs that can really be filled up, or a read-only view of another folder. Mounting needs
// root; where it is not allowed, Einhaengen() fails with the reason and the test skips the
// part that needs it.
//
// The first mount moves the test process into a mount namespace of its own, so that its
// mounts vanish with the process even when a test crashes; the object unmounts them anyway
// when it goes (also on a failed QVERIFY), lazily, so that an open file cannot keep one.
class EingehaengterOrdner {
public:
    EingehaengterOrdner() = default;
    ~EingehaengterOrdner();
    EingehaengterOrdner(const EingehaengterOrdner&) = delete;
    EingehaengterOrdner& operator=(const EingehaengterOrdner&) = delete;

    // Mounts a tmpfs of groesse bytes (rounded up to whole pages) on ordner.
    bool Einhaengen(const QString& ordner, qint64 groesse, QString* grund = nullptr);
    // Mounts a read-only view of quelle on ordner.
    bool NurLesendEinhaengen(
        const QString& quelle, const QString& ordner, QString* grund = nullptr);
    void Aushaengen();

    // Fills the mounted tmpfs with a file of its own until nothing is free any more; the
    // number of bytes written.
    qint64 Fuellen(const QString& name = QStringLiteral(".fuellung"));
    qint64 Frei() const;
    QString Pfad() const { return zOrdner; }

private:
    QString zOrdner;
};
