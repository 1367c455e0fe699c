#include "menue.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWindow>

// One item of the menu bar: a menu title, a separator or a command.
struct Menue::Punkt {
    QString name;
    QString titel; // the name of the menu title it belongs to; empty for a title
    QString beschriftung;
    QKeySequence kuerzel;
    bool sichtbar = true;
    bool automatisch = true;
    bool trenner = false;
    QAction* aktion = nullptr;
};

namespace {

struct Vorlage {
    const char* name;
    const char* titel;
    const char* beschriftung;
    const char* kuerzel; // in portable text form; "Ctrl" is the platform's command key
    bool sichtbar;
    bool automatisch;
};

// The items in menu order.
const Vorlage kVorlagen[] = {
    { "Ablage", "", "Ablage", "", true, false },
    { "AblageUeberZELTA", "Ablage", "Über RAVIRIreru...", "Ctrl+I", true, true },
    { "UntitledMenu0", "Ablage", "-", "", true, false },
    { "AblageDrucken", "Ablage", "Drucken", "Ctrl+P", true, true },
    { "AblageBeenden", "Ablage", "Beenden", "Ctrl+Q", true, true },
    { "EditMenu", "", "Bearbeiten", "", true, true },
    { "EditUndo", "EditMenu", "Rückgängig", "Ctrl+Z", true, true },
    { "EditRedo", "EditMenu", "Wiederholen", "Ctrl+Shift+Z", true, true },
    { "UntitledMenu1", "EditMenu", "-", "", true, false },
    { "EditCut", "EditMenu", "Ausschneiden", "Ctrl+X", true, true },
    { "EditCutSpezial", "EditMenu", "Ausschneiden", "Ctrl+X", false, true },
    { "EditCopy", "EditMenu", "Kopieren", "Ctrl+C", true, true },
    { "EditCopySpezial", "EditMenu", "Kopieren", "Ctrl+C", false, true },
    { "EditPaste", "EditMenu", "Einfügen", "Ctrl+V", true, true },
    { "EditPasteSpezial", "EditMenu", "Einfügen", "Ctrl+V", false, true },
    { "EditSelectAll", "EditMenu", "Alles auswählen", "Ctrl+A", true, true },
    { "EditSelectAllSpezial", "EditMenu", "Alles Auswählen", "Ctrl+A", false, true },
    { "HilfeMenu", "", "Hilfe", "", true, false },
    { "HilfeRAVIRIreru", "HilfeMenu", "RAVIRIreru-Hilfe", "F1", true, false },
};

// The items the platform handles on the focused text field when no window takes them.
enum class Textbefehl { Keiner, Ausschneiden, Kopieren, Einfuegen, AllesAuswaehlen };

Textbefehl TextbefehlVon(const QString& name)
{
    if (name == QLatin1String("EditCut"))
        return Textbefehl::Ausschneiden;
    if (name == QLatin1String("EditCopy"))
        return Textbefehl::Kopieren;
    if (name == QLatin1String("EditPaste"))
        return Textbefehl::Einfuegen;
    if (name == QLatin1String("EditSelectAll"))
        return Textbefehl::AllesAuswaehlen;
    return Textbefehl::Keiner;
}

// Whether the focused widget can carry out the text command (and does it when ausfuehren).
bool Textbearbeitung(Textbefehl befehl, bool ausfuehren)
{
    if (befehl == Textbefehl::Keiner)
        return false;
    QWidget* fokus = QApplication::focusWidget();
    if (!fokus)
        return false;
    QLineEdit* zeile = qobject_cast<QLineEdit*>(fokus);
    if (auto* drehfeld = qobject_cast<QAbstractSpinBox*>(fokus)) {
        if (befehl == Textbefehl::AllesAuswaehlen) {
            if (ausfuehren)
                drehfeld->selectAll();
            return true;
        }
        zeile = drehfeld->findChild<QLineEdit*>();
        if (!zeile)
            return false;
    }
    if (zeile) {
        const bool schreibbar = !zeile->isReadOnly();
        const bool verdeckt = zeile->echoMode() != QLineEdit::Normal;
        switch (befehl) {
        case Textbefehl::Ausschneiden:
            if (!schreibbar || verdeckt)
                return false;
            if (ausfuehren)
                zeile->cut();
            return true;
        case Textbefehl::Kopieren:
            if (verdeckt)
                return false;
            if (ausfuehren)
                zeile->copy();
            return true;
        case Textbefehl::Einfuegen:
            if (!schreibbar)
                return false;
            if (ausfuehren)
                zeile->paste();
            return true;
        case Textbefehl::AllesAuswaehlen:
            if (ausfuehren)
                zeile->selectAll();
            return true;
        case Textbefehl::Keiner:
            return false;
        }
    }
    auto anwenden = [&](auto* feld) {
        const bool schreibbar = !feld->isReadOnly();
        switch (befehl) {
        case Textbefehl::Ausschneiden:
            if (!schreibbar)
                return false;
            if (ausfuehren)
                feld->cut();
            return true;
        case Textbefehl::Kopieren:
            if (ausfuehren)
                feld->copy();
            return true;
        case Textbefehl::Einfuegen:
            if (!schreibbar)
                return false;
            if (ausfuehren)
                feld->paste();
            return true;
        case Textbefehl::AllesAuswaehlen:
            if (ausfuehren)
                feld->selectAll();
            return true;
        case Textbefehl::Keiner:
            break;
        }
        return false;
    };
    if (auto* text = qobject_cast<QTextEdit*>(fokus))
        return anwenden(text);
    if (auto* text = qobject_cast<QPlainTextEdit*>(fokus))
        return anwenden(text);
    return false;
}

// The top-level window whose handlers count: the active window, or the one holding the focus.
QWidget* AktivesFenster()
{
    if (QWidget* fenster = QApplication::activeWindow())
        return fenster;
    if (QWidget* fokus = QApplication::focusWidget())
        return fokus->window();
    return nullptr;
}

} // namespace

