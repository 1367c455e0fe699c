#include "ravirireru.h"

#include "beendensignal.h"
#include "benachrichtiger.h"
#include "bilder.h"
#include "dateitypen.h"
#include "datenbestand.h"
#include "eingabejournal.h"
#include "hilfefenster.h"
#include "hilfsmittel.h"
#include "kursauswahl.h"
#include "kursfenster.h"
#include "menue.h"
#include "nachrichtenfenster.h"
#include "passwortfenster.h"
#include "plattform.h"
#include "qtplattform.h"
#include "splashscreen.h"
#include "ueberzelta.h"
#include "wiederherstellung.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMenuBar>
#include <QSessionManager>
#include <QTranslator>
#include <QUrl>

#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>

namespace {

// The demangled class name of the exception being handled, or empty without one.
QString AktuellerFehlertyp()
{
    const std::type_info* typ = abi::__cxa_current_exception_type();
    if (!typ)
        return {};
    int status = 0;
    char* klar = abi::__cxa_demangle(typ->name(), nullptr, nullptr, &status);
    QString name = (status == 0 && klar) ? QString::fromUtf8(klar) : QString::fromUtf8(typ->name());
    std::free(klar);
    return name;
}

} // namespace

RAVIRIreru* App()
{
    return qobject_cast<RAVIRIreru*>(QCoreApplication::instance());
}

int& RAVIRIreru::UmgebungVorbereiten(int& argc)
{
    // Qt's own dialogs write dates (the file list of the open dialog) in the system's
    // language; the program speaks German on any desktop. LC_ALL, when set, stays the
    // user's choice.
    if (qEnvironmentVariableIsEmpty("LC_ALL")) {
        QByteArray zeit = qgetenv("LC_TIME");
        if (zeit.isEmpty())
            zeit = qgetenv("LANG");
        if (!zeit.startsWith("de"))
            qputenv("LC_TIME", "de_DE.UTF-8");
    }
    return argc;
}

RAVIRIreru::RAVIRIreru(int& argc, char** argv, Art art)
    : QApplication(UmgebungVorbereiten(argc), argv)
    , zArt(art)
{
    // Our pictures live in the GUI library.
    Q_INIT_RESOURCE(ravirireru);
    // The two document types are known before anything is shown.
    FileTypes::Alle();

    setApplicationName(QStringLiteral("RAVIRIreru"));
    setApplicationVersion(VersionsText().mid(8));
    setDesktopFileName(QStringLiteral("ravirireru"));
    setWindowIcon(Bildsymbol(QStringLiteral("ravirireru")));
    // The program lives until the quit sequence lets it end, not until its last window closes
    // (the splash window is the only window for a while).
    setQuitOnLastWindowClosed(false);
    Uebersetzungen();

    zPlattform = new QtPlattform;
    Plattform::setzen(zPlattform);

    Menue& menue = Menue::Instanz();
    MenueHandlerAnmelden();
    Hilfetaste::Einrichten();
    connect(&menue, &Menue::Zurueckgesetzt, this, [this] { MenueHandlerAnmelden(); });
    // A window that asks to quit (the selection window closed by the window manager) runs the
    // quit sequence once its own event is over.
    Benachrichtiger& melder = Benachrichtiger::Instanz();
    melder.SetzeProgrammEndet(false);
    connect(&melder, &Benachrichtiger::BeendenGewuenscht, this, &RAVIRIreru::Beenden,
        Qt::QueuedConnection);
#ifdef Q_OS_MACOS
    // The application's own menu bar, shown while no window is open.
    menue.ErzeugeLeiste(nullptr);
#endif

    connect(this, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager& sitzung) { SitzungSichern(sitzung); });
    // SIGTERM and SIGHUP end the program as the desktop's quit does.
    connect(&Beendensignal::Instanz(), &Beendensignal::Empfangen, this,
        [this](int) { SignalBeenden(); });
    if (zArt == Betrieb)
        Beendensignal::Instanz().Einrichten();
}

void RAVIRIreru::SignalBeenden()
{
    if (Beendet())
        return;
    // As at the end of the desktop session: the windows' entries saved without a question,
    // the journals on the disk, the course-list file written and its lock let go.
    Eingabejournal::AlleSynchronisieren();
    SitzungEndet(false);
    Benachrichtiger::Instanz().SetzeProgrammEndet(true);
    const QWidgetList fenster = topLevelWidgets();
    for (QWidget* w : fenster)
        if (w->isVisible())
            w->close();
    Kurslistensperre().Freigeben();
    if (zArt == Betrieb)
        QCoreApplication::exit(0);
}

