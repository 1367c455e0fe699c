#include "kursauswahl.h"

#include "datenbestand.h"
#include "kursfenster.h"
#include "kurskopf.h"
#include "kurslistenzeichner.h"
#include "menue.h"
#include "notenspeicherndialog.h"
#include "plattform.h"
#include "ravirireru.h"
#include "toolbarvorlage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTableWidget>

namespace {

QPointer<Kursauswahl>& EinzigesFenster()
{
    static QPointer<Kursauswahl> fenster;
    return fenster;
}

const QString Endung = QStringLiteral(".zle");

} // namespace

Kursauswahl::Kursauswahl(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)
{
    EinzigesFenster() = this;
    setObjectName(QStringLiteral("Kursauswahl"));
    setWindowTitle(QStringLiteral("Kursauswahl"));
    setMenuBar(Menue::Instanz().ErzeugeLeiste(this));

    QPalette weiss = palette();
    weiss.setColor(QPalette::Window, Qt::white);
    setPalette(weiss);
    setAutoFillBackground(true);

    // The list fills the window and follows it on all sides.
    Liste = new QTableWidget(0, 5, this);
    Liste->setObjectName(QStringLiteral("Liste"));
    Liste->setHorizontalHeaderLabels({QStringLiteral(" "), QStringLiteral("Fach"),
                                      QStringLiteral("Kursart"), QStringLiteral("Nr"),
                                      QStringLiteral("Lehrer*in")});
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
    const int breiten[] = {20, 150, 80, 30, 200};
    for (int spalte = 0; spalte < 5; ++spalte)
        Liste->setColumnWidth(spalte, breiten[spalte]);
    QPalette farben = Liste->palette();
    for (const auto gruppe : {QPalette::Active, QPalette::Inactive}) {
        farben.setColor(gruppe, QPalette::Base, Qt::white);
        farben.setColor(gruppe, QPalette::Text, Qt::black);
        farben.setColor(gruppe, QPalette::Highlight, QColor(181, 213, 255));
        farben.setColor(gruppe, QPalette::HighlightedText, Qt::black);
    }
    Liste->setPalette(farben);
    Liste->setItemDelegate(new KurslistenZeichner([this](int zeile) { return KursInZeile(zeile); },
                                                  Liste));
    setCentralWidget(Liste);

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
        move(bildschirm->geometry().left() + 10,
             frei.top() + qMax(0, (frei.height() - Hoehe) / 2));
    }

    ToolbarInit();
    ListeFuellen();
    connect(Liste->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Kursauswahl::Liste_SelectionChanged);
    connect(Liste, &QAbstractItemView::doubleClicked, this, &Kursauswahl::Liste_DoublePressed);
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

    connect(ToolbarWerkzeuge, &ToolbarVorlage::Pressed, this,
            &Kursauswahl::ToolbarWerkzeuge_Pressed);
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
        const QString texte[] = {QString(), kurs->Fach, kurs->KursArt, QString::number(kurs->kNr),
                                 kurs->Lehrer};
        for (int spalte = 0; spalte < 5; ++spalte) {
            auto* zelle = new QTableWidgetItem(texte[spalte]);
            zelle->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            Liste->setItem(zeile, spalte, zelle);
        }
        zZeilen.append(kurs);
    }
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
    zToolSenden->setEnabled(Daten.mitDaten && zKurs->geaendert && !zKurs->gesendet);
}

void Kursauswahl::Aktualisieren()
{
    ToolBarAnpassen();
    // Repaint the dot column of every row.
    for (int zeile = 0; zeile < Liste->rowCount(); ++zeile)
        Liste->viewport()->update(Liste->visualRect(Liste->model()->index(zeile, 0)));
}

QString Kursauswahl::DateiName() const
{
    return zKurs ? Daten.DateiName(*zKurs) : QString();
}

