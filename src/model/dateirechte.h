#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// Who may read a file the program writes. Everything it writes holds pupils' names and
// grades, so nothing it makes is ever open to more users than the course-list file itself:
// a file that replaces another keeps that one's mode, owning group and access list; a new
// file takes the course-list file's (the owner always may read and write it, nobody else
// more than the course-list file allows); a folder is the user's alone (0700). The umask
// plays no part. Where a right cannot be kept (the owning group of a colleague's file, an
// access list on a file system without them), the file is narrowed, never widened, and the
// reason comes back as a German sentence for the teacher.
class Dateirechte {
public:
    struct Stand {
        bool bekannt = false; // false: no file to copy from, the file is the user's alone
        mode_t modus = 0600;
        uid_t besitzer = uid_t(-1);
        gid_t gruppe = gid_t(-1);
        QByteArray zugriffsliste; // the access list as the system stores it (empty: none)
    };

    // The rights of the file at pfad as they are (links followed); not bekannt when there is
    // no such file.
    static Stand Von(const QString& pfad);
    // The rights of a new file beside or derived from the course-list file vorbild: its
    // group, access list and the rights it grants to others, with read and write for the
    // owner. Without vorbild (or when it cannot be read): the owner's alone.
    static Stand FuerNeu(const QString& vorbild);

    // Gives the open file fd the rights stand (besides whatever the folder's default access
    // list would have given it). Empty when everything was kept, else what was not (for the
    // file at pfad); the file is then narrowed.
    static QString Anwenden(int fd, const Stand& stand, const QString& pfad);

    // Makes the folder (its parent must exist) for the user alone, or narrows one the
    // program made before to 0700; a link or something else in its place is refused. As
    // root, the folder goes to the owner of vorbild. 0 or the system's error number.
    static int OrdnerAnlegen(const QString& ordner, const QString& vorbild = QString());

    // Makes or empties the file at pfad for another writer that opens it by its name (the
    // PDF print), with the rights of a new file after vorbild (an existing file keeps its
    // own); never through a link. 0 or the system's error number; hinweis gets what could
    // not be kept.
    static int Vorbereiten(const QString& pfad, const QString& vorbild, QString& hinweis);
};
