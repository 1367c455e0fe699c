// The course window: set-up, layout, toolbar, menu handlers and closing.

#include "kursfenster.h"

#include "hilfsmittel.h"

#include "benachrichtiger.h"
#include "datenbestand.h"
#include "kurskopf.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"
#include "kurszellendelegate.h"
#include "menue.h"
#include "plattform.h"
#include "toolbarvorlage.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidgetItem>
#include <QTime>
#include <QUndoStack>

namespace {
// The usable screen area given by a test, if any.
std::optional<QRect> zFesteFlaeche;
// Course windows open staggered by this much against the previous one.
constexpr int Versatz = 22;
// The gap between the course selection window and a course window beside it.
constexpr int NachbarAbstand = 8;
} // namespace

Kursfenster::Kursfenster(KursZeiger kurs, QWidget* parent)
    : Nachrichtenfenster(parent)
{
    // A document window of its own, also when a parent is given.
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(64, 64);
    setMaximumSize(32000, 32000);
    resize(700, 462);
    setWindowTitle(QStringLiteral("Liste"));
    setProperty("hilfeAnker", QStringLiteral("eingeben"));

    zWerkzeuge = new ToolbarVorlage(this);
    addToolBar(Qt::TopToolBarArea, zWerkzeuge);
    zTabelle = new Kurstabelle(this);
    setCentralWidget(zTabelle);
    // The figures and the reasons of refusals under the table.
    zStatuszeile = new Kursstatuszeile(this);
    setStatusBar(zStatuszeile);
    connect(this, &Kursfenster::EingabeAbgelehnt, zStatuszeile, &Kursstatuszeile::GrundZeigen);
    SucheEinrichten();
    NotenspiegelEinrichten();
    RueckgaengigEinrichten();
    connect(zWerkzeuge, &ToolbarVorlage::Pressed, this, &Kursfenster::ToolbarWerkzeuge_Pressed);
    connect(qApp, &QApplication::focusChanged, this, &Kursfenster::FokusGewechselt);
    // A column moved in any course window moves here too.
    Benachrichtiger& melder = Benachrichtiger::Instanz();
    connect(&melder, &Benachrichtiger::SpalteWirdVerschoben, this,
        &Kursfenster::EigeneZeilenVerschieben);
    connect(
        &melder, &Benachrichtiger::SpalteVerschoben, this, &Kursfenster::SpaltenfolgeUebernehmen);
    // A column's width dragged in the header goes into the shared layout.
    connect(zTabelle->Kopf(), &Kurskopf::BreiteZieht, this, &Kursfenster::BreiteZiehen);
    connect(zTabelle->Kopf(), &Kurskopf::BreiteGeaendert, this, &Kursfenster::BreiteGeaendert);
    meineTabelle_Opening();

    ToolbarInit();
    zKurs = kurs ? std::move(kurs) : std::make_shared<Kurs>();
    zAnpassen = true;
    KurslistenInit();
    setWindowTitle(Titel(*zKurs));
    JournalEinrichten();
    activeRow = 0;
    activeColumn = 1;
    FensterPlatzieren();
    DatenEintragen();
    // Once more with the width the rows gave the window: it keeps to the screen.
    FensterPlatzieren();
    zLokalGeaendert = false;
    ToolBarAnpassen();
    AddMenuHandlers();
    VerlaufMenueAnpassen();
    zEingerichtet = true;
}

Kursfenster::~Kursfenster()
{
    // The focus moves while the widgets go; this window no longer follows it, and the grid
    // hands nothing to it any more (an open editor's text is dropped with the window).
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The history and the journal go with the window's children, after this part of the
    // window: what they report on the way (a cleared history, a last write) reaches nobody.
    if (zStapel)
        zStapel->disconnect(this);
    if (zJournal)
        zJournal->disconnect(this);
    zTabelle->FensterTrennen();
    Menue::Instanz().AlleHandlerAbmelden(this);
}

