// The course windows as a whole: each course open in one window only, and what becomes of
// unsaved entries when the program quits or the desktop session ends.

#include "kursfenster.h"

#include "datenbestand.h"
#include "plattform.h"

#include <QPointer>

QList<Kursfenster*> Kursfenster::OffeneFenster()
{
    // The registry holds a window from its construction until it closes.
    QList<Kursfenster*> fenster;
    for (Nachrichtenfenster* n : BasisEinstellungen::zFenster())
        if (auto* k = qobject_cast<Kursfenster*>(n))
            fenster.append(k);
    return fenster;
}

Kursfenster* Kursfenster::FensterVon(const Kurs* kurs)
{
    if (!kurs)
        return nullptr;
    for (Kursfenster* f : OffeneFenster())
        if (f->zKurs.get() == kurs)
            return f;
    return nullptr;
}

void Kursfenster::Vorholen()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool Kursfenster::EingabenVorDemBeenden()
{
    QList<QPointer<Kursfenster>> mitEingaben;
    QStringList titel;
    for (Kursfenster* f : OffeneFenster()) {
        if (f->HatUngesicherteEingaben()) {
            mitEingaben.append(f);
            titel.append(f->windowTitle());
        }
    }
    if (mitEingaben.isEmpty())
        return true;

    Plattform::Auswahl frage;
    frage.titel = QStringLiteral("Kursfenster mit Eingaben");
    frage.meldung
        = QStringLiteral("Sollen die Eingaben in den offenen Kursfenstern gesichert werden?");
    frage.erklaerung = titel.join(QLatin1Char('\n'));
    frage.knoepfe = QStringList { QStringLiteral("Sichern"), QStringLiteral("Verwerfen"),
        QStringLiteral("Abbrechen") };
    frage.standard = 0;
    frage.abbrechen = 2;
    frage.symbol = Plattform::Symbol::Warnung;
    const int wahl = Plattform::aktuell().Waehlen(frage);
    if (wahl == 1)
        return true; // "Verwerfen": the windows close with the program, without their entries
    if (wahl != 0)
        return false; // "Abbrechen"

    // "Sichern": each window as its own "Sichern" does. A window whose open cell refuses its
    // text, or whose save could not be written, stays open in front, and the program keeps
    // running: the teacher sees what happened before anything else.
    for (const QPointer<Kursfenster>& f : std::as_const(mitEingaben)) {
        if (!f)
            continue;
        if (f->TabelleSichern() != Sicherung::Gesichert) {
            f->Vorholen();
            return false;
        }
        f->close();
    }
    return true;
}

void Kursfenster::EingabenOhneFrageSichern()
{
    for (Kursfenster* f : OffeneFenster()) {
        if (!f->HatUngesicherteEingaben())
            continue;
        // A refused text in the open cell goes back to the stored value; everything
        // accepted is saved.
        f->OffeneZellePruefen();
        if (f->zLokalGeaendert) {
            f->TabellenDatenSichern();
            Daten.Geaendert();
        }
        // Not saved (the file could not be written and nothing else was chosen): the session
        // ends all the same, and the entries wait in the journal on the disk.
        if (f->zLokalGeaendert) {
            f->zJournalBehalten = true;
            if (f->zJournal)
                f->zJournal->Synchronisieren();
        }
    }
}
