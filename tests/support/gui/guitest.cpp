#include "guitest.h"

#include "dateihelfer.h"
#include "datenbestand.h"
#include "menue.h"
#include "nachrichtenfenster.h"
#include "spaltenstruktur.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

namespace GuiTest {

EigeneAnwendungsdaten::EigeneAnwendungsdaten()
{
    QTemporaryDir ordner(QDir::tempPath() + QStringLiteral("/ravirireru-test-XXXXXX"));
    ordner.setAutoRemove(false);
    zOrdner = ordner.path();
    qputenv("XDG_DATA_HOME", QFile::encodeName(zOrdner));
}

EigeneAnwendungsdaten::~EigeneAnwendungsdaten()
{
    if (!zOrdner.isEmpty())
        QDir(zOrdner).removeRecursively();
}

QList<KursAngabe> StandardKurse()
{
    KursAngabe mathe;
    KursAngabe deutsch;
    deutsch.nr = 12;
    deutsch.fach = QStringLiteral("Deutsch");
    deutsch.kursArt = QStringLiteral("GK");
    deutsch.lehrer = QStringLiteral("Schulz");
    deutsch.kuerzel = QStringLiteral("D-GK12");
    deutsch.schueler = { 2, 3 };
    return { mathe, deutsch };
}

void BeispielDaten(const QList<KursAngabe>& kurse, bool mitDaten, const QString& passwort)
{
    GlobaleDatenZuruecksetzen();
    Daten.Halbjahr = 1;
    Daten.HalbjahrKuerzel = QStringLiteral("Q1");
    Daten.Halbjahrbezeichnung = QStringLiteral("Q1.1");
    if (mitDaten) {
        Daten.alleEintraege.Anfuegen(Eintrag(QStringLiteral("N"), QStringLiteral("Note")));
        Daten.alleEintraege.Anfuegen(Eintrag(QStringLiteral("F"), QStringLiteral("Fehlstunden")));
    }
    Daten.mitDaten = Daten.alleEintraege.Anzahl() > 0;
    for (int p = 15; p >= 0; --p)
        Daten.zNoten.append(
            Note(QString::number(p), QStringLiteral("%1 Punkte").arg(p), p, QString::number(p)));
    Daten.NotenPass = passwort;
    Daten.EMailAdresse = QStringLiteral("noten@schule.example");
    Daten.Absender = QStringLiteral("lehrer@schule.example");
    Daten.Server = QStringLiteral("smtp.schule.example");
    Daten.Benutzer = QStringLiteral("lehrer");
    Daten.Pass = QStringLiteral("Kennwort");
    Daten.alleSchueler.Anfuegen(Schueler(1, QStringLiteral("Anna Abel"), QStringLiteral("g-1")));
    Daten.alleSchueler.Anfuegen(Schueler(2, QStringLiteral("Bernd Bär"), QStringLiteral("g-2")));
    Daten.alleSchueler.Anfuegen(Schueler(3, QStringLiteral("Clara Cölln"), QStringLiteral("g-3")));
    for (const KursAngabe& k : kurse) {
        auto kurs = std::make_shared<Kurs>();
        kurs->kNr = k.nr;
        kurs->Fach = k.fach;
        kurs->KursArt = k.kursArt;
        kurs->Lehrer = k.lehrer;
        kurs->Kuerzel = k.kuerzel;
        for (qint64 id : k.schueler) {
            kurs->Schueler.Einfuegen(id);
            Daten.alleSchuelerKurse.Anfuegen(std::make_shared<SchuelerKurs>(k.kuerzel, id));
        }
        kurs->geaendert = k.geaendert;
        kurs->gespeichert = k.gespeichert;
        kurs->gesendet = k.gesendet;
        Daten.alleKurse.Anfuegen(kurs);
    }
    TabellenStruktur.KurslistenInit(Daten);
}

QByteArray KurslistenBytes()
{
    return Dateihelfer::Kursliste(Daten, TabellenStruktur);
}

bool LadeKursliste(const QByteArray& bytes, QString* meldung)
{
    return Dateihelfer::Lesen(bytes, Daten, TabellenStruktur, meldung);
}

QString SchreibeKursliste(const QString& ordner, const QString& name)
{
    const QString pfad = QDir(ordner).filePath(name);
    return Dateihelfer::Schreiben(pfad, KurslistenBytes()) ? pfad : QString();
}

QString SchreibeUndLade(const QString& ordner, const QString& name)
{
    return Dateihelfer::SchreibenUndLaden(ordner, KurslistenBytes(), name);
}

namespace {

// Waits for the first modal window (of a class) to show and then, inside its own event
// loop, hands it to the action.
class ModalHelfer : public QObject {
public:
    ModalHelfer(std::function<void(QWidget*)> aktion, const char* klasse)
        : zAktion(std::move(aktion))
        , zKlasse(klasse ? klasse : "")
    {
        qApp->installEventFilter(this);
        offen().append(this);
    }
    ~ModalHelfer() override { offen().removeAll(this); }

    static QList<ModalHelfer*>& offen()
    {
        static QList<ModalHelfer*> liste;
        return liste;
    }

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override
    {
        if (zAusgeloest || ereignis->type() != QEvent::Show || !objekt->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(objekt);
        if (!w->isWindow() || !w->isModal()
            || (!zKlasse.isEmpty() && !w->inherits(zKlasse.constData())))
            return false;
        zAusgeloest = true;
        qApp->removeEventFilter(this);
        offen().removeAll(this);
        QPointer<QWidget> fenster(w);
        QMetaObject::invokeMethod(
            this,
            [this, fenster] {
                if (fenster)
                    zAktion(fenster);
                deleteLater();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void(QWidget*)> zAktion;
    QByteArray zKlasse;
    bool zAusgeloest = false;
};

} // namespace

void BeiModal(std::function<void(QWidget*)> aktion, const char* klasse)
{
    new ModalHelfer(std::move(aktion), klasse);
}

int Unbeantwortet()
{
    return ModalHelfer::offen().size();
}

void Zuruecksetzen()
{
    // Windows first: they deregister themselves from the registry and the menu. One at a
    // time, as a window takes its own child windows with it.
    for (;;) {
        QWidget* fenster = nullptr;
        const QWidgetList alle = QApplication::topLevelWidgets();
        for (QWidget* w : alle) {
            if (w->parentWidget() == nullptr) {
                fenster = w;
                break;
            }
        }
        if (!fenster)
            break;
        delete fenster;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    BasisEinstellungen::zFenster().clear();
    if (RAVIRIreru* app = App())
        app->TestZuruecksetzen();
    GlobaleDatenZuruecksetzen();
    Menue::Instanz().Zuruecksetzen();
    while (Unbeantwortet() > 0)
        delete ModalHelfer::offen().first();
}

bool KnopfDruecken(QWidget* fenster, const QString& text)
{
    if (!fenster)
        return false;
    const auto knoepfe = fenster->findChildren<QAbstractButton*>();
    for (QAbstractButton* k : knoepfe) {
        if (k->text() == text && k->isVisible()) {
            k->click();
            return true;
        }
    }
    return false;
}

} // namespace GuiTest