Menue& Menue::Instanz()
{
    static Menue* instanz = new Menue;
    return *instanz;
}

Menue::Menue()
{
    setObjectName(QStringLiteral("Menue"));
    for (const Vorlage& v : kVorlagen) {
        auto* p = new Punkt;
        p->name = QString::fromUtf8(v.name);
        p->titel = QString::fromUtf8(v.titel);
        p->beschriftung = QString::fromUtf8(v.beschriftung);
        p->kuerzel = QKeySequence(QString::fromLatin1(v.kuerzel), QKeySequence::PortableText);
        p->sichtbar = v.sichtbar;
        p->automatisch = v.automatisch;
        p->trenner = p->beschriftung == QLatin1String("-");
        p->aktion = new QAction(this);
        p->aktion->setObjectName(p->name);
        if (p->trenner) {
            p->aktion->setSeparator(true);
        } else {
            p->aktion->setText(p->beschriftung);
            // "Wiederholen" answers to Ctrl+Y as well, as in most programs.
            if (p->name == QLatin1String("EditRedo"))
                p->aktion->setShortcuts({ p->kuerzel, QKeySequence(Qt::CTRL | Qt::Key_Y) });
            else
                p->aktion->setShortcut(p->kuerzel);
        }
        p->aktion->setVisible(p->sichtbar);
        if (p->name == QLatin1String("AblageUeberZELTA"))
            p->aktion->setMenuRole(QAction::AboutRole);
        else if (p->name == QLatin1String("AblageBeenden"))
            p->aktion->setMenuRole(QAction::QuitRole);
        else
            p->aktion->setMenuRole(QAction::NoRole);
        if (!p->titel.isEmpty() && !p->trenner) {
            const QString name = p->name;
            connect(p->aktion, &QAction::triggered, this, [this, name] { Ausfuehren(name); });
        }
        zPunkte.append(p);
    }
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        connect(app, &QApplication::focusChanged, this, [this] { AktivierungAktualisieren(); });
        connect(app, &QGuiApplication::focusWindowChanged, this,
            [this] { AktivierungAktualisieren(); });
    }
    AktivierungAktualisieren();
}

QAction* Menue::Eintrag(const QString& name) const
{
    for (const Punkt* p : zPunkte)
        if (p->name == name)
            return p->aktion;
    return nullptr;
}

QStringList Menue::Namen() const
{
    QStringList namen;
    for (const Punkt* p : zPunkte)
        namen.append(p->name);
    return namen;
}

QMenuBar* Menue::ErzeugeLeiste(QWidget* fenster)
{
    auto* leiste = new QMenuBar(fenster);
    leiste->setObjectName(QStringLiteral("Menueleiste"));
    QMenu* menue = nullptr;
    for (const Punkt* p : zPunkte) {
        if (p->titel.isEmpty()) {
            menue = leiste->addMenu(p->beschriftung);
            menue->setObjectName(p->name);
            // The title follows the shared title item (visibility, enabled state).
            QAction* titel = p->aktion;
            QAction* eigener = menue->menuAction();
            auto folgen = [titel, eigener] {
                eigener->setVisible(titel->isVisible());
                eigener->setEnabled(titel->isEnabled());
            };
            folgen();
            connect(titel, &QAction::changed, eigener, folgen);
            connect(menue, &QMenu::aboutToShow, this, [this] { AktivierungAktualisieren(); });
        } else if (menue) {
            menue->addAction(p->aktion);
        }
    }
    if (auto* haupt = qobject_cast<QMainWindow*>(fenster))
        haupt->setMenuBar(leiste);
    return leiste;
}