QString Kursfenster::Titel(const Kurs& kurs)
{
    const QString rest = kurs.Fach + QStringLiteral(" - ") + kurs.KursArt
        + QString::number(kurs.kNr) + QStringLiteral(" - ") + kurs.Lehrer;
    // Texts from the file are shown as they are, never steering the title's direction.
    if (Daten.istAbiturListe)
        return Hilfsmittel::Sichtbar(rest);
    return Hilfsmittel::Sichtbar(Daten.HalbjahrKuerzel + QStringLiteral(" - ") + rest);
}

// --- Columns -------------------------------------------------------------------------------

void Kursfenster::SpaltenbreitenSetzen()
{
    const int anzahl = qMin<qint64>(zTabelle->columnCount(), TabellenStruktur.Spalten.size());
    for (int i = 0; i < anzahl; ++i)
        zTabelle->setColumnWidth(i, int(TabellenStruktur.Spalten.at(i).Breite));
}

void Kursfenster::KurslistenInit()
{
    zTabelle->setSortingEnabled(false);
    const int anzahl
        = int(qMin<qint64>(TabellenStruktur.SpaltenAnzahl, TabellenStruktur.Spalten.size()));
    const int erste = int(TabellenStruktur.ErsteSpalte);
    zTabelle->setColumnCount(anzahl);
    SpaltenbreitenSetzen();
    zSpalten = Menge();
    setMaximumWidth(32000);
    resize(BenoetigteBreite(), height());

    zTabelle->Delegate()->checkSpalte = Daten.mitWarnung ? erste - 1 : -1;
    zSpaltenEintraege = QList<std::optional<Eintrag>>(anzahl);
    zIstEintrag = QList<bool>(anzahl, false);
    for (int c = erste; c < anzahl; ++c) {
        // The structure matches the catalogue (the reader sees to it); a column without an
        // entry of its own stays without tag and is not editable.
        if (c - erste < Daten.alleEintraege.Anzahl())
            zSpaltenEintraege[c] = Daten.alleEintraege.ZeigeEintrag(c - erste);
        zSpalten.Einfuegen(qint64(c));
        zIstEintrag[c] = true;
    }

    zAusrichtungen = QList<Qt::Alignment>(anzahl);
    for (int i = 0; i < anzahl; ++i) {
        const EinfacheSpalte& spalte = TabellenStruktur.Spalten.at(i);
        zAusrichtungen[i] = spalte.Alignment();
        auto* kopf = new QTableWidgetItem(spalte.Ueberschrift);
        kopf->setTextAlignment(zAusrichtungen[i] | Qt::AlignVCenter);
        zTabelle->setHorizontalHeaderItem(i, kopf);
    }
    ZellvorlagenNeu();
}

void Kursfenster::ZellvorlagenNeu()
{
    zZellvorlagen.clear();
    zZellvorlagen.reserve(zAusrichtungen.size());
    for (int column = 0; column < zAusrichtungen.size(); ++column) {
        QTableWidgetItem& vorlage = zZellvorlagen.emplace_back();
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (IstEintragsspalte(column) && Spalteneintrag(column))
            flags |= Qt::ItemIsEditable;
        vorlage.setFlags(flags);
        vorlage.setTextAlignment(zAusrichtungen.at(column) | Qt::AlignVCenter);
    }
}

QTableWidgetItem* Kursfenster::NeueZelle(int column, const QString& text) const
{
    // A copy of the column's pattern shares its flags and alignment until the text is set:
    // one allocation per cell instead of building each role anew.
    if (column >= 0 && std::size_t(column) < zZellvorlagen.size()) {
        auto* zelle = new QTableWidgetItem(zZellvorlagen[std::size_t(column)]);
        zelle->setText(text);
        return zelle;
    }
    auto* zelle = new QTableWidgetItem(text);
    zelle->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return zelle;
}

// --- Window size and place -----------------------------------------------------------------

void Kursfenster::SetzeBildschirmflaeche(std::optional<QRect> flaeche)
{
    zFesteFlaeche = flaeche;
}

QRect Kursfenster::Bildschirmflaeche()
{
    if (zFesteFlaeche)
        return *zFesteFlaeche;
    if (const QScreen* bildschirm = QGuiApplication::primaryScreen())
        return bildschirm->availableGeometry();
    return QRect(0, 0, 1024, 768);
}

