// The global data: writing the course-list file and the grade result file, and the road the
// teacher takes when the course-list file cannot be written where it is.

#include "datenbestand.h"

#include "dateisperre.h"
#include "dateitypen.h"
#include "eingabejournal.h"
#include "plattform.h"
#include "sicheresschreiben.h"
#include "sicherungskopien.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {

const QString SichernUnterKnopf = QStringLiteral("Sichern unter …");

QString Anzeige(const QString& pfad)
{
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(pfad));
}

} // namespace

bool Datenbestand::SchreibeDatei(const QString& pfad, const QByteArray& bytes, QString& meldung,
    const QString& vorbild, QString* rechte)
{
    const SicheresSchreiben::Ergebnis ergebnis = SicheresSchreiben::Schreiben(pfad, bytes, vorbild);
    if (!ergebnis)
        meldung = ergebnis.grund;
    if (rechte)
        *rechte = ergebnis.rechteHinweis;
    return ergebnis.ok;
}

void Datenbestand::RechteMelden()
{
    // Once per reason: the file is written, only narrower than the one before.
    if (zRechtehinweis.isEmpty() || zRechtehinweis == zGemeldeterRechtehinweis)
        return;
    zGemeldeterRechtehinweis = zRechtehinweis;
    Plattform::aktuell().Mitteilen({ QString(),
        QStringLiteral("Die Datei wurde gesichert, aber nicht mit allen bisherigen Rechten."),
        zRechtehinweis
            + QStringLiteral("\n\nNiemand kann die Datei lesen, der sie vorher nicht lesen "
                             "konnte. Wer sie weiter lesen soll, dem müssen Sie die Rechte neu "
                             "geben."),
        Plattform::Symbol::Warnung });
}

bool Datenbestand::SpeichernNach(const QString& pfad, QString& fehler)
{
    // Room for the file as it was read or last written, and a little more.
    const qint64 bisher = qMax(zStand.Groesse(), qint64(0));
    QByteArray bytes;
    if (!Kodieren(*this, TabellenStruktur, bytes, fehler, bisher + bisher / 16 + 4096))
        return false;
    // The version on disk until now: kept as a backup once the new one has taken its place
    // (a failed save leaves the file and the backups as they were). A file that cannot be
    // read makes no backup; the save itself goes on. A file still as it was read or last
    // written, whose content these bytes repeat, needs none: it is not read.
    const QByteArray pruefsumme = Dateistand::Pruefsumme(bytes);
    QByteArray vorher;
    bool mitVorher = false;
    if (zStand.Unveraendert(pfad, pruefsumme)) {
        // Nothing to keep.
    } else if (QFile alt(pfad); QFileInfo(pfad).isFile() && alt.open(QIODevice::ReadOnly)) {
        vorher = alt.readAll();
        mitVorher = alt.error() == QFileDevice::NoError;
    }
    // A new file ("Sichern unter …") is no more open than the one the entries come from.
    if (!SchreibeDatei(
            pfad, bytes, fehler, datenFolder.isEmpty() ? pfad : datenFolder, &zRechtehinweis))
        return false;
    zStand = Dateistand::Von(pfad, bytes, pruefsumme);
    fehler.clear();
    zSicherungsfehler.clear();
    if (mitVorher && vorher != bytes) {
        const SicheresSchreiben::Ergebnis kopie = Sicherungskopien::Anlegen(pfad, vorher);
        if (!kopie)
            zSicherungsfehler = kopie.grund;
        else if (zRechtehinweis.isEmpty())
            zRechtehinweis = kopie.rechteHinweis;
    }
    return true;
}

void Datenbestand::SicherungsfehlerMelden()
{
    // Once per run and reason: the entries are saved, only the safety copy is missing.
    if (zSicherungsfehler.isEmpty() || zSicherungsfehler == zGemeldeterSicherungsfehler)
        return;
    zGemeldeterSicherungsfehler = zSicherungsfehler;
    Plattform::aktuell().Mitteilen({ QString(),
        QStringLiteral("Die vorige Fassung der Kurslisten-Datei konnte nicht als Sicherungskopie "
                       "aufbewahrt werden."),
        zSicherungsfehler
            + QStringLiteral("\n\nIhre Eingaben sind gesichert. Die Sicherungskopien liegen im "
                             "Ordner %1 neben der Kurslisten-Datei.")
                  .arg(Anzeige(Sicherungskopien::OrdnerVon(datenFolder))),
        Plattform::Symbol::Warnung });
}

