// The course window: filling the rows from the global data and saving them back.

#include "kursfenster.h"

#include "benachrichtiger.h"
#include "datenbestand.h"
#include "kurstabelle.h"

#include <QSet>
#include <QTableWidgetItem>
#include <QUndoStack>

#include <utility>

void Kursfenster::DatenEintragen()
{
    zTabelle->EditorVerwerfen();
    zTabelle->setRowCount(0);
    zZeilenKurse.clear();
    zZeilenIDs.clear();
    zKlausurZeilen.clear();

    // The students of the course in the order of the global student list; students of the
    // course's set who are missing from the list get no row. A student listed twice gets
    // one row, the first: two rows over one course row would let the unchanged one
    // overwrite the edited one on saving.
    // The course's set is asked once for every student of the file: its numbers are taken
    // out once.
    const QSet<qint64> imKurs = zKurs->Schueler.Zahlen();
    QList<qint64> positionen;
    QSet<qint64> gezeigt;
    const Schuelerliste& schueler = Daten.alleSchueler;
    for (qint64 i = 1; i <= schueler.AnzahlSchueler(); ++i) {
        const qint64 id = schueler.Zeigen(i).ID;
        if (imKurs.contains(id) && !gezeigt.contains(id)) {
            gezeigt.insert(id);
            positionen.append(i);
        }
    }

    // The course's other sets are asked once per row: their numbers are taken out once too.
    const Zeilenmengen mengen = MengenDesKurses();
    const QSet<qint64> klausur = zKurs->KlausurSchueler.Zahlen();

    zTabelle->setUpdatesEnabled(false);
    zTabelle->setRowCount(int(positionen.size()));
    zZeilenKurse = QList<SchuelerKursZeiger>(positionen.size());
    zZeilenIDs.reserve(positionen.size());
    zKlausurZeilen.reserve(positionen.size());
    for (int j = 0; j < positionen.size(); ++j) {
        const Schueler& s = schueler.Zeigen(positionen.at(j));
        zZeilenIDs.append(s.ID);
        zKlausurZeilen.append(klausur.contains(s.ID));
        ZeileEintragen(j, s, mengen);
    }
    zTabelle->setUpdatesEnabled(true);
    ZahlenNeu();

    // Without a row or an entry column there is no cell to open the editor on.
    AktiviereEditZelle(0, int(TabellenStruktur.ErsteSpalte));
    FensterEinrichten();
}

Kursfenster::Zeilenmengen Kursfenster::MengenDesKurses() const
{
    // Menge::Zahlen holds exactly the numbers Menge::Enthalten finds.
    Zeilenmengen mengen;
    if (Daten.mitMarkAbitur) {
        mengen.drittesFach = zKurs->DrittesFachSchueler.Zahlen();
        mengen.viertesFach = zKurs->ViertesFachSchueler.Zahlen();
    }
    if (Daten.mitWarnung)
        mengen.gewarnt = zKurs->GewarntSchueler.Zahlen();
    return mengen;
}

void Kursfenster::ZeileEintragen(int row, const Schueler& schueler)
{
    ZeileEintragen(row, schueler, MengenDesKurses());
}

void Kursfenster::ZeileEintragen(int row, const Schueler& schueler, const Zeilenmengen& mengen)
{
    const qint64 id = schueler.ID;
    const int erste = int(TabellenStruktur.ErsteSpalte);
    const int spalten = zTabelle->columnCount();
    const auto zelle = [&](int column, const QString& text) {
        if (column >= 0 && column < spalten)
            zTabelle->setItem(row, column, NeueZelle(column, text));
    };

    zelle(0, QString::number(id));
    zelle(1, QString::number(row + 1));
    if (Daten.mitMarkAbitur) {
        QString abitur;
        if (mengen.drittesFach.contains(id))
            abitur = QStringLiteral("3");
        if (mengen.viertesFach.contains(id))
            abitur = QStringLiteral("4");
        zelle(2, abitur);
        zelle(3, schueler.Name);
    } else {
        zelle(2, schueler.Name);
    }
    if (Daten.mitWarnung && erste - 1 >= 0 && erste - 1 < spalten) {
        auto* box = NeueZelle(erste - 1, QString());
        box->setCheckState(mengen.gewarnt.contains(id) ? Qt::Checked : Qt::Unchecked);
        zTabelle->setItem(row, erste - 1, box);
    }

    const SchuelerKursZeiger kurs = Daten.alleSchuelerKurse.Zeigen(zKurs->Kuerzel, id);
    if (kurs) {
        const SchuelerKursZeiger kopie = kurs->Clone();
        // A row shorter than the catalogue (a damaged file) gets empty values for the
        // missing entries, so that a value typed there has a place to go.
        const Eintraege& katalog = Daten.alleEintraege;
        while (kopie->Eintraege.Anzahl() < katalog.Anzahl()) {
            const Eintrag& e = katalog.ZeigeEintrag(kopie->Eintraege.Anzahl());
            kopie->Eintraege.Anfuegen(KursEintrag(e.ID, e.Bezeichnung, QString()));
        }
        // Read through the const side: the copy shares its entries with the row until a value
        // is changed.
        for (qint64 i = 0; i < katalog.Anzahl(); ++i)
            zelle(int(erste + i), std::as_const(kopie->Eintraege).ZeigeKursEintrag(i).datum);
        SetzeZeilenkurs(row, kopie);
    } else {
        for (int c = erste; c < spalten; ++c)
            zelle(c, QString());
        SetzeZeilenkurs(row, nullptr);
    }

    // Every cell has an item (the structure may hold more columns than are filled above).
    for (int c = 0; c < spalten; ++c)
        if (!zTabelle->item(row, c))
            zelle(c, QString());
}

void Kursfenster::Geaendert()
{
    zLokalGeaendert = true;
    ToolBarAnpassen();
}

void Kursfenster::TabellenDatenSichern()
{
    const int erste = int(TabellenStruktur.ErsteSpalte);
    const bool mitWarnung = Daten.mitWarnung && erste >= 1;
    // The warned students as they were: the set is changed only where a box differs from it
    // (Einfuegen of a member and Entnehmen of a non-member change nothing, and every student
    // has one row), so the set's text comes out as it did when every row was written.
    const QSet<qint64> gewarnt = mitWarnung ? zKurs->GewarntSchueler.Zahlen() : QSet<qint64>();
    for (int i = 0; i < zTabelle->rowCount(); ++i) {
        if (const SchuelerKursZeiger r = Zeilenkurs(i)) {
            Daten.alleSchuelerKurse.Anfuegen(r);
            // Later edits must not touch the object now held by the global list.
            SetzeZeilenkurs(i, r->Clone());
        }
        if (mitWarnung) {
            const qint64 n = Zelltext(i, 0).toLongLong();
            const bool war = gewarnt.contains(n);
            if (Gewarnt(i)) {
                if (!war)
                    zKurs->GewarntSchueler.Einfuegen(n);
            } else if (war) {
                zKurs->GewarntSchueler.Entnehmen(n);
            }
        }
    }
    // A course whose table was saved has to be delivered again.
    zKurs->geaendert = true;
    zKurs->gespeichert = false;
    zKurs->gesendet = false;

    // A failed save has said why and offered "Sichern unter …"; the window stays changed.
    if (Daten.Sichern()) {
        // Saved: the history begins anew, and the journal of these entries is no longer needed.
        if (zStapel)
            zStapel->clear();
        JournalEntfernen();
        zLokalGeaendert = false;
        ToolBarAnpassen();
        emit Benachrichtiger::Instanz().KursGeaendert(zKurs.get());
    }
}
