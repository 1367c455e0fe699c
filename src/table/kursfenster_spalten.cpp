// The course window: column widths dragged at the header's dividers, and column moves (an
// entry cell dragged with the Option key, or an entry column's heading dragged in the
// header). Both change the shared column structure, so every open course window follows.

#include "kursfenster.h"

#include "datenbestand.h"
#include "kurskopf.h"
#include "kurstabelle.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QSet>
#include <QTableWidgetItem>

namespace {

// While a column drag of this program runs: how far the centre of the dragged column's
// rectangle lies from the mouse (the rectangle moves with the mouse).
bool zZiehtGerade = false;
QPoint zZiehVersatz;

// The open hand shown while a column is dragged.
QPixmap OffeneHand()
{
    QPixmap bild(24, 24);
    bild.fill(Qt::transparent);
    QPainter g(&bild);
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(6, 11, 12, 10), 3, 3); // palm
    for (int i = 0; i < 4; ++i)
        hand.addRoundedRect(QRectF(6 + i * 3, 2 + (i == 0 || i == 3 ? 3 : 0), 3, 11), 1.5, 1.5);
    QTransform daumen;
    daumen.translate(5, 16);
    daumen.rotate(-40);
    QPainterPath finger;
    finger.addRoundedRect(QRectF(-1.5, -7, 3, 8), 1.5, 1.5);
    hand = hand.united(daumen.map(finger)).simplified();
    g.setPen(QPen(Qt::black, 1.2));
    g.setBrush(Qt::white);
    g.drawPath(hand);
    return bild;
}

// Where column c stands after the column at a was taken out and put in at b.
int NachVerschieben(int c, int a, int b)
{
    if (c == a)
        return b;
    if (a < b && c > a && c <= b)
        return c - 1;
    if (b < a && c >= b && c < a)
        return c + 1;
    return c;
}

} // namespace

// --- Column widths -------------------------------------------------------------------------

// The header holds the drag of a divider; the window's mouse handlers hand it the mouse.

void Kursfenster::meineTabelle_MouseMove(int x, int y)
{
    zTabelle->Kopf()->MausBewegt(x, y);
}

bool Kursfenster::meineTabelle_MouseDown(int x, int y)
{
    return zTabelle->Kopf()->BreiteBeginnen(x, y);
}

void Kursfenster::meineTabelle_MouseDrag(int x, int)
{
    zTabelle->Kopf()->BreiteZiehen(x);
}

void Kursfenster::meineTabelle_MouseUp(int, int)
{
    zTabelle->Kopf()->BreiteBeenden();
}

void Kursfenster::BreiteZiehen(int spalte, qint64 breite)
{
    // The width follows the mouse, never below 10; the window grows and shrinks with it.
    TabellenStruktur.SetzeSpaltenBreite(spalte, breite);
    SpaltenbreitenSetzen();
    resize(BenoetigteBreite(), height());
}

void Kursfenster::BreiteGeaendert(int)
{
    // Every other course window takes the new widths; this one has them already.
    zAnpassen = false;
    BasisEinstellungen::AlleFensterAnpassen();
    zAnpassen = true;
    Daten.Geaendert();
}

// --- Column moves --------------------------------------------------------------------------

QMimeData* Kursfenster::SpaltenDaten(int column)
{
    auto* daten = new QMimeData;
    daten->setData(SpaltenTyp, QByteArray::number(column));
    return daten;
}

void Kursfenster::SpalteZiehen(int column, QPoint druckpunkt)
{
    if (!IstEintragsspalte(column))
        return;
    // The dragged rectangle: the whole column, from the top of the table to its bottom.
    const int links = zTabelle->viewport()->x() + zTabelle->columnViewportPosition(column);
    const QPoint mitte(links + zTabelle->columnWidth(column) / 2, zTabelle->height() / 2);
    auto* ziehen = new QDrag(zTabelle);
    ziehen->setMimeData(SpaltenDaten(column));
    ziehen->setDragCursor(OffeneHand(), Qt::MoveAction);
    zZiehtGerade = true;
    zZiehVersatz = mitte - druckpunkt;
    // Qt deletes the drag when it ends.
    ziehen->exec(Qt::MoveAction);
    zZiehtGerade = false;
    zZiehVersatz = QPoint();
}

