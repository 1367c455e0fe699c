#include "kursauswahl.h"

#include "benachrichtiger.h"
#include "datenbestand.h"
#include "hilfsmittel.h"
#include "kursfenster.h"
#include "kurskopf.h"
#include "kurslistenzeichner.h"
#include "kursluecken.h"
#include "kurszahlen.h"
#include "menue.h"
#include "plattform.h"
#include "toolbarvorlage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>

namespace {

QPointer<Kursauswahl>& EinzigesFenster()
{
    static QPointer<Kursauswahl> fenster;
    return fenster;
}

} // namespace

Kursauswahl::Kursauswahl(QWidget* parent)
    : QMainWindow(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowMaximizeButtonHint)
{
    EinzigesFenster() = this;
    // Course windows open beside this one.
    Kursfenster::SetzeNachbar(this);
    setObjectName(QStringLiteral("Kursauswahl"));
    setWindowTitle(QStringLiteral("Kursauswahl"));
    setProperty("hilfeAnker", QStringLiteral("kursauswahl"));
    setMenuBar(Menue::Instanz().ErzeugeLeiste(this));
    // A course saved in its window shows its new state here.
    connect(&Benachrichtiger::Instanz(), &Benachrichtiger::KursGeaendert, this,
        [this] { Aktualisieren(); });
    // What was written says so for a few seconds, without a click.
    connect(
        &Benachrichtiger::Instanz(), &Benachrichtiger::Bestaetigt, this, &Kursauswahl::Bestaetigen);

    QPalette weiss = palette();
    weiss.setColor(QPalette::Window, Qt::white);
    setPalette(weiss);
    setAutoFillBackground(true);

    // The list fills the window and follows it on all sides.
    Liste = new QTableWidget(0, Spalten, this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setHorizontalHeaderLabels(
        { QStringLiteral(" "), QStringLiteral("Fach"), QStringLiteral("Kursart"),
            QStringLiteral("Nr"), QStringLiteral("Lehrer*in"), QStringLiteral("Noten") });
    QFont schrift(QStringLiteral("Arial"));
    schrift.setPixelSize(13);
    Liste->setFont(schrift);
    Liste->setFrameShape(QFrame::NoFrame);
    Liste->setShowGrid(true);
    Liste->setGridStyle(Qt::SolidLine);
    Liste->setWordWrap(false);
    Liste->setTextElideMode(Qt::ElideRight);
    Liste->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Liste->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    Liste->setSelectionMode(QAbstractItemView::SingleSelection);
    Liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Liste->setDragEnabled(false);
    Liste->setDragDropMode(QAbstractItemView::NoDragDrop);
    Liste->setSortingEnabled(false);
    Liste->setCornerButtonEnabled(false);
    Liste->setAttribute(Qt::WA_MacShowFocusRect, false);
    Liste->verticalHeader()->hide();
    Liste->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Liste->verticalHeader()->setDefaultSectionSize(20);
    Liste->verticalHeader()->setMinimumSectionSize(20);
    QHeaderView* kopf = Liste->horizontalHeader();
    kopf->setFont(schrift);
    kopf->setMinimumSectionSize(10);
    kopf->setSectionResizeMode(QHeaderView::Fixed);
    kopf->setSectionsMovable(false);
    kopf->setSectionsClickable(false);
    kopf->setHighlightSections(false);
    kopf->setStretchLastSection(false);
    kopf->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int breiten[Spalten] = { 20, 150, 80, 30, 140, 60 };
    for (int spalte = 0; spalte < Spalten; ++spalte)
        Liste->setColumnWidth(spalte, breiten[spalte]);
    if (QTableWidgetItem* noten = Liste->horizontalHeaderItem(SpalteNoten))
        noten->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette farben = Liste->palette();
    for (const auto gruppe : { QPalette::Active, QPalette::Inactive }) {
        farben.setColor(gruppe, QPalette::Base, Qt::white);
        farben.setColor(gruppe, QPalette::Text, Qt::black);
        farben.setColor(gruppe, QPalette::Highlight, QColor(181, 213, 255));
        farben.setColor(gruppe, QPalette::HighlightedText, Qt::black);
    }
    Liste->setPalette(farben);
    auto* zeichner
        = new KurslistenZeichner([this](int zeile) { return KursInZeile(zeile); }, Liste);
    zeichner->setzeVersandAbfrage([this](int zeile) {
        const KursZeiger kurs = KursInZeile(zeile);
        return kurs && VersandLaeuft(kurs);
    });
    Liste->setItemDelegate(zeichner);
    setCentralWidget(Liste);
    // The calm confirmation lies over the foot of the list, which keeps filling the window.
    zBestaetigung = new QLabel(Liste);
    zBestaetigung->setObjectName(QStringLiteral("Bestaetigung"));
    zBestaetigung->setFont(schrift);
    zBestaetigung->setAutoFillBackground(true);
    zBestaetigung->setMargin(4);
    QPalette hinweis = zBestaetigung->palette();
    hinweis.setColor(QPalette::Window, QColor(232, 245, 233));
    hinweis.setColor(QPalette::WindowText, QColor(27, 94, 32));
    zBestaetigung->setPalette(hinweis);
    zBestaetigung->hide();
    zBestaetigungsUhr = new QTimer(this);
    zBestaetigungsUhr->setSingleShot(true);
    connect(zBestaetigungsUhr, &QTimer::timeout, zBestaetigung, &QWidget::hide);

    // The mail client lives as long as the window and is used for every transfer.
    SMTPSocket1 = new Mailversand(this);
    SMTPSocket1->setObjectName(QStringLiteral("SMTPSocket1"));
    connect(SMTPSocket1, &Mailversand::MailSent, this, &Kursauswahl::SMTPSocket1_MailSent);
    connect(SMTPSocket1, &Mailversand::Error, this, &Kursauswahl::SMTPSocket1_Error);

    // Only the height can change.
    setMinimumSize(Breite, MinHoehe);
    setMaximumSize(Breite, MaxHoehe);
    resize(Breite, Hoehe);
    if (const QScreen* bildschirm = QGuiApplication::primaryScreen()) {
        const QRect frei = bildschirm->availableGeometry();
        move(bildschirm->geometry().left() + 10, frei.top() + qMax(0, (frei.height() - Hoehe) / 2));
    }

    ToolbarInit();
    ListeFuellen();
    connect(Liste->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &Kursauswahl::Liste_SelectionChanged);
    connect(Liste, &QAbstractItemView::doubleClicked, this, &Kursauswahl::Liste_DoublePressed);
    // Return opens the selected course as a double-click does.
    Liste->installEventFilter(this);
    if (Liste->rowCount() > 0)
        Liste->selectRow(0);
    Liste_SelectionChanged();
    ToolBarAnpassen();
    // A file without a layout of its own gets the default one, each entry column as wide as
    // its heading needs.
    TabellenStruktur.KurslistenInit(Daten, &Kurskopf::Standardbreite);
}

Kursauswahl::~Kursauswahl() = default;

Kursauswahl* Kursauswahl::Instanz()
{
    return EinzigesFenster().data();
}

void Kursauswahl::ToolbarInit()
{
    ToolbarWerkzeuge = new ToolbarVorlage(this);
    ToolbarWerkzeuge->setObjectName(QStringLiteral("ToolbarWerkzeuge"));
    addToolBar(Qt::TopToolBarArea, ToolbarWerkzeuge);

    const auto knopf = [this](const QString& text, const QString& name, const QString& bild) {
        auto* item = new QAction(ToolbarVorlage::Bild(bild), text, ToolbarWerkzeuge);
        item->setObjectName(name);
        item->setEnabled(false);
        return item;
    };
    zToolSenden = knopf(QStringLiteral("Senden"), QStringLiteral("ToolItemSenden"),
        QStringLiteral("ToolNotenSenden"));
    zToolSpeichern = knopf(QStringLiteral("Speichern"), QStringLiteral("ToolItemSpeichern"),
        QStringLiteral("ToolNotenErgebnis"));
    zToolZeigen = knopf(QStringLiteral("Kursliste zeigen"), QStringLiteral("ToolItemZeigen"),
        QStringLiteral("ToolNotenDatei"));

    // Left to right: "Kursliste zeigen", "Speichern", "Senden", a flexible space, "Hilfe".
    QAction* hilfe = ToolbarWerkzeuge->ToolItemHilfe;
    ToolbarWerkzeuge->insertAction(hilfe, zToolZeigen);
    ToolbarWerkzeuge->insertAction(hilfe, zToolSpeichern);
    ToolbarWerkzeuge->insertAction(hilfe, zToolSenden);
    ToolbarWerkzeuge->insertAction(hilfe, ToolbarWerkzeuge->FlexiblerRaum());

    connect(
        ToolbarWerkzeuge, &ToolbarVorlage::Pressed, this, &Kursauswahl::ToolbarWerkzeuge_Pressed);
}

void Kursauswahl::ListeFuellen()
{
    const qint64 anzahl = Daten.alleKurse.AnzahlKurse();
    zZeilen.clear();
    Liste->setRowCount(0);
    for (qint64 i = 1; i <= anzahl; ++i) {
        const KursZeiger kurs = Daten.alleKurse.Zeigen(i);
        const int zeile = Liste->rowCount();
        Liste->insertRow(zeile);
        // Texts from the file as they may be shown (no direction or control characters).
        using Hilfsmittel::Sichtbar;
        const QString texte[Spalten] = { QString(), Sichtbar(kurs->Fach), Sichtbar(kurs->KursArt),
            QString::number(kurs->kNr), Sichtbar(kurs->Lehrer), QString() };
        for (int spalte = 0; spalte < Spalten; ++spalte) {
            auto* zelle = new QTableWidgetItem(texte[spalte]);
            zelle->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (spalte == SpalteNoten)
                zelle->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Liste->setItem(zeile, spalte, zelle);
        }
        zZeilen.append(kurs);
    }
    NotenZaehlen();
}

void Kursauswahl::NotenZaehlen()
{
    // How many of a course's students have a grade in the course-list file ("18/24").
    for (int zeile = 0; zeile < Liste->rowCount(); ++zeile) {
        const KursZeiger kurs = KursInZeile(zeile);
        QTableWidgetItem* zelle = Liste->item(zeile, SpalteNoten);
        if (!kurs || !zelle)
            continue;
        const Kurszahlen::Summe zahlen = Kurszahlen::FuerKurs(Daten, *kurs);
        const QString text = zahlen.schueler > 0 ? zahlen.Anteil() : QString();
        QString hinweis;
        if (!text.isEmpty() && (kurs->gespeichert || kurs->gesendet)) {
            // Delivered although something is missing: the count stands out.
            const Kursluecken luecken = Kursluecken::FuerKurs(Daten, *kurs);
            if (!luecken.Vollstaendig())
                hinweis = UnvollstaendigAbgegeben + QLatin1Char('\n') + luecken.Text();
        }
        const QString tipp = VersandLaeuft(kurs) ? WirdVersandt : hinweis;
        if (zelle->text() == text && zelle->toolTip() == tipp)
            continue;
        zelle->setText(text);
        zelle->setToolTip(tipp);
        QFont schrift = Liste->font();
        schrift.setBold(!hinweis.isEmpty());
        zelle->setFont(schrift);
        zelle->setData(
            Qt::ForegroundRole, hinweis.isEmpty() ? QVariant() : QVariant(UnvollstaendigFarbe));
        zelle->setData(Qt::AccessibleTextRole,
            text.isEmpty()
                ? QString()
                : QStringLiteral("%1 von %2 Noten eingetragen%3")
                      .arg(zahlen.eingetragen)
                      .arg(zahlen.schueler)
                      .arg(hinweis.isEmpty() ? QString()
                                             : QStringLiteral(", unvollständig abgegeben")));
    }
}

void Kursauswahl::Bestaetigen(const QString& text)
{
    zBestaetigung->setText(text);
    zBestaetigung->adjustSize();
    const int breite = qMin(zBestaetigung->width(), Liste->width());
    zBestaetigung->setGeometry(
        0, Liste->height() - zBestaetigung->height(), breite, zBestaetigung->height());
    zBestaetigung->show();
    zBestaetigung->raise();
    zBestaetigungsUhr->start(BestaetigungMs);
}

QString Kursauswahl::Bestaetigung() const
{
    return zBestaetigung->isVisible() ? zBestaetigung->text() : QString();
}

KursZeiger Kursauswahl::KursInZeile(int zeile) const
{
    if (zeile < 0 || zeile >= zZeilen.size())
        return nullptr;
    return zZeilen.at(zeile);
}

void Kursauswahl::ToolBarAnpassen()
{
    if (!zKurs) {
        zToolZeigen->setEnabled(false);
        zToolSpeichern->setEnabled(false);
        zToolSenden->setEnabled(false);
        return;
    }
    zToolZeigen->setEnabled(true);
    zToolSpeichern->setEnabled(Daten.mitDaten && zKurs->geaendert && !zKurs->gespeichert);
    // A course whose file is on its way cannot be sent a second time meanwhile.
    zToolSenden->setEnabled(
        Daten.mitDaten && zKurs->geaendert && !zKurs->gesendet && !VersandLaeuft(zKurs));
}

void Kursauswahl::Aktualisieren()
{
    ToolBarAnpassen();
    NotenZaehlen();
    // Repaint the dot column of every row; a row whose file is on its way says so when the
    // mouse rests on it.
    for (int zeile = 0; zeile < Liste->rowCount(); ++zeile) {
        const KursZeiger kurs = KursInZeile(zeile);
        const QString hinweis = kurs && VersandLaeuft(kurs) ? WirdVersandt : QString();
        for (int spalte = 0; spalte < SpalteNoten; ++spalte) {
            if (QTableWidgetItem* zelle = Liste->item(zeile, spalte);
                zelle && zelle->toolTip() != hinweis)
                zelle->setToolTip(hinweis);
        }
        Liste->viewport()->update(Liste->visualRect(Liste->model()->index(zeile, 0)));
    }
}

void Kursauswahl::Liste_SelectionChanged()
{
    const QModelIndexList zeilen = Liste->selectionModel()->selectedRows();
    zKurs = zeilen.isEmpty() ? nullptr : KursInZeile(zeilen.first().row());
    ToolBarAnpassen();
}

void Kursauswahl::Liste_DoublePressed(const QModelIndex& index)
{
    if (!index.isValid() || !zKurs)
        return;
    if (zKurs->Schueler.Anzahl() == 0) {
        Plattform::aktuell().Meldung(OhneSchuelerDoppelklick);
        return;
    }
    KursOeffnen(zKurs);
}

bool Kursauswahl::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == Liste && ereignis->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(ereignis)->key();
        if ((taste == Qt::Key_Return || taste == Qt::Key_Enter)
            && Liste->currentIndex().isValid()) {
            Liste_DoublePressed(Liste->currentIndex());
            return true;
        }
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

void Kursauswahl::KursOeffnen(const KursZeiger& kurs)
{
    // A course opens once: a second window over copies of its own would overwrite the
    // first one's grades when saved last.
    if (Kursfenster* offen = Kursfenster::FensterVon(kurs.get())) {
        offen->Vorholen();
        return;
    }
    auto* fenster = new Kursfenster(kurs);
    fenster->setAttribute(Qt::WA_DeleteOnClose);
    fenster->show();
}

void Kursauswahl::ToolbarWerkzeuge_Pressed(QAction* item)
{
    if (!item)
        return;
    const QString name = item->objectName();
    if (name == QLatin1String("ToolItemZeigen")) {
        if (!zKurs)
            return;
        if (zKurs->Schueler.Anzahl() == 0) {
            Plattform::aktuell().Meldung(OhneSchueler);
            return;
        }
        KursOeffnen(zKurs);
    } else if (name == QLatin1String("ToolItemSpeichern")) {
        ErgebnisSpeichern();
    } else if (name == QLatin1String("ToolItemSenden")) {
        ErgebnisSenden();
    }
    // "ToolItemHilfe" opens the help page in the toolbar template itself.
}

void Kursauswahl::closeEvent(QCloseEvent* ereignis)
{
    // The window has no close button: closing it from the window manager is a request to
    // quit the program, which runs the quit sequence.
    if (ereignis->spontaneous()) {
        ereignis->ignore();
        emit Benachrichtiger::Instanz().BeendenGewuenscht();
        return;
    }
    QMainWindow::closeEvent(ereignis);
}
