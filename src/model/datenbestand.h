#pragma once

#include "dateisperre.h"
#include "dateistand.h"
#include "eintraege.h"
#include "kursauswahlliste.h"
#include "note.h"
#include "schuelerkursliste.h"
#include "schuelerliste.h"
#include "spaltenstruktur.h"

#include <QList>
#include <QString>

class QIODevice;

// The global data of the program: everything the course-list file carries, the chosen
// file and the teacher's name. The global instance is Daten.
class Datenbestand {
public:
    // --- Loading and saving the course-list file --------------------------------------
    // Shows the open dialog and loads the chosen file. A cancelled dialog returns false
    // without a message; a missing, refused or damaged file shows its message and returns
    // false. A refused file leaves the data as it was. vorschlag: a file the dialog starts
    // at (its folder, the file selected), e.g. a document handed over by the desktop.
    bool Laden(const QString& vorschlag = QString());
    // Loads the file at pfad without a dialog (same checks and messages as Laden). The file
    // is locked for this running copy (a file another running copy holds is refused with
    // "Die Datei ist bereits in RAVIRIreru geöffnet."); the lock of the file loaded before
    // is let go.
    bool LadeDatei(const QString& pfad);
    // Writes the global data back into datenFolder, without asking or showing anything.
    // False when the file cannot be written, or was changed on disk by someone else since it
    // was loaded or last saved (it is not overwritten then); fehler (when given) then says
    // why, in German for the teacher. The old file then stays as it was.
    bool Speichern(QString* fehler = nullptr);
    // Saving as the teacher asked for it (the windows call this): a file changed on disk is
    // replaced only when the teacher says so ("Abbrechen" is the default); when writing
    // fails, the message says why and offers "Sichern unter …", so that the entries are
    // never stranded. True when the data is on disk, in datenFolder or in the file chosen
    // then (which is datenFolder from then on).
    bool Sichern();
    // Asks for another course-list file, saves the data there and works on that file from
    // then on. False when the teacher cancels.
    bool SichernUnter();
    // Why the last save, which succeeded, could not keep the version it replaced as a backup
    // (Sicherungskopien); empty when it could or there was none to keep.
    QString Sicherungsfehler() const { return zSicherungsfehler; }
    // Writes the grade result file of kurs into pfad as a whole or not at all, without
    // showing anything; false and fehler (when given) says why. The selection window shows
    // the message (Meldungen::ErgebnisNichtAngelegt) with that reason.
    bool Speichern(const Kurs& kurs, const QString& pfad, QString* fehler = nullptr);
    void Geaendert() { zGeaendert = true; }
    bool wurdeGeaendert() const { return zGeaendert; }

    // --- The format itself, on any device (no dialogs, no messages) ---------------------
    // Reads a course-list file into daten and struktur, which are replaced only when the
    // whole file was read. On refusal, meldung is the German message for the user.
    static bool Lesen(
        QIODevice& geraet, Datenbestand& daten, Spaltenstruktur& struktur, QString& meldung);
    // Writes the course-list file of daten and struktur; meldung says why it failed.
    static bool Schreiben(QIODevice& geraet, const Datenbestand& daten,
        const Spaltenstruktur& struktur, QString& meldung);
    // The bytes of that file, made in memory (erwarteteGroesse: the bytes to reserve at
    // once, e.g. the file's size when it was read); false and meldung when it cannot be made.
    static bool Kodieren(const Datenbestand& daten, const Spaltenstruktur& struktur,
        QByteArray& bytes, QString& meldung, qsizetype erwarteteGroesse = 0);
    // Writes the grade result file of kurs.
    bool SchreibeErgebnis(QIODevice& geraet, const Kurs& kurs, QString& meldung) const;
    bool KodiereErgebnis(const Kurs& kurs, QByteArray& bytes, QString& meldung) const;
    // Writes bytes to pfad as a whole or not at all (SicheresSchreiben); meldung says why
    // it failed. A failed write leaves the old file as it was. A new file gets the rights
    // that follow from vorbild (the course-list file); rechte gets what could not be kept.
    static bool SchreibeDatei(const QString& pfad, const QByteArray& bytes, QString& meldung,
        const QString& vorbild = QString(), QString* rechte = nullptr);

    // --- The grade scale ------------------------------------------------------------------
    bool NoteOK(const QString& text) const;
    qint64 NotenWert(const QString& text) const;
    QString NotenKuerzel(const QString& text) const;
    bool DefizitNote(const QString& text, qint64 halbjahr) const;
    bool NoteIstDefizit(const Eintrag& eintrag, const QString& text, qint64 halbjahr) const;

    // The name stem of a course's grade result file, e.g. "Noten Q1-M-LK2-ABC", made a safe
    // file name (ErgebnisDateiname::Stamm).
    QString DateiName(const Kurs& kurs) const;

