// The course window: printing the course list (menu item "Drucken"). The drawing is
// Kursdruck's; the window gives it a snapshot of what the table shows. The document name is
// the window's title (a PDF file gets it as its name).

#include "kursfenster.h"

#include "dateirechte.h"
#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kurstabelle.h"
#include "plattform.h"
#include "sicheresschreiben.h"

#include <QHeaderView>
#include <QPainter>
#include <QPrinter>

bool Kursfenster::_AblageDrucken_Action()
{
    Drucken();
    return true;
}

void Kursfenster::Drucken()
{
    // A new printer for every print, at the printer's highest resolution.
    zSetUp = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& drucker = *zSetUp;
    drucker.setDocName(windowTitle());
    if (!Plattform::aktuell().Seiteneinrichtung(drucker))
        return;
    if (!Plattform::aktuell().DruckDialog(drucker))
        return;
    // A PDF file holds the course's grades: it is made no more open than the course-list
    // file before the printer writes into it.
    if (!drucker.outputFileName().isEmpty()) {
        const QString pdf = drucker.outputFileName();
        QString hinweis;
        if (const int nummer = Dateirechte::Vorbereiten(pdf, Daten.datenFolder, hinweis);
            nummer != 0) {
            Plattform::aktuell().Mitteilen(
                { QString(), QStringLiteral("Die Kursliste konnte nicht gedruckt werden."),
                    SicheresSchreiben::Grund(nummer, pdf), Plattform::Symbol::Warnung });
            return;
        }
        if (!hinweis.isEmpty())
            Plattform::aktuell().Mitteilen({ QString(),
                QStringLiteral("Die PDF-Datei hat nicht alle Rechte der Kurslisten-Datei."),
                hinweis, Plattform::Symbol::Warnung });
    }
    QPainter g;
    if (!g.begin(&drucker)) {
        // No print job (the printer or the file cannot be opened): say so rather than
        // end as if the list had been printed.
        Plattform::aktuell().Meldung(QStringLiteral("Die Kursliste konnte nicht gedruckt werden."));
        return;
    }
    // After the list, the distribution of the grade column, and of every other grade column
    // (an exam grade) that holds a value.
    Kursabbild abbild = Abbild();
    const QList<Notenspiegel> spiegel = Notenspiegelliste();
    for (qsizetype i = 0; i < spiegel.size(); ++i)
        if (i == 0 || spiegel.at(i).zahlen.eingetragen > 0)
            abbild.notenspiegel.append(spiegel.at(i));
    zLetzterDruck = std::make_unique<Kursdruck>(std::move(abbild));
    zLetzterDruck->DruckeDich(g, Kursdruck::FlaecheVon(drucker));
    g.end();
}

Kursabbild Kursfenster::Abbild() const
{
    Kursabbild abbild;
    abbild.titel = windowTitle();
    abbild.schrift = zTabelle->font();
    abbild.zeilenhoehe = zTabelle->verticalHeader()->defaultSectionSize();
    const int spalten = zTabelle->columnCount();
    const int erste = int(TabellenStruktur.ErsteSpalte);
    int nameSpalte = -1;
    for (int k = 0; k < spalten; ++k) {
        abbild.breiten.append(zTabelle->columnWidth(k));
        const bool bekannt = k < TabellenStruktur.Spalten.size();
        const QString kopf = bekannt ? TabellenStruktur.Spalten.at(k).Ueberschrift : QString();
        abbild.ueberschriften.append(kopf);
        abbild.ausrichtungen.append(bekannt ? int(TabellenStruktur.Spalten.at(k).Ausrichtung) : 0);
        if (k < erste && Hilfsmittel::GleichOhneGross(kopf, QStringLiteral("Name")))
            nameSpalte = k;
    }

    const int zeilen = zTabelle->rowCount();
    abbild.zeilen.reserve(zeilen);
    for (int i = 0; i < zeilen; ++i) {
        Kursabbild::Zeile zeile;
        for (int k = 0; k < spalten; ++k) {
            QString zelle = SichtbarerText(i, k);
            // A warning box prints as a cross when checked.
            if (Daten.mitWarnung && k == erste - 1 && k >= 1)
                zelle = Gewarnt(i) ? QStringLiteral("X") : QString();
            if (k == nameSpalte) {
                bool zahl = false;
                const qint64 id = SichtbarerText(i, 0).toLongLong(&zahl);
                if (zahl && zKurs->KlausurSchueler.Enthalten(id))
                    zeile.unterstrichen = k;
            } else if (k >= erste) {
                const Eintrag* eintrag = Spalteneintrag(k);
                if (eintrag && Daten.NoteIstDefizit(*eintrag, zelle, Daten.Halbjahr))
                    zeile.rot.append(k);
            }
            zeile.texte.append(zelle);
        }
        abbild.zeilen.append(std::move(zeile));
    }
    return abbild;
}