QString Kursauswahl::KursTitel(const Kurs& kurs)
{
    return kurs.Fach + QStringLiteral(" - ") + kurs.KursArt + QString::number(kurs.kNr)
           + QStringLiteral(" - ") + kurs.Lehrer;
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

bool Kursauswahl::ErgebnisSchreiben(const KursZeiger& kurs, QString& datei)
{
    datei = NotenSpeichernDialog(Daten.DateiName(*kurs) + Endung).Zeigen();
    if (datei.isEmpty())
        return false;
    // The extension is part of the file name here; the file browser always shows it.
    if (!Daten.Speichern(*kurs, datei))
        return false;   // the writer has shown its message
    // A transfer of an older file of this course no longer delivers the course's state.
    for (Versandauftrag& auftrag : zUnterwegs) {
        if (auftrag.kurs == kurs)
            auftrag.veraltet = true;
    }
    kurs->gespeichert = true;
    Daten.Geaendert();
    Aktualisieren();
    return true;
}

void Kursauswahl::ErgebnisSpeichern()
{
    const KursZeiger kurs = zKurs;
    if (!kurs)
        return;
    QString datei;
    ErgebnisSchreiben(kurs, datei);
}

void Kursauswahl::ErgebnisSenden()
{
    const KursZeiger kurs = zKurs;
    if (!kurs)
        return;
    if (kurs->Schueler.Anzahl() == 0) {
        Plattform::aktuell().Meldung(OhneSchueler);
        return;
    }
    QString datei;
    if (!ErgebnisSchreiben(kurs, datei))
        return;
    const QString titel = KursTitel(*kurs);
    const QString name = Daten.DateiName(*kurs) + Endung;
    const bool senden = Modales::JaNein(
        QStringLiteral("Noteneingabe ") + titel,
        QStringLiteral("Soll die Kursliste\n") + titel + QStringLiteral("\ngesendet werden?"),
        QStringLiteral("Die Kursliste wurde unter dem Namen\n") + name
            + QStringLiteral("\ngesichert."));
    if (senden)
        Senden(kurs, datei);
}

void Kursauswahl::Senden(const KursZeiger& kurs, const QString& datei)
{
    if (!kurs)
        return;
    Mailversand::Auftrag auftrag;
    auftrag.server = Daten.Server;
    auftrag.port = 465;
    auftrag.benutzer = Daten.Benutzer;
    auftrag.pass = Daten.Pass;
    auftrag.absender = Daten.Absender;
    auftrag.empfaenger = Daten.EMailAdresse;
    auftrag.betreff = Daten.DateiName(*kurs);
    auftrag.text = Mailversand::Nachrichtentext(Daten.Unterschrift);
    auftrag.dateiPfad = datei;
    // The tag ties the report to this course: a running number, then the course for reading.
    auftrag.kennung = QString::number(++zLaufendeNummer) + QLatin1Char(':') + kurs->Kuerzel
                      + QLatin1Char('-') + kurs->KursArt + QString::number(kurs->kNr);
    zUnterwegs.insert(auftrag.kennung, Versandauftrag{kurs, auftrag.betreff, false});
    if (zVersand)
        zVersand(auftrag);
    else
        SMTPSocket1->Senden(auftrag);
}

void Kursauswahl::Gesendet(const KursZeiger& kurs)
{
    if (!kurs)
        return;
    kurs->gesendet = true;
    Daten.Geaendert();
    Aktualisieren();
}

void Kursauswahl::SMTPSocket1_MailSent(const QString& kennung)
{
    const auto gefunden = zUnterwegs.constFind(kennung);
    if (gefunden == zUnterwegs.constEnd())
        return;   // no transfer of ours
    const Versandauftrag auftrag = gefunden.value();
    zUnterwegs.erase(gefunden);
    Plattform::aktuell().Meldung(MailVersandt);
    // The file that went out still is the course's current state only when the course
    // was neither saved again in its table nor written anew since.
    if (auftrag.kurs->gespeichert && !auftrag.veraltet)
        Gesendet(auftrag.kurs);
}

void Kursauswahl::SMTPSocket1_Error(const QString& kennung, int code)
{
    if (code <= 0)
        return;
    const auto gefunden = zUnterwegs.constFind(kennung);
    if (gefunden == zUnterwegs.constEnd())
        return;
    const Versandauftrag auftrag = gefunden.value();
    zUnterwegs.erase(gefunden);
    if (auftrag.kurs->gesendet)
        return;
    struct Plattform::Frage frage;
    frage.meldung = QStringLiteral("Beim Versenden der Nachricht ist ein Fehler aufgetreten!");
    frage.erklaerung = QStringLiteral("Die Noten wurden in der Datei '") + auftrag.stamm + Endung
                       + QStringLiteral("' gesichert. Verwenden Sie den Knopf 'Mail senden' und "
                                        "senden Sie die Datei als Anhang in ihrem Mailprogramm.");
    frage.standardKnopf = QStringLiteral("Mail senden");
    frage.andererKnopf = QStringLiteral("Abbrechen");
    if (Plattform::aktuell().Frage(frage))
        Plattform::aktuell().UrlOeffnen(Mailversand::MailtoAdresse(Daten.EMailAdresse, auftrag.stamm));
}

void Kursauswahl::closeEvent(QCloseEvent* ereignis)
{
    // The window has no close button: closing it from the window manager is a request to
    // quit the program, which runs the quit sequence.
    if (ereignis->spontaneous()) {
        ereignis->ignore();
        if (auto* app = qobject_cast<RAVIRIreru*>(QCoreApplication::instance()))
            QMetaObject::invokeMethod(app, [app] { app->Beenden(); }, Qt::QueuedConnection);
        return;
    }
    QMainWindow::closeEvent(ereignis);
}