    // --- The column layout ----------------------------------------------------------------
    // Moves grade table column a to place b (table positions, both entry columns): the
    // catalogue, the layout and every row of the file in one step. The notifier tells the
    // windows first (SpalteWirdVerschoben: each moves the row copies it holds) and then
    // (SpalteVerschoben: each lays out its grid). False when a or b is no entry column.
    bool SpalteVerschieben(Spaltenstruktur& struktur, qint64 a, qint64 b);

    // --- The values -----------------------------------------------------------------------
    QString datenFolder;
    bool zGeaendert = false;
    bool istAbiturListe = false;
    qint64 Halbjahr = 0;
    QString HalbjahrKuerzel;
    QString Halbjahrbezeichnung;
    bool mitMarkAbitur = false;
    bool mitMarkKlausur = false;
    bool mitDefiziten = false;
    qint64 DefizitgrenzeEPH = 0;
    qint64 DefizitgrenzeQ = 0;
    bool mitWarnung = false;
    Eintraege alleEintraege;
    bool mitDaten = false;
    QList<Note> zNoten;
    QString NotenPass;
    QString EMailAdresse;
    QString Absender;
    QString Server;
    QString Benutzer;
    QString Pass;
    Schuelerliste alleSchueler;
    KursAuswahlliste alleKurse;
    SchuelerKursliste alleSchuelerKurse;
    QString Unterschrift;

    // Whether a course-list file has been loaded in this run.
    bool geladen = false;

    // Why the course-list file in use cannot be saved where it is (a read-only folder or
    // medium, no lock possible there); empty when it can.
    QString NichtSicherbar() const;
    // Tells the teacher so, at once after opening, and offers "Sichern unter …" right away.
    // False when nothing needed saying or he chose to go on.
    bool NichtSicherbarAnbieten();

private:
    // The rule of this class: the functions that touch bytes (Speichern, SpeichernNach,
    // Kodieren, SchreibeDatei …) return success and the reason and never show anything;
    // the operations the windows call (Laden, Sichern, SichernUnter) show the message.
    bool SpeichernNach(const QString& pfad, QString& fehler);
    bool AusweichenAnbieten(const QString& fehler);
    // Tells the teacher once that a backup could not be made.
    void SicherungsfehlerMelden();
    void RechteMelden();

    // The course-list file as it was read or last written here.
    Dateistand zStand;
    QString zSicherungsfehler;
    QString zRechtehinweis; // the rights the last file written could not keep
    QString zGemeldeterRechtehinweis;
    QString zGemeldeterSicherungsfehler;
};

// The global data.
extern Datenbestand Daten;

// The lock of the course-list file in use (held while it is loaded).
Dateisperre& Kurslistensperre();
// Tells the teacher that another running copy holds the file sperre tried to lock.
// Locks the course-list file at pfad in neueSperre, asking the teacher where only he can
// tell whether another program still holds it (a lock of another computer, a lock file that
// says nobody). False when the file is not to be opened (held here, or "Abbrechen"); true
// when it is locked, or when no lock can be made there (stand then says so).
bool KurslisteSperren(
    Dateisperre& neueSperre, const QString& pfad, Dateisperre::Stand* stand = nullptr);

// Puts the global data and the global column layout back to their start values and lets go
// of the course-list file's lock (tests).
void GlobaleDatenZuruecksetzen();

// The German messages of loading and saving.
namespace Meldungen {
inline const QString DateiFehlt
    = QStringLiteral("Die Datei mit den Kurslisten konnte nicht gefunden werden.");
inline const QString KeineNotenliste
    = QStringLiteral("Die geöffnete Datei ist keine Notenlisten-Datei.");
inline const QString NeuereVersion
    = QStringLiteral("Die Notenlisten-Datei ist von einer neueren Version. Sie kann von diesem "
                     "Programm nicht bearbeitet werden.");
inline const QString AeltereVersion
    = QStringLiteral("Die Notenlisten-Datei ist von einer älteren Version. Sie kann von diesem "
                     "Programm nicht bearbeitet werden.");
inline const QString Beschaedigt
    = QStringLiteral("Die Notenlisten-Datei ist beschädigt und kann nicht gelesen werden.");
inline const QString NichtLesbar
    = QStringLiteral("Die Notenlisten-Datei konnte nicht geöffnet werden.");
inline const QString ErgebnisNichtAngelegt
    = QStringLiteral("Die Noten-Datei für den Kurs konnte nicht angelegt werden");
inline const QString KurslisteNichtGesichert
    = QStringLiteral("Die Kurslisten-Datei (zln) konnte nicht gesichert werden.");
inline const QString SchonGeoeffnet
    = QStringLiteral("Die Datei ist bereits in RAVIRIreru geöffnet.");
// The start of the refusal of a file whose texts would not come back as they are stored;
// the reason with the field follows.
inline const QString NichtWiederSicherbar = QStringLiteral(
    "Die Notenlisten-Datei kann nicht bearbeitet werden, weil sie sich nicht unverändert wieder "
    "sichern ließe.");
inline const QString AussenGeaendert
    = QStringLiteral("Die Kurslisten-Datei wurde außerhalb von RAVIRIreru geändert.");
} // namespace Meldungen