void Kursfenster::SetzeNachbar(QWidget* nachbar)
{
    Nachbar() = nachbar;
}

QPointer<QWidget>& Kursfenster::Nachbar()
{
    static QPointer<QWidget> nachbar;
    return nachbar;
}

void Kursfenster::FensterPlatzieren()
{
    const QRect flaeche = Bildschirmflaeche();
    QPoint anfang = flaeche.topLeft() + QPoint(30, 40);
    // Beside the course selection window, where the next double-click lands: never on top
    // of it while the screen has room to its right.
    const QWidget* nachbar = Nachbar();
    if (nachbar && nachbar->isVisible()) {
        const QRect belegt = nachbar->frameGeometry();
        anfang = QPoint(belegt.right() + 1 + NachbarAbstand, qMax(flaeche.top(), belegt.top()));
    }
    QPoint ort = anfang;
    // Staggered against the course window opened last.
    const QList<Nachrichtenfenster*>& fenster = BasisEinstellungen::zFenster();
    for (qsizetype i = fenster.size() - 1; i >= 0; --i) {
        auto* vorher = qobject_cast<Kursfenster*>(fenster.at(i));
        if (vorher && vorher != this) {
            ort = vorher->geometry().topLeft() + QPoint(Versatz, Versatz);
            break;
        }
    }
    if (ort.x() > flaeche.right() - 200 || ort.y() > flaeche.bottom() - 200
        || (ort != anfang && ort.x() + width() > flaeche.right() + 1))
        ort = anfang;
    // A window wider than the room beside its neighbour keeps to the screen's right edge.
    if (ort.x() + width() > flaeche.right() + 1)
        ort.setX(qMax(flaeche.left(), flaeche.right() + 1 - width()));
    setGeometry(QRect(ort, size()));
}

int Kursfenster::BenoetigteHoehe(qint64 anzahlSchueler) const
{
    // Where the table starts below the menu bar and the toolbar, and what the window holds
    // under it.
    const_cast<Kursfenster*>(this)->ensurePolished();
    if (layout())
        layout()->activate();
    const int oben = zTabelle->mapTo(this, QPoint(0, 0)).y();
    // What the window holds under the table: the status line, and anything else laid out
    // there (at least the status line, also before the window has its size).
    const int statuszeile
        = zStatuszeile && !zStatuszeile->isHidden() ? zStatuszeile->sizeHint().height() : 0;
    const int unten = qMax(statuszeile, height() - (oben + zTabelle->height()));
    return int(oben + zTabelle->Kopfhoehe() + anzahlSchueler * Kurstabelle::Zeilenhoehe + unten);
}

int Kursfenster::Bildlaufbreite(int hoehe) const
{
    // The grid shows its scroll bar exactly when its rows are taller than the room under
    // the header.
    if (hoehe >= BenoetigteHoehe(zTabelle->rowCount()))
        return 0;
    return zTabelle->verticalScrollBar()->sizeHint().width();
}

int Kursfenster::BenoetigteBreite(int hoehe) const
{
    return int(TabellenStruktur.Gesamtbreite()) + Bildlaufbreite(hoehe);
}

void Kursfenster::FensterEinrichten()
{
    const int h = BenoetigteHoehe(zKurs->Schueler.Anzahl());
    setMaximumHeight(qMax(h, minimumHeight()));
    // Never lower than 20 points above the bottom of the usable screen area.
    const QRect flaeche = Bildschirmflaeche();
    const int platz = flaeche.y() + flaeche.height() - 20 - geometry().y();
    const int hoehe = qMax(qMin(h, platz), minimumHeight());
    resize(BenoetigteBreite(hoehe), hoehe);
}

void Kursfenster::resizeEvent(QResizeEvent* ereignis)
{
    Nachrichtenfenster::resizeEvent(ereignis);
    // Only a change of the window's width against the columns is a resize of the layout;
    // opening the window or changing its height alone leaves the layout and the global data
    // as they are: when the scroll bar comes or goes with the height, the window's width
    // follows it. While a column's width is dragged, the window follows the columns, not
    // the reverse.
    if (!zEingerichtet || zTabelle->Kopf()->BreiteWirdGezogen()
        || TabellenStruktur.SpaltenAnzahl <= 0)
        return;
    const int breite = ereignis->size().width();
    if (breite == BenoetigteBreite())
        return;
    if (breite == ereignis->oldSize().width())
        resize(BenoetigteBreite(), height());
    else
        Event_Resizing();
}

