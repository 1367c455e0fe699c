// The course window: the recovery journal of its unsaved entries (every stored change is
// appended at once, so that a crash loses nothing typed since the last save) and restoring
// the entries of a journal left behind.

#include "kursfenster.h"

#include "datenbestand.h"
#include "eingabejournal.h"
#include "kursstatuszeile.h"

#include <QDateTime>

namespace {

// The status line says as long as the journal cannot be written.
void WarnungVerbinden(Kursfenster* fenster, Eingabejournal* journal)
{
    QObject::connect(
        journal, &Eingabejournal::FehlerGeaendert, fenster, [fenster](const QString& grund) {
            if (Kursstatuszeile* zeile = fenster->Statuszeile())
                zeile->WarnungZeigen(grund.isEmpty()
                        ? QString()
                        : QStringLiteral("Keine Sicherheitskopie der Eingaben: %1 "
                                         "Bitte bald sichern.")
                              .arg(grund));
        });
}

} // namespace

void Kursfenster::JournalEinrichten()
{
    // Without a course-list file on disk there is nothing to restore the entries into.
    if (Daten.datenFolder.isEmpty() || !zKurs || zKurs->Kuerzel.isEmpty())
        return;
    zJournal = new Eingabejournal(Daten.datenFolder, zKurs->Kuerzel, windowTitle(), this);
    WarnungVerbinden(this, zJournal);
}

void Kursfenster::JournalVermerken(
    int row, int column, const QString& vorher, const QString& nachher)
{
    if (!zJournal || zJournalAus || vorher == nachher)
        return;
    const Zellort ort = OrtVon(row, column);
    Eingabejournal::Aenderung a;
    a.zeit = QDateTime::currentDateTime();
    a.schueler = SchuelerVon(row);
    a.warnung = ort.warnung;
    a.eintragID = ort.eintragID;
    a.eintragBezeichnung = ort.eintragBezeichnung;
    a.vorkommen = ort.vorkommen;
    a.vorher = vorher;
    a.nachher = nachher;
    zJournal->Anfuegen(a);
}

void Kursfenster::JournalEntfernen()
{
    if (zJournal)
        zJournal->Entfernen();
}

int Kursfenster::EingabenWiederherstellen(
    const Eingabejournal::Gelesen& journal, const QList<QPair<Zellort, QString>>& aenderungen)
{
    // The changes are in the journal already: applied without writing them again, as one
    // step ("Rückgängig" takes them all back).
    // The cells that changed: place, column, value before and after.
    QList<Zellort> orte;
    QList<QPair<int, QPair<QString, QString>>> gesetzt;
    zJournalAus = true;
    SammlungBeginnen(QStringLiteral("Wiederherstellen"));
    for (const auto& [ort, wert] : aenderungen) {
        const int column = SpalteVon(ort);
        if (column < 0 || ort.row < 0 || ort.row >= zZeilenIDs.size())
            continue;
        const QString vorher = ZellWert(ort.row, column);
        if (vorher == wert)
            continue;
        ZelleAendern(ort.row, column, wert);
        orte.append(ort);
        gesetzt.append({ column, { vorher, ZellWert(ort.row, column) } });
    }
    SammlungBeenden();
    zJournalAus = false;

    // The journal goes on where it ended. Where its file cannot be taken over, a new one
    // begins with the restored entries, so that they stay safe as well.
    delete zJournal;
    zJournal = nullptr;
    zJournal = new Eingabejournal(journal, this);
    WarnungVerbinden(this, zJournal);
    if (!zJournal->Offen()) {
        for (int i = 0; i < orte.size(); ++i)
            JournalVermerken(orte.at(i).row, gesetzt.at(i).first, gesetzt.at(i).second.first,
                gesetzt.at(i).second.second);
    }
    zJournal->Synchronisieren();
    return int(orte.size());
}