RAVIRIreru::~RAVIRIreru()
{
    if (&Plattform::aktuell() == zPlattform)
        Plattform::setzen(nullptr);
    delete zPlattform;
}

void RAVIRIreru::Uebersetzungen()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Qt's own folder, then the one beside the program (where a Windows installation keeps them).
    const QStringList ordner = { QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        applicationDirPath() + QStringLiteral("/translations"),
        QStringLiteral("/usr/share/qt6/translations") };
    for (const char* katalog : { "qtbase", "qt" }) {
        for (const QString& o : ordner) {
            if (o.isEmpty())
                continue;
            auto* uebersetzer = new QTranslator(this);
            if (uebersetzer->load(QLocale(QLocale::German), QString::fromLatin1(katalog),
                    QStringLiteral("_"), o)) {
                installTranslator(uebersetzer);
                break;
            }
            delete uebersetzer;
        }
    }
}

void RAVIRIreru::MenueHandlerAnmelden()
{
    Menue& menue = Menue::Instanz();
    menue.HandlerAnmelden(nullptr, QStringLiteral("AblageUeberZELTA"), [this] {
        ZeigeUeber();
        return true;
    });
    menue.HandlerAnmelden(nullptr, QStringLiteral("AblageBeenden"), [this] {
        Beenden();
        return true;
    });
    menue.HandlerAnmelden(nullptr, QStringLiteral("HilfeRAVIRIreru"), [] {
        Hilfetaste::HilfeFuer(activeWindow());
        return true;
    });
}

QString RAVIRIreru::Copyright()
{
    return Programmversion::Copyright();
}

QString RAVIRIreru::Rechtehinweis()
{
    return Programmversion::Rechtehinweis();
}

QString RAVIRIreru::VersionsText()
{
    return Programmversion::VersionsText();
}

QString RAVIRIreru::DokumentAusArgumenten() const
{
    const QStringList argumente = arguments();
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& a = argumente.at(i);
        if (a.isEmpty() || a.startsWith(QLatin1Char('-')))
            continue;
        if (a.startsWith(QStringLiteral("file:")))
            return QUrl(a).toLocalFile();
        return QFileInfo(a).absoluteFilePath();
    }
    return {};
}

void RAVIRIreru::Starten(const QString& dokument)
{
    zGestartet = true;
    if (!dokument.isEmpty())
        zDokument = dokument;
    // After the event loop runs, so that a document the platform hands over at start
    // (QFileOpenEvent) is known before the splash window would show.
    QMetaObject::invokeMethod(this, &RAVIRIreru::StartAblauf, Qt::QueuedConnection);
}

void RAVIRIreru::StartAblauf()
{
    if (zLaeuft || Beendet())
        return;
    zLaeuft = true;
    if (zDokument.isEmpty()) {
        // Started without a document: the splash window first.
        SplashScreen splash;
        zSplash = &splash;
        emit SplashGeoeffnet();
        if (zDokument.isEmpty())
            splash.exec();
        zSplash = nullptr;
    }
    if (Beendet())
        return;
    DatenLaden(zDokument);
}

void RAVIRIreru::DatenLaden()
{
    DatenLaden(QString());
}

void RAVIRIreru::DatenLaden(const QString& vorschlag)
{
    if (zLaedt)
        return;
    zLaedt = true;
    const bool geladen = Daten.Laden(vorschlag);
    if (!geladen) {
        zLaedt = false;
        Beenden();
        return;
    }
    {
        Passwortfenster anmeldung;
        anmeldung.exec();
    }
    zLaedt = false;
    // Logged in: entries a crash left unsaved in this file are offered back.
    if (!Beendet() && kursauswahl())
        Wiederherstellung::NachDerAnmeldung();
    // A file that cannot be saved where it lies: the teacher learns it now, not at the end
    // of his work.
    if (!Beendet() && kursauswahl())
        Daten.NichtSicherbarAnbieten();
}

void RAVIRIreru::OpenDocument(const QString& pfad)
{
    if (Beendet())
        return;
    if (!zLaeuft) {
        // Before the start-up sequence: it starts at this document, without splash window.
        zDokument = pfad;
        return;
    }
    if (zSplash) {
        zDokument = pfad;
        zSplash->close();
        return;
    }
    if (zLaedt)
        return; // the open dialog or the login window is already up
    if (Daten.geladen) {
        // Another course list while one is in use: grade files on their way are awaited, the
        // course windows over the current data close, and a changed state is written, so
        // nothing of it is lost or mixed.
        if (Kursauswahl* auswahl = Kursauswahl::Instanz(); auswahl && !auswahl->VersandAbwarten())
            return;
        const QList<Nachrichtenfenster*> fenster = BasisEinstellungen::zFenster();
        for (Nachrichtenfenster* f : fenster)
            f->close();
        if (!BasisEinstellungen::zFenster().isEmpty())
            return;
        // A failed save has said why and offered "Sichern unter …".
        if (Daten.wurdeGeaendert() && !Daten.Sichern())
            return;
    }
    DatenLaden(pfad);
}

