#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One running program per user and display. A second start (a double-click on a course-list
// file in the file manager, the program started again) hands its document to the running
// program, which comes to the front, and ends; the running program keeps the file it works on.
class Einzelinstanz : public QObject {
    Q_OBJECT
public:
    explicit Einzelinstanz(QString name = StandardName(), QObject* parent = nullptr);

    // The name for this user and display: a socket in the user's runtime folder where there
    // is one, else a name of the system's local sockets.
    static QString StandardName();

    // Hands dokument (may be empty) to a program already listening under the name; true when
    // that program took it. False when none runs (or it does not answer in time).
    bool Uebergeben(const QString& dokument, int wartezeitMs = 3000) const;
    // Listens for later starts. A name left behind by a program that crashed is taken over;
    // false when the name cannot be taken (then every start runs on its own, as before).
    bool Lauschen();

signals:
    // A later start handed over dokument (an absolute path, or empty).
    void Angefordert(const QString& dokument);

private:
    void NeueVerbindung();

    QString zName;
    QLocalServer zServer;
};