bool Datenbestand::Speichern(QString* fehler)
{
    QString grund;
    bool ok = false;
    if (datenFolder.isEmpty())
        grund = QStringLiteral("Es ist keine Kurslisten-Datei geöffnet.");
    else if (zStand.Geaendert(datenFolder))
        grund = Meldungen::AussenGeaendert
            + QStringLiteral(" Sie wird nicht ohne Rückfrage überschrieben.");
    else
        ok = SpeichernNach(datenFolder, grund);
    if (fehler)
        *fehler = grund;
    return ok;
}

bool Datenbestand::Sichern()
{
    if (datenFolder.isEmpty())
        return false;
    if (zStand.Geaendert(datenFolder)) {
        Plattform::Auswahl frage;
        frage.titel = QStringLiteral("Kurslisten-Datei geändert");
        frage.meldung = Meldungen::AussenGeaendert;
        frage.erklaerung = QStringLiteral(
            "%1 ist nicht mehr die Datei, die RAVIRIreru geladen oder zuletzt "
            "gesichert hat; vielleicht hat ein anderes Programm sie verändert. "
            "Wenn Sie sie ersetzen, geht verloren, was dort geändert wurde. Mit "
            "„Sichern unter …“ bleibt sie, wie sie ist, und Ihre Eingaben kommen in "
            "eine andere Datei.")
                               .arg(Anzeige(datenFolder));
        frage.knoepfe
            = { QStringLiteral("Ersetzen"), SichernUnterKnopf, QStringLiteral("Abbrechen") };
        frage.standard = 2;
        frage.abbrechen = 2;
        switch (Plattform::aktuell().Waehlen(frage)) {
        case 0:
            break;
        case 1:
            return SichernUnter();
        default:
            return false;
        }
    }
    QString fehler;
    if (SpeichernNach(datenFolder, fehler)) {
        SicherungsfehlerMelden();
        RechteMelden();
        return true;
    }
    return AusweichenAnbieten(fehler);
}

QString Datenbestand::NichtSicherbar() const
{
    if (datenFolder.isEmpty())
        return {};
    const QString ordner = QFileInfo(Dateisperre::Vollpfad(datenFolder)).absolutePath();
    for (const QString& ziel : { ordner, Dateisperre::Vollpfad(datenFolder) })
        if (::access(QFile::encodeName(ziel).constData(), W_OK) != 0)
            return SicheresSchreiben::Grund(errno, ziel);
    if (!Kurslistensperre().Gesperrt())
        return QStringLiteral("Im Ordner %1 kann keine Sperrdatei angelegt werden.")
            .arg(Anzeige(ordner));
    return {};
}

bool Datenbestand::NichtSicherbarAnbieten()
{
    const QString grund = NichtSicherbar();
    if (grund.isEmpty())
        return false;
    Plattform::Auswahl frage;
    frage.titel = QStringLiteral("Kurslisten-Datei nicht sicherbar");
    frage.meldung = QStringLiteral("Dort, wo die Kurslisten-Datei liegt, kann RAVIRIreru nichts "
                                   "sichern.");
    frage.erklaerung = grund
        + QStringLiteral("\n\nSie können Noten eintragen; damit sie nicht verloren gehen, "
                         "sichern Sie die Kurslisten-Datei mit „Sichern unter …“ an einer "
                         "anderen Stelle, gleich jetzt oder beim ersten Sichern.");
    frage.knoepfe = { SichernUnterKnopf, QStringLiteral("Später") };
    frage.standard = 0;
    frage.abbrechen = 1;
    if (Plattform::aktuell().Waehlen(frage) != 0)
        return false;
    return SichernUnter();
}