bool Kursfenster::SpalteAbgelegt(const QMimeData* daten, QPoint zeiger)
{
    zTabelle->AblagemarkeSetzen(-1);
    return meineTabelle_DropObject(daten, zZiehtGerade ? zeiger + zZiehVersatz : zeiger);
}

void Kursfenster::SpalteUeberTabelle(const QMimeData* daten, QPoint zeiger)
{
    // The same target as a drop here: the column under the centre of the dragged rectangle.
    const QPoint mitte = zZiehtGerade ? zeiger + zZiehVersatz : zeiger;
    bool zahl = false;
    const int a = daten && daten->hasFormat(SpaltenTyp)
        ? QString::fromLatin1(daten->data(SpaltenTyp)).toInt(&zahl)
        : -1;
    AblageZeigen(zahl ? a : -1, zTabelle->columnAt(mitte.x() - zTabelle->viewport()->x()));
}

int Kursfenster::AblageKante(int a, int b) const
{
    const qint64 erste = TabellenStruktur.ErsteSpalte;
    const qint64 spalten = qMin<qint64>(
        qMin<qint64>(TabellenStruktur.SpaltenAnzahl, TabellenStruktur.Spalten.size()),
        zTabelle->columnCount());
    const qint64 eintraege = Daten.alleEintraege.Anzahl();
    if (erste <= 0 || a == b || a < erste || b < erste || a >= spalten || b >= spalten
        || a - erste >= eintraege || b - erste >= eintraege)
        return -1;
    // The moved column takes b's place: after b when it comes from the left, before b when
    // it comes from the right.
    int x = zTabelle->viewport()->x() + zTabelle->columnViewportPosition(b);
    if (a < b)
        x += zTabelle->columnWidth(b);
    return x;
}

void Kursfenster::AblageZeigen(int a, int b)
{
    zTabelle->AblagemarkeSetzen(b < 0 ? -1 : AblageKante(a, b));
}

bool Kursfenster::meineTabelle_DropObject(const QMimeData* daten, QPoint mitte)
{
    return SpalteAblegen(daten, mitte);
}

bool Kursfenster::SpalteAblegen(const QMimeData* daten, QPoint mitte)
{
    if (!daten || !daten->hasFormat(SpaltenTyp))
        return false;
    // The target: the column under the centre of the dropped rectangle. The rectangle is
    // as tall as the table it came from, so only its horizontal place counts.
    const int b = zTabelle->columnAt(mitte.x() - zTabelle->viewport()->x());
    bool zahl = false;
    const int a = QString::fromLatin1(daten->data(SpaltenTyp)).toInt(&zahl);
    if (!zahl || b < TabellenStruktur.ErsteSpalte || b == a)
        return false;
    return VerschiebeSpalte(a, b);
}

void Kursfenster::KopfSpalteVerschoben(int a, int b)
{
    VerschiebeSpalte(a, b);
}

bool Kursfenster::VerschiebeSpalte(int a, int b)
{
    // The data moves in one step; every open course window follows it through the notifier
    // (its own row copies, then its grid).
    if (!Daten.SpalteVerschieben(TabellenStruktur, a, b))
        return false;
    // The other windows lay themselves out again; this one is up to date.
    zAnpassen = false;
    BasisEinstellungen::AlleFensterAnpassen();
    zAnpassen = true;
    Daten.Geaendert();
    return true;
}

void Kursfenster::EigeneZeilenVerschieben(qint64 von, qint64 nach)
{
    // The rows of the file move with the file; the copies this window holds move here.
    QSet<const SchuelerKurs*> dateizeilen;
    for (qint64 i = 1; i <= Daten.alleSchuelerKurse.AnzahlKurse(); ++i)
        dateizeilen.insert(Daten.alleSchuelerKurse.ZeigePosition(i).get());
    for (const SchuelerKursZeiger& r : std::as_const(zZeilenKurse)) {
        if (!r || dateizeilen.contains(r.get()))
            continue;
        r->Eintraege.Auffuellen(Daten.alleEintraege, qMax(von, nach));
        r->SpalteVerschieben(von, nach);
    }
}

