#include "guitest.h"

#include "datenbestand.h"
#include "menue.h"
#include "nachrichtenfenster.h"

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