void Kursfenster::Event_Resizing()
{
    BreiteUebernehmen();
}

void Kursfenster::BreiteUebernehmen()
{
    const qint64 letzte = TabellenStruktur.SpaltenAnzahl - 1;
    if (letzte < 0 || letzte >= TabellenStruktur.Spalten.size())
        return;
    // The room of the columns: the window's width without the scroll bar.
    const qint64 a = TabellenStruktur.Gesamtbreite();
    const qint64 b = width() - Bildlaufbreite(height());
    const qint64 c = TabellenStruktur.Spalten.at(letzte).Breite;
    TabellenStruktur.SetzeSpaltenBreite(letzte, b + c - a);
    SpaltenbreitenSetzen();
    if (b + c - a < 10)
        resize(BenoetigteBreite(), height());
    // Every course window follows, this one included (its zAnpassen stays true).
    BasisEinstellungen::AlleFensterAnpassen();
    Daten.Geaendert();
}

void Kursfenster::Anpassen()
{
    if (!zAnpassen) {
        zAnpassen = true;
        return;
    }
    SpaltenbreitenSetzen();
    resize(BenoetigteBreite(), height());
    const int erste = int(TabellenStruktur.ErsteSpalte);
    const int spalten = zTabelle->columnCount();
    for (int f = erste; f < spalten && f < TabellenStruktur.Spalten.size(); ++f) {
        if (QTableWidgetItem* kopf = zTabelle->horizontalHeaderItem(f))
            kopf->setText(TabellenStruktur.Spalten.at(f).Ueberschrift);
    }
    for (int i = 0; i < zTabelle->rowCount(); ++i) {
        const SchuelerKursZeiger r = Zeilenkurs(i);
        if (!r)
            continue;
        for (int b = erste; b < spalten; ++b) {
            const qint64 j = b - erste;
            SetzeZelltext(i, b,
                j < r->Eintraege.Anzahl() ? r->Eintraege.ZeigeKursEintrag(j).datum : QString());
        }
    }
}

// --- Toolbar -------------------------------------------------------------------------------

void Kursfenster::ToolbarInit()
{
    zToolSichern = new QAction(
        ToolbarVorlage::Bild(QStringLiteral("ToolSichern")), QStringLiteral("Sichern"), this);
    zToolSichern->setObjectName(QStringLiteral("ToolItemSichern"));
    zToolSichern->setEnabled(false);
    // "Sichern", the flexible space, then the template's "Hilfe" at the far end.
    QAction* raum = zWerkzeuge->FlexiblerRaum();
    zWerkzeuge->insertAction(raum, zToolSichern);
}

void Kursfenster::ToolBarAnpassen()
{
    // Enabled as soon as the open cell's text differs from what it holds.
    if (zToolSichern)
        zToolSichern->setEnabled(HatUngesicherteEingaben());
    // "Rückgängig" and "Wiederholen" follow the same state.
    VerlaufMenueAnpassen();
}

void Kursfenster::ToolbarWerkzeuge_Pressed(QAction* item)
{
    WerkzeugGedrueckt(item);
}

void Kursfenster::WerkzeugGedrueckt(QAction* item)
{
    if (!item)
        return;
    // "Hilfe" opens its page in the template itself.
    if (item->objectName() == QLatin1String("ToolItemSichern")) {
        // A refused cell keeps the window open; after a failed write the closing question
        // decides (the entries are still unsaved).
        if (TabelleSichern() != Sicherung::Abgelehnt)
            close();
    }
}