bool Datenbestand::AusweichenAnbieten(const QString& fehler)
{
    Plattform::Auswahl frage;
    frage.meldung = Meldungen::KurslisteNichtGesichert;
    frage.erklaerung = fehler
        + QStringLiteral("\n\nMit „Sichern unter …“ sichern Sie Ihre Eingaben in einer "
                         "anderen Datei, etwa in einem anderen Ordner oder auf einem "
                         "anderen Datenträger.");
    frage.knoepfe = { SichernUnterKnopf, QStringLiteral("Abbrechen") };
    frage.standard = 0;
    frage.abbrechen = 1;
    if (Plattform::aktuell().Waehlen(frage) != 0)
        return false;
    return SichernUnter();
}

bool Datenbestand::SichernUnter()
{
    const QString ordner = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    for (;;) {
        Plattform::DateiDialog dialog;
        dialog.titel = QStringLiteral("Kursliste sichern unter");
        dialog.hinweis
            = QStringLiteral("Wählen Sie, wo die Kurslisten-Datei gesichert werden soll.");
        dialog.aktionsKnopf = QStringLiteral("Sichern");
        dialog.abbrechenKnopf = QStringLiteral("Abbrechen");
        dialog.filterName = FileTypes::RAVIRIreru().anzeigeName;
        dialog.filterMuster = FileTypes::RAVIRIreru().Filtermuster();
        dialog.startOrdner = QDir(ordner).exists() ? ordner : QDir::homePath();
        dialog.vorschlag = datenFolder.isEmpty() ? QStringLiteral("Kursliste.zln")
                                                 : QFileInfo(datenFolder).fileName();
        QString pfad = Plattform::aktuell().DateiSpeichern(dialog);
        if (pfad.isEmpty())
            return false;
        if (!pfad.endsWith(QStringLiteral(".zln"), Qt::CaseInsensitive))
            pfad += QStringLiteral(".zln");
        pfad = QFileInfo(pfad).absoluteFilePath();

        // The new file is ours alone from now on, like the one it takes the place of.
        Dateisperre& sperre = Kurslistensperre();
        const bool schonUnsere = sperre.Gesperrt() && sperre.Datei() == Dateisperre::Vollpfad(pfad);
        Dateisperre neueSperre;
        if (!schonUnsere && !KurslisteSperren(neueSperre, pfad))
            continue;
        // The dialog has asked before an existing file is replaced.
        QString fehler;
        if (SpeichernNach(pfad, fehler)) {
            const QString alterPfad = datenFolder;
            datenFolder = pfad;
            if (!schonUnsere)
                sperre = std::move(neueSperre);
            // The journals of unsaved entries follow the file the program works on.
            Eingabejournal::KurslisteUmgezogen(alterPfad, pfad);
            SicherungsfehlerMelden();
            RechteMelden();
            Plattform::aktuell().Mitteilen({ QString(),
                QStringLiteral("Die Kurslisten-Datei wurde als %1 gesichert.").arg(Anzeige(pfad)),
                QStringLiteral("RAVIRIreru arbeitet ab jetzt mit dieser Datei: Jedes weitere "
                               "Sichern und das Beenden schreiben dorthin."),
                Plattform::Symbol::Information });
            return true;
        }
        Plattform::Auswahl frage;
        frage.meldung = Meldungen::KurslisteNichtGesichert;
        frage.erklaerung = fehler;
        frage.knoepfe = { SichernUnterKnopf, QStringLiteral("Abbrechen") };
        frage.standard = 0;
        frage.abbrechen = 1;
        if (Plattform::aktuell().Waehlen(frage) != 0)
            return false;
    }
}

bool Datenbestand::Speichern(const Kurs& kurs, const QString& pfad, QString* fehler)
{
    QByteArray bytes;
    QString grund;
    // The result file holds the course's grades: no more open than the course-list file.
    const bool ok = KodiereErgebnis(kurs, bytes, grund)
        && SchreibeDatei(pfad, bytes, grund, datenFolder, &zRechtehinweis);
    if (fehler)
        *fehler = ok ? QString() : grund;
    if (ok)
        RechteMelden();
    return ok;
}