void RAVIRIreru::ZweiterStart(const QString& dokument)
{
    if (Beendet())
        return;
    NachVorn();
    if (!Daten.geladen) {
        if (!dokument.isEmpty())
            OpenDocument(dokument);
        return;
    }
    if (dokument.isEmpty() || Hilfsmittel::GleicheDatei(dokument, Daten.datenFolder))
        return;
    // Queued: the start that handed the file over is answered first.
    QMetaObject::invokeMethod(
        this,
        [dokument] {
            Plattform::aktuell().Mitteilen({ QString(),
                QStringLiteral("RAVIRIreru arbeitet schon mit der Kurslisten-Datei %1.")
                    .arg(Hilfsmittel::PfadAnzeige(Daten.datenFolder)),
                QStringLiteral("Um %1 zu öffnen, beenden Sie RAVIRIreru und öffnen Sie die "
                               "Datei dann noch einmal.")
                    .arg(Hilfsmittel::PfadAnzeige(dokument)),
                Plattform::Symbol::Information });
        },
        Qt::QueuedConnection);
}

void RAVIRIreru::NachVorn()
{
    QWidget* fenster = activeModalWidget();
    if (!fenster)
        fenster = kursauswahl();
    if (!fenster) {
        for (QWidget* w : topLevelWidgets()) {
            if (w->isVisible()) {
                fenster = w;
                break;
            }
        }
    }
    if (!fenster)
        return;
    if (fenster->isMinimized())
        fenster->showNormal();
    fenster->raise();
    fenster->activateWindow();
}

bool RAVIRIreru::CancelClosing()
{
    if (!Daten.geladen)
        return false;
    // Grade files on their way are awaited (or stopped by the teacher) before anything is asked.
    if (Kursauswahl* auswahl = Kursauswahl::Instanz(); auswahl && !auswahl->VersandAbwarten())
        return true;
    if (!Daten.alleKurse.Gesichert())
        return true;
    // A failed write has said why and offered "Sichern unter …" before this question.
    if (Daten.wurdeGeaendert() && !Daten.Sichern()) {
        if (!Modales::JaNein(QStringLiteral("Programm beenden"),
                QStringLiteral("Soll das Programm beendet werden?"),
                Meldungen::KurslisteNichtGesichert))
            return true;
    }
    return false;
}

void RAVIRIreru::Beenden()
{
    if (Beendet())
        return;
    // Course windows with unsaved entries first: saved, dropped, or the quit is cancelled.
    if (!Kursfenster::EingabenVorDemBeenden())
        return;
    if (CancelClosing())
        return;
    Benachrichtiger::Instanz().SetzeProgrammEndet(true);
    if (zSplash)
        zSplash->close();
    const QWidgetList fenster = topLevelWidgets();
    for (QWidget* w : fenster)
        if (w->isVisible())
            w->close();
    if (zArt == Betrieb)
        QCoreApplication::exit(0);
}

void RAVIRIreru::EditCopyUmschalten(bool spezial)
{
    Menue::Instanz().EditCopyUmschalten(spezial);
}

void RAVIRIreru::EditPasteUmschalten(bool spezial)
{
    Menue::Instanz().EditPasteUmschalten(spezial);
}

void RAVIRIreru::EditUmschalten(bool spezial)
{
    Menue::Instanz().EditUmschalten(spezial);
}

Kursauswahl* RAVIRIreru::kursauswahl() const
{
    return zKursauswahl.data();
}

void RAVIRIreru::setzeKursauswahl(Kursauswahl* fenster)
{
    if (zKursauswahl && zKursauswahl != fenster) {
        // A course list loaded anew replaces the selection window of the previous one.
        Kursauswahl* alt = zKursauswahl.data();
        zKursauswahl = fenster;
        alt->close();
        alt->deleteLater();
        return;
    }
    zKursauswahl = fenster;
}

void RAVIRIreru::ZeigeUeber()
{
    if (!zUeber) {
        zUeber = new UeberZELTA;
        zUeber->setAttribute(Qt::WA_DeleteOnClose);
    }
    zUeber->show();
    zUeber->raise();
    zUeber->activateWindow();
}