Kursfenster::Sicherung Kursfenster::TabelleSichern()
{
    if (!ZelleGeprueft(activeRow, activeColumn))
        return Sicherung::Abgelehnt;
    TabellenDatenSichern();
    Daten.Geaendert();
    if (zLokalGeaendert)
        return Sicherung::Fehlgeschlagen;
    emit Benachrichtiger::Instanz().Bestaetigt(zKurs->Fach + QLatin1Char(' ') + zKurs->KursArt
        + QString::number(zKurs->kNr) + QStringLiteral(" gesichert, ")
        + QTime::currentTime().toString(QStringLiteral("HH:mm")));
    return Sicherung::Gesichert;
}

// --- Menus, drops, closing -----------------------------------------------------------------

void Kursfenster::AddMenuHandlers()
{
    Menue& menue = Menue::Instanz();
    menue.HandlerAnmelden(
        this, QStringLiteral("AblageDrucken"), [this] { return _AblageDrucken_Action(); });
    menue.HandlerAnmelden(
        this, QStringLiteral("EditCopySpezial"), [this] { return _EditCopySpezial_Action(); });
    menue.HandlerAnmelden(
        this, QStringLiteral("EditPasteSpezial"), [this] { return _EditPasteSpezial_Action(); });
    // The plain "Einfügen" while the cell editor has the keyboard: a table pasted into it
    // goes into the table; anything else the editor pastes itself (the handler declines).
    menue.HandlerAnmelden(this, QStringLiteral("EditPaste"), [this] {
        QWidget* fokus = QApplication::focusWidget();
        return fokus && fokus == zTabelle->Editor() && EditorEinfuegen();
    });
}

void Kursfenster::meineTabelle_Opening()
{
    zTabelle->akzeptierteTypen = QStringList { SpaltenTyp };
    zTabelle->setAcceptDrops(true);
    zTabelle->viewport()->setAcceptDrops(true);
    zTabelle->Kopf()->akzeptierteTypen = zTabelle->akzeptierteTypen;
}

bool Kursfenster::ProgrammEndet()
{
    if (QCoreApplication::closingDown())
        return true;
    return Benachrichtiger::Instanz().ProgrammEndet();
}

bool Kursfenster::OffeneEingabe() const
{
    const QLineEdit* editor = zTabelle->Editor();
    return editor && editor->text() != Zelltext(zTabelle->EditorZeile(), zTabelle->EditorSpalte());
}

bool Kursfenster::Event_CancelClosing(bool programmEndet)
{
    return OffenLassen(programmEndet);
}

bool Kursfenster::OffenLassen(bool programmEndet)
{
    // A value typed into the open editor and not yet checked counts as a change too.
    if (!programmEndet && HatUngesicherteEingaben()) {
        // As the quit question: "Sichern" is the default, Escape and closing the box keep the
        // window open with everything in it.
        Plattform::Auswahl frage;
        frage.titel = QStringLiteral("Kursfenster schließen");
        frage.meldung = QStringLiteral("Soll das Kursfenster geschlossen werden?");
        frage.erklaerung = QStringLiteral("Die letzten Änderungen wurden noch nicht übernommen.");
        frage.knoepfe = QStringList { QStringLiteral("Sichern"), QStringLiteral("Verwerfen"),
            QStringLiteral("Abbrechen") };
        frage.standard = 0;
        frage.abbrechen = 2;
        const int wahl = Plattform::aktuell().Waehlen(frage);
        if (wahl == 0) {
            // A refused cell or a file that could not be written keeps the window open; the
            // teacher has seen why.
            if (TabelleSichern() != Sicherung::Gesichert)
                return true;
        } else if (wahl != 1) {
            return true;
        }
    }
    // Closing drops what was not saved, the open editor's text included.
    zTabelle->EditorVerwerfen();
    return false;
}

void Kursfenster::closeEvent(QCloseEvent* ereignis)
{
    if (Event_CancelClosing(ProgrammEndet())) {
        ereignis->ignore();
        return;
    }
    Nachrichtenfenster::closeEvent(ereignis);
    if (ereignis->isAccepted()) {
        Menue::Instanz().AlleHandlerAbmelden(this);
        // Closed: saved, discarded or nothing to keep. The course's part of the journal goes,
        // unless the session ended before the entries could be saved.
        if (!zJournalBehalten)
            JournalEntfernen();
    }
}
