// The course window: undo and redo of stored changes (a QUndoStack over the one road of a
// stored change) and the figures of the course in the status line.

#include "kursfenster.h"

#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "menue.h"
#include "plattform.h"
#include "zellaenderung.h"

#include <QLineEdit>
#include <QUndoStack>

namespace {

bool GleicherSchluessel(const Eintrag& e, const QString& id, const QString& bezeichnung)
{
    return Hilfsmittel::GleichOhneGross(e.ID, id)
        && Hilfsmittel::GleichOhneGross(e.Bezeichnung, bezeichnung);
}

} // namespace

void Kursfenster::RueckgaengigEinrichten()
{
    zStapel = new QUndoStack(this);
    connect(zStapel, &QUndoStack::cleanChanged, this, &Kursfenster::ZustandNachVerlauf);
    connect(zStapel, &QUndoStack::canUndoChanged, this, &Kursfenster::VerlaufMenueAnpassen);
    connect(zStapel, &QUndoStack::canRedoChanged, this, &Kursfenster::VerlaufMenueAnpassen);
}

// --- Places --------------------------------------------------------------------------------

Kursfenster::Zellort Kursfenster::OrtVon(int row, int column) const
{
    Zellort ort;
    ort.row = row;
    if (Daten.mitWarnung && column == TabellenStruktur.ErsteSpalte - 1) {
        ort.warnung = true;
        return ort;
    }
    const Eintrag* eintrag = Spalteneintrag(column);
    if (!eintrag)
        return ort;
    ort.eintragID = eintrag->ID;
    ort.eintragBezeichnung = eintrag->Bezeichnung;
    for (int c = 0; c < column; ++c)
        if (const Eintrag* e = Spalteneintrag(c);
            e && GleicherSchluessel(*e, eintrag->ID, eintrag->Bezeichnung))
            ++ort.vorkommen;
    return ort;
}

int Kursfenster::SpalteVon(const Zellort& ort) const
{
    if (ort.warnung)
        return Daten.mitWarnung ? int(TabellenStruktur.ErsteSpalte) - 1 : -1;
    int gefunden = 0;
    for (int c = 0; c < zSpaltenEintraege.size(); ++c) {
        const Eintrag* e = Spalteneintrag(c);
        if (!e || !IstEintragsspalte(c)
            || !GleicherSchluessel(*e, ort.eintragID, ort.eintragBezeichnung))
            continue;
        if (gefunden++ == ort.vorkommen)
            return c;
    }
    return -1;
}

int Kursfenster::ZeileVon(qint64 schuelerID) const
{
    return int(zZeilenIDs.indexOf(schuelerID));
}

qint64 Kursfenster::SchuelerVon(int row) const
{
    return row >= 0 && row < zZeilenIDs.size() ? zZeilenIDs.at(row) : 0;
}

// --- The history ---------------------------------------------------------------------------

void Kursfenster::AenderungVermerken(
    int row, int column, const QString& vorher, const QString& nachher)
{
    if (vorher == nachher || !zStapel)
        return;
    auto* schritt = new Zellaenderung(this, OrtVon(row, column), vorher, nachher, zSammlung);
    if (zSammlung) {
        // The step is pushed when the collection ends; the table is changed meanwhile.
        zLokalGeaendert = true;
        ToolBarAnpassen();
        return;
    }
    zStapel->push(schritt);
    ZustandNachVerlauf();
}

void Kursfenster::SammlungBeginnen(const QString& text)
{
    if (!zSammlung)
        zSammlung = new QUndoCommand(text);
}

void Kursfenster::SammlungBeenden()
{
    QUndoCommand* sammlung = zSammlung;
    zSammlung = nullptr;
    if (!sammlung)
        return;
    if (sammlung->childCount() == 0) {
        delete sammlung;
        return;
    }
    zStapel->push(sammlung);
    ZustandNachVerlauf();
}

void Kursfenster::ZustandNachVerlauf()
{
    if (!zStapel)
        return;
    zLokalGeaendert = !zStapel->isClean() || zSammlung;
    ToolBarAnpassen();
}

void Kursfenster::WertZuruecksetzen(const Zellort& ort, const QString& wert)
{
    const int column = SpalteVon(ort);
    if (column < 0)
        return;
    QString vorher;
    QString nachher;
    if (WertSetzen(ort.row, column, wert, vorher, nachher)) {
        zZielZeile = ort.row;
        zZielSpalte = column;
    }
}