bool RAVIRIreru::notify(QObject* empfaenger, QEvent* ereignis)
{
    try {
        switch (ereignis->type()) {
        case QEvent::Polish:
            // Every main window shows the shared menu bar.
            if (auto* haupt = qobject_cast<QMainWindow*>(empfaenger);
                haupt && haupt->isWindow() && !haupt->menuWidget())
                Menue::Instanz().ErzeugeLeiste(haupt);
            break;
        case QEvent::Close:
            // The selection window is the main window: closing it means quitting. (While it is
            // being destroyed it is no Kursauswahl any more, and nothing is asked.)
            if (!Beendet() && qobject_cast<Kursauswahl*>(empfaenger)
                && empfaenger == zKursauswahl.data()) {
                Beenden();
                if (!Beendet()) {
                    ereignis->ignore();
                    return true;
                }
            }
            break;
        default:
            break;
        }
        return QApplication::notify(empfaenger, ereignis);
    } catch (...) {
        UnhandledException(AktuellerFehlertyp());
    }
    return false;
}

void RAVIRIreru::UnhandledException(const QString& typName)
{
    if (typName.isEmpty())
        return;
    const QString text = QStringLiteral("Ein unbekannter Fehler ist aufgetreten.\n\n") + typName;
    if (FensterOffen()) {
        Plattform::aktuell().Meldung(text);
        return;
    }
    // Nothing left to work with (the error came while no window was up, e.g. while a file was
    // being loaded): running on invisibly would only keep the teacher from starting anew.
    Plattform::aktuell().Mitteilen({ QString(), text,
        QStringLiteral("Es ist kein Fenster von RAVIRIreru mehr offen; das Programm wird beendet."),
        Plattform::Symbol::Warnung });
    if (Daten.geladen && Daten.wurdeGeaendert()) {
        try {
            Daten.Sichern();
        } catch (...) {
            // The error again: the program ends all the same.
        }
    }
    Benachrichtiger::Instanz().SetzeProgrammEndet(true);
    if (zArt == Betrieb)
        QCoreApplication::exit(1);
}

bool RAVIRIreru::FensterOffen()
{
    const QWidgetList fenster = topLevelWidgets();
    for (const QWidget* w : fenster) {
        const Qt::WindowType art = w->windowType();
        if (w->isVisible() && art != Qt::Popup && art != Qt::ToolTip)
            return true;
    }
    return false;
}

bool RAVIRIreru::event(QEvent* ereignis)
{
    switch (ereignis->type()) {
    case QEvent::FileOpen: {
        auto* oeffnen = static_cast<QFileOpenEvent*>(ereignis);
        QString pfad = oeffnen->file();
        if (pfad.isEmpty())
            pfad = oeffnen->url().toLocalFile();
        OpenDocument(pfad);
        return true;
    }
    case QEvent::Quit:
        // A quit request of the platform runs the quit sequence, which may refuse it.
        ereignis->ignore();
        Beenden();
        return true;
    default:
        return QApplication::event(ereignis);
    }
}

void RAVIRIreru::SitzungSichern(QSessionManager& sitzung)
{
    const bool fragen = sitzung.allowsInteraction();
    const bool enden = SitzungEndet(fragen);
    if (fragen) {
        sitzung.release();
        if (!enden)
            sitzung.cancel();
    }
}

bool RAVIRIreru::SitzungEndet(bool fragen)
{
    if (Beendet() || !Daten.geladen)
        return true;
    // The session ends: what the course windows hold is saved without a question.
    Kursfenster::EingabenOhneFrageSichern();
    if (fragen) {
        if (CancelClosing())
            return false;
        Benachrichtiger::Instanz().SetzeProgrammEndet(true);
    } else if (QString grund; Daten.wurdeGeaendert() && !Daten.Speichern(&grund)) {
        // No window may ask any more while the desktop ends; the entries of course windows
        // that could not be saved stay in their recovery journal, and this line tells the
        // session's log why the course-list file kept its old state.
        qWarning().noquote() << Meldungen::KurslisteNichtGesichert << grund;
    }
    return true;
}

void RAVIRIreru::TestZuruecksetzen()
{
    if (zUeber)
        delete zUeber.data();
    if (zKursauswahl)
        delete zKursauswahl.data();
    zKursauswahl = nullptr;
    zDokument.clear();
    zGestartet = false;
    zLaeuft = false;
    zLaedt = false;
    Benachrichtiger::Instanz().SetzeProgrammEndet(false);
    zSplash = nullptr;
}