void Menue::HandlerAnmelden(QObject* besitzer, const QString& name, Handler handler)
{
    if (besitzer && !zHandler.contains(besitzer)) {
        connect(besitzer, &QObject::destroyed, this, [this, besitzer] {
            zHandler.remove(besitzer);
            AktivierungAktualisieren();
        });
    }
    zHandler[besitzer].insert(name, std::move(handler));
    AktivierungAktualisieren();
}

void Menue::HandlerAbmelden(QObject* besitzer, const QString& name)
{
    auto it = zHandler.find(besitzer);
    if (it == zHandler.end())
        return;
    it->remove(name);
    AktivierungAktualisieren();
}

void Menue::AlleHandlerAbmelden(QObject* besitzer)
{
    if (besitzer)
        disconnect(besitzer, &QObject::destroyed, this, nullptr);
    zHandler.remove(besitzer);
    AktivierungAktualisieren();
}

// The handlers that count now: those of the active window (or of a widget inside it)
// first, then the application's.
static const Menue::Handler* SucheHandler(
    const QHash<QObject*, QHash<QString, Menue::Handler>>& alle, const QString& name)
{
    if (QWidget* fenster = AktivesFenster()) {
        for (auto it = alle.cbegin(); it != alle.cend(); ++it) {
            auto* widget = qobject_cast<QWidget*>(it.key());
            if (!widget || widget->window() != fenster)
                continue;
            auto h = it->constFind(name);
            if (h != it->cend())
                return &h.value();
        }
    }
    auto app = alle.constFind(nullptr);
    if (app != alle.cend()) {
        auto h = app->constFind(name);
        if (h != app->cend())
            return &h.value();
    }
    return nullptr;
}

bool Menue::HatHandler(const QString& name) const
{
    return SucheHandler(zHandler, name) != nullptr;
}

bool Menue::Ausfuehren(const QString& name)
{
    if (const Handler* handler = SucheHandler(zHandler, name)) {
        // A copy: the handler may unregister itself or close its window.
        Handler kopie = *handler;
        if (kopie && kopie())
            return true;
    }
    return Textbearbeitung(TextbefehlVon(name), true);
}

void Menue::AktivierungAktualisieren()
{
    QAction* editTitel = nullptr;
    bool editHatAktive = false;
    for (Punkt* p : zPunkte) {
        if (p->trenner)
            continue;
        if (p->name == QLatin1String("EditMenu")) {
            editTitel = p->aktion;
            continue;
        }
        if (!p->automatisch) {
            p->aktion->setEnabled(true);
            continue;
        }
        const bool an = HatHandler(p->name) || Textbearbeitung(TextbefehlVon(p->name), false);
        p->aktion->setEnabled(an);
        if (p->titel == QLatin1String("EditMenu") && an && p->aktion->isVisible())
            editHatAktive = true;
    }
    // The Edit title is usable while one of its visible items is.
    if (editTitel)
        editTitel->setEnabled(editHatAktive || HatHandler(QStringLiteral("EditMenu")));
}

void Menue::Zuruecksetzen()
{
    for (auto it = zHandler.cbegin(); it != zHandler.cend(); ++it)
        if (it.key())
            disconnect(it.key(), &QObject::destroyed, this, nullptr);
    zHandler.clear();
    for (Punkt* p : zPunkte)
        p->aktion->setVisible(p->sichtbar);
    emit Zurueckgesetzt();
    AktivierungAktualisieren();
}

void Menue::EditCopyUmschalten(bool spezial)
{
    if (QAction* a = Eintrag(QStringLiteral("EditCopySpezial")))
        a->setVisible(spezial);
    if (QAction* a = Eintrag(QStringLiteral("EditCopy")))
        a->setVisible(!spezial);
    AktivierungAktualisieren();
}

void Menue::EditPasteUmschalten(bool spezial)
{
    if (QAction* a = Eintrag(QStringLiteral("EditPasteSpezial")))
        a->setVisible(spezial);
    if (QAction* a = Eintrag(QStringLiteral("EditPaste")))
        a->setVisible(!spezial);
    AktivierungAktualisieren();
}

void Menue::EditUmschalten(bool spezial)
{
    EditCopyUmschalten(spezial);
    EditPasteUmschalten(spezial);
}
