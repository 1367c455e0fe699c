#include "toolbarvorlage.h"

#include "bilder.h"
#include "zeigehilfe.h"

#include <QAction>
#include <QChildEvent>
#include <QHash>
#include <QIcon>
#include <QWidgetAction>

ToolbarVorlage::ToolbarVorlage(QWidget* parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("ToolbarWerkzeuge"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(32, 32));
    setContextMenuPolicy(Qt::PreventContextMenu);

    ToolItemHilfe = new QAction(Bild(QStringLiteral("ToolHilfe")), QStringLiteral("Hilfe"), this);
    ToolItemHilfe->setObjectName(QStringLiteral("ToolItemHilfe"));
    ToolItemHilfe->setEnabled(true);
    addAction(ToolItemHilfe);

    connect(this, &QToolBar::actionTriggered, this, [this](QAction* item) {
        if (item == ToolItemHilfe)
            Hilfsmittel::ZeigeHilfe(QStringLiteral("noteneingabelehrer"));
        emit Pressed(item);
    });
}

QAction* ToolbarVorlage::FlexiblerRaum()
{
    auto* raum = new QWidget(this);
    raum->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* aktion = new QWidgetAction(this);
    aktion->setDefaultWidget(raum);
    insertAction(ToolItemHilfe, aktion);
    return aktion;
}

QIcon ToolbarVorlage::Bild(const QString& name)
{
    // Loaded on first use and kept for the rest of the run.
    static QHash<QString, QIcon> bilder;
    auto it = bilder.find(name);
    if (it == bilder.end())
        it = bilder.insert(name, Bildsymbol(name));
    return it.value();
}

bool ToolbarVorlage::event(QEvent* ereignis)
{
    // The buttons carry no tooltips.
    if (ereignis->type() == QEvent::ChildAdded) {
        auto* kind = static_cast<QChildEvent*>(ereignis)->child();
        if (kind && kind->isWidgetType())
            kind->installEventFilter(this);
    }
    return QToolBar::event(ereignis);
}

bool ToolbarVorlage::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (ereignis->type() == QEvent::ToolTip)
        return true;
    return QToolBar::eventFilter(objekt, ereignis);
}
