#include "hilfefenster.h"

#include "plattform.h"
#include "zeigehilfe.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

QPointer<Hilfefenster> Hilfefenster::sInstanz;

Hilfefenster::Hilfefenster(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Hilfefenster"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("RAVIRIreru-Hilfe"));

    auto* leiste = new QToolBar(this);
    leiste->setObjectName(QStringLiteral("Hilfeleiste"));
    leiste->setToolButtonStyle(Qt::ToolButtonTextOnly);
    zZurueck = leiste->addAction(QStringLiteral("Zurück"));
    zZurueck->setShortcut(QKeySequence::Back);
    zVor = leiste->addAction(QStringLiteral("Vor"));
    zVor->setShortcut(QKeySequence::Forward);
    QAction* inhalt = leiste->addAction(QStringLiteral("Inhalt"));
    QAction* schliessen = leiste->addAction(QStringLiteral("Schließen"));
    schliessen->setShortcut(QKeySequence::Close);

    zBrowser = new QTextBrowser(this);
    zBrowser->setObjectName(QStringLiteral("Hilfetext"));
    zBrowser->setAccessibleName(QStringLiteral("Hilfetext"));
    zBrowser->setOpenLinks(false);
    zBrowser->setFocus();

    auto* anordnung = new QVBoxLayout(this);
    anordnung->setContentsMargins(0, 0, 0, 0);
    anordnung->setSpacing(0);
    anordnung->addWidget(leiste);
    anordnung->addWidget(zBrowser);

    zZurueck->setEnabled(false);
    zVor->setEnabled(false);
    connect(zZurueck, &QAction::triggered, zBrowser, &QTextBrowser::backward);
    connect(zVor, &QAction::triggered, zBrowser, &QTextBrowser::forward);
    connect(inhalt, &QAction::triggered, this,
        [this] { zBrowser->setSource(Hilfsmittel::HilfeAdresse(QString())); });
    connect(schliessen, &QAction::triggered, this, &QWidget::close);
    connect(zBrowser, &QTextBrowser::backwardAvailable, zZurueck, &QAction::setEnabled);
    connect(zBrowser, &QTextBrowser::forwardAvailable, zVor, &QAction::setEnabled);
    connect(zBrowser, &QTextBrowser::anchorClicked, this, &Hilfefenster::VerweisGeklickt);
}

void Hilfefenster::Mittig()
{
    // A readable page: two thirds of the screen's height, never more than the screen, in the
    // middle of it.
    const QRect schirm = QGuiApplication::primaryScreen()
        ? QGuiApplication::primaryScreen()->availableGeometry()
        : QRect(0, 0, 1024, 768);
    resize(qMin(760, schirm.width() - 40),
        qMin(qMax(480, schirm.height() * 2 / 3), schirm.height() - 80));
    QRect rahmen(QPoint(), size());
    rahmen.moveCenter(schirm.center());
    move(rahmen.topLeft());
}

Hilfefenster* Hilfefenster::Zeigen(const QUrl& adresse)
{
    if (!sInstanz)
        sInstanz = new Hilfefenster;
    Hilfefenster* fenster = sInstanz;
    // A modal dialog (the login, a question) blocks every other window: the help opened from
    // it belongs to it while it is open, so that the teacher can read and scroll it, and
    // stays open on its own when the dialog ends.
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        dialog && dialog != fenster->parentWidget()) {
        const bool sichtbar = fenster->isVisible();
        fenster->setParent(dialog, Qt::Window);
        if (!sichtbar)
            fenster->Mittig();
        connect(dialog, &QDialog::finished, fenster, [fenster] {
            const QPoint ort = fenster->pos();
            fenster->setParent(nullptr, Qt::Window);
            fenster->move(ort);
            fenster->show();
        });
    } else if (!fenster->isVisible()) {
        fenster->Mittig();
    }
    // A page of its own is loaded; another place on the shown page only scrolls there.
    fenster->zBrowser->setSource(adresse);
    fenster->show();
    if (fenster->isMinimized())
        fenster->showNormal();
    fenster->raise();
    fenster->activateWindow();
    return fenster;
}

Hilfefenster* Hilfefenster::Instanz()
{
    return sInstanz;
}

void Hilfefenster::keyPressEvent(QKeyEvent* ereignis)
{
    if (ereignis->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(ereignis);
}

void Hilfefenster::VerweisGeklickt(const QUrl& adresse)
{
    const QUrl ziel = zBrowser->source().resolved(adresse);
    if (ziel.scheme() == zBrowser->source().scheme() && ziel.host() == zBrowser->source().host()) {
        zBrowser->setSource(ziel);
        return;
    }
    if (!Plattform::aktuell().UrlOeffnen(ziel))
        Plattform::aktuell().Meldung(
            QStringLiteral("Die Adresse „%1“ konnte nicht geöffnet werden: Auf diesem Rechner ist "
                           "kein Programm dafür eingerichtet.")
                .arg(ziel.toDisplayString()));
}

namespace Hilfetaste {

namespace {

class Filter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* ziel, QEvent* ereignis) override
    {
        const auto typ = ereignis->type();
        if (typ != QEvent::ShortcutOverride && typ != QEvent::KeyPress)
            return false;
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() != Qt::Key_F1 || taste->modifiers() != Qt::NoModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(ziel);
        if (!widget)
            return false;
        if (typ == QEvent::ShortcutOverride) {
            // The key is ours, in every window: no shortcut of a menu takes it as well.
            ereignis->accept();
            return true;
        }
        if (taste->isAutoRepeat())
            return true;
        HilfeFuer(widget->window());
        return true;
    }
};

} // namespace

void Einrichten()
{
    static QPointer<Filter> filter;
    if (filter || !qApp)
        return;
    filter = new Filter(qApp);
    qApp->installEventFilter(filter);
}

void HilfeFuer(const QWidget* fenster)
{
    QString anker;
    for (const QWidget* w = fenster; w && anker.isEmpty(); w = w->parentWidget())
        anker = w->property("hilfeAnker").toString();
    Hilfsmittel::ZeigeHilfe(QStringLiteral("noteneingabelehrer"), anker);
}

} // namespace Hilfetaste