void Kursfenster::SpaltenfolgeUebernehmen(int a, int b)
{
    const int erste = int(TabellenStruktur.ErsteSpalte);
    const int spalten = zTabelle->columnCount();
    if (a < erste || b < erste || a >= spalten || b >= spalten)
        return;

    // The open editor moves with its column and keeps its text, typed and not yet checked,
    // with its cursor; the focus stays where it is.
    zEditorWechsel = true;
    QLineEdit* editor = zTabelle->Editor();
    const int editorZeile = zTabelle->EditorZeile();
    const int editorSpalte = zTabelle->EditorSpalte();
    const QString editorText = editor ? editor->text() : QString();
    const int editorCursor = editor ? editor->cursorPosition() : 0;
    const int auswahlAnfang = editor ? editor->selectionStart() : -1;
    const int auswahlLaenge = editor ? editor->selectionLength() : 0;
    QPointer<QWidget> fokus = QApplication::focusWidget();
    const bool editorHatteFokus = editor && fokus == editor;
    QWidget* fenster = window();
    const bool editorWarFokusImFenster = editor && fenster->focusWidget() == editor;
    // The cell keeps its stored value; the text goes over to the editor on the new place.
    zTabelle->EditorVerwerfen();

    // Column tags, headings and alignments from the catalogue and the structure.
    for (int c = erste; c < spalten && c < zSpaltenEintraege.size(); ++c) {
        const qint64 j = c - erste;
        if (j < Daten.alleEintraege.Anzahl())
            zSpaltenEintraege[c] = Daten.alleEintraege.ZeigeEintrag(j);
        else
            zSpaltenEintraege[c] = std::nullopt;
        if (c < TabellenStruktur.Spalten.size()) {
            const EinfacheSpalte& spalte = TabellenStruktur.Spalten.at(c);
            zAusrichtungen[c] = spalte.Alignment();
            if (QTableWidgetItem* kopf = zTabelle->horizontalHeaderItem(c)) {
                kopf->setText(spalte.Ueberschrift);
                kopf->setTextAlignment(zAusrichtungen[c] | Qt::AlignVCenter);
            }
        }
    }
    SpaltenbreitenSetzen();
    ZellvorlagenNeu();

    // The cells of every row move with their columns: the values shown, also a value typed
    // but not yet checked, stay with their entry.
    const int links = qMin(a, b);
    const int rechts = qMax(a, b);
    const bool aktualisieren = zTabelle->updatesEnabled();
    zTabelle->setUpdatesEnabled(false);
    for (int i = 0; i < zTabelle->rowCount(); ++i) {
        QList<QTableWidgetItem*> zellen;
        for (int c = links; c <= rechts; ++c)
            zellen.append(zTabelle->takeItem(i, c));
        zellen.move(a - links, b - links);
        for (int c = links; c <= rechts; ++c) {
            QTableWidgetItem* zelle = zellen.at(c - links);
            if (!zelle)
                zelle = NeueZelle(c, QString());
            zelle->setTextAlignment(zAusrichtungen.at(c) | Qt::AlignVCenter);
            zTabelle->setItem(i, c, zelle);
        }
    }
    zTabelle->setUpdatesEnabled(aktualisieren);

    activeColumn = NachVerschieben(activeColumn, a, b);
    if (editorZeile >= 0) {
        zTabelle->EditorOeffnen(editorZeile, NachVerschieben(editorSpalte, a, b));
        if (QLineEdit* neu = zTabelle->Editor()) {
            if (neu->text() != editorText)
                neu->setText(editorText);
            if (auswahlAnfang >= 0)
                neu->setSelection(auswahlAnfang, auswahlLaenge);
            else
                neu->setCursorPosition(editorCursor);
        }
        if (!editorHatteFokus && fokus && fokus != zTabelle->Editor())
            fokus->setFocus();
        // In a window that is not active, the editor stays the window's focus: the teacher
        // comes back to it.
        if (editorWarFokusImFenster && !editorHatteFokus)
            if (QLineEdit* neu = zTabelle->Editor())
                neu->setFocus();
    }
    zEditorWechsel = false;
    EditMenueNachFokus();
    ZahlenNeu();
    zTabelle->viewport()->update();
    zTabelle->horizontalHeader()->viewport()->update();
}