bool Kursfenster::Rueckgaengig()
{
    QLineEdit* editor = zTabelle->Editor();
    if (editor && !editor->isReadOnly() && OffeneEingabe()) {
        // Typing not yet checked is taken back in the editor first, step by step; without
        // steps of its own the editor shows the stored value again.
        if (editor->isUndoAvailable())
            editor->undo();
        else
            Anzeigen(zTabelle->EditorZeile(), zTabelle->EditorSpalte(),
                Zelltext(zTabelle->EditorZeile(), zTabelle->EditorSpalte()));
        VerlaufMenueAnpassen();
        return true;
    }
    if (!zStapel->canUndo())
        return false;
    zZielZeile = zZielSpalte = -1;
    zStapel->undo();
    ZustandNachVerlauf();
    ZurGeaendertenZelle();
    return true;
}

void Kursfenster::ZurGeaendertenZelle()
{
    // The editor goes to the cell that changed (the first cell of a paste). The cell it leaves
    // holds nothing typed (undo and redo of the table wait until the editor's text is the
    // cell's), so it closes without its check: leaving an empty hour cell would store "0" and
    // make a new change out of an undo.
    if (zZielZeile >= 0 && zZielSpalte >= TabellenStruktur.ErsteSpalte) {
        if (!zTabelle->EditorAuf(zZielZeile, zZielSpalte) && !OffeneEingabe())
            zTabelle->EditorVerwerfen();
        AktiviereEditZelle(zZielZeile, zZielSpalte);
    }
    VerlaufMenueAnpassen();
}

bool Kursfenster::Wiederholen()
{
    QLineEdit* editor = zTabelle->Editor();
    if (editor && !editor->isReadOnly() && editor->isRedoAvailable()) {
        editor->redo();
        VerlaufMenueAnpassen();
        return true;
    }
    // Typed text waiting for its check would be a new change: nothing to make again.
    if (OffeneEingabe() || !zStapel->canRedo())
        return false;
    zZielZeile = zZielSpalte = -1;
    zStapel->redo();
    ZustandNachVerlauf();
    ZurGeaendertenZelle();
    return true;
}

void Kursfenster::VerlaufMenueAnpassen()
{
    if (!zStapel)
        return;
    const QLineEdit* editor = zTabelle->Editor();
    const bool offen = OffeneEingabe();
    const bool editorVor = editor && !editor->isReadOnly() && editor->isRedoAvailable();
    const bool zurueck = offen || zStapel->canUndo();
    const bool vor = editorVor || (!offen && zStapel->canRedo());
    Menue& menue = Menue::Instanz();
    if (zurueck != zRueckgaengigAn) {
        zRueckgaengigAn = zurueck;
        if (zurueck)
            menue.HandlerAnmelden(this, QStringLiteral("EditUndo"), [this] {
                Rueckgaengig();
                return true;
            });
        else
            menue.HandlerAbmelden(this, QStringLiteral("EditUndo"));
    }
    if (vor != zWiederholenAn) {
        zWiederholenAn = vor;
        if (vor)
            menue.HandlerAnmelden(this, QStringLiteral("EditRedo"), [this] {
                Wiederholen();
                return true;
            });
        else
            menue.HandlerAbmelden(this, QStringLiteral("EditRedo"));
    }
}

// --- The figures ---------------------------------------------------------------------------

void Kursfenster::ZahlenZeile(int row)
{
    const SchuelerKurs* r = Zeilenkurs(row).get();
    zZahlen.ZeileSetzen(row, r ? &r->Eintraege : nullptr);
    ZahlenZeigen();
}

void Kursfenster::ZahlenNeu()
{
    zZahlen = Kurszahlen(Daten);
    zZahlen.Zeilen(zTabelle->rowCount());
    for (int i = 0; i < zTabelle->rowCount(); ++i) {
        const SchuelerKurs* r = Zeilenkurs(i).get();
        zZahlen.ZeileSetzen(i, r ? &r->Eintraege : nullptr);
    }
    ZahlenZeigen();
}

void Kursfenster::ZahlenZeigen()
{
    if (zStatuszeile) {
        const Kurszahlen::Summe summe = zZahlen.Ergebnis();
        zStatuszeile->ZahlenZeigen(summe.Text(), summe.KurzText());
    }
    // The overview follows the table while it is open.
    if (zNotenspiegel && zNotenspiegel->isVisible())
        zNotenspiegel->Zeigen(windowTitle(), Notenspiegelliste());
}
