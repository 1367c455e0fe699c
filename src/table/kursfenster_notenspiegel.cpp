// The course window: the distribution of its grade columns ("Notenspiegel"), opened from the
// figures in the status line or with Ctrl+Shift+N, and printed after the course list.

#include "kursfenster.h"

#include "datenbestand.h"
#include "kursstatuszeile.h"
#include "kurstabelle.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

void Kursfenster::NotenspiegelEinrichten()
{
    auto* oeffnen = new QAction(this);
    oeffnen->setObjectName(QStringLiteral("NotenspiegelOeffnen"));
    oeffnen->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    oeffnen->setShortcutContext(Qt::WindowShortcut);
    addAction(oeffnen);
    connect(oeffnen, &QAction::triggered, this, &Kursfenster::NotenspiegelOeffnen);
    connect(
        zStatuszeile, &Kursstatuszeile::ZahlenGeklickt, this, &Kursfenster::NotenspiegelOeffnen);
}

QList<Notenspiegel> Kursfenster::Notenspiegelliste() const
{
    QList<const KursEintraege*> zeilen;
    for (int i = 0; i < zTabelle->rowCount(); ++i) {
        const SchuelerKurs* r = Zeilenkurs(i).get();
        zeilen.append(r ? &r->Eintraege : nullptr);
    }
    QList<Notenspiegel> liste;
    for (const qint64 spalte : Notenspiegel::Spalten(Daten))
        liste.append(Notenspiegel::Berechnen(Daten, spalte, zeilen));
    return liste;
}

void Kursfenster::NotenspiegelOeffnen()
{
    const bool neu = !zNotenspiegel;
    if (neu)
        zNotenspiegel = new Notenspiegelfenster(this);
    zNotenspiegel->Zeigen(windowTitle(), Notenspiegelliste());
    if (neu) {
        zNotenspiegel->adjustSize();
        // Beside the course window where the screen has room, else over its right edge.
        const QRect fenster = frameGeometry();
        const QScreen* bildschirm = screen() ? screen() : QGuiApplication::primaryScreen();
        const QRect platz = bildschirm ? bildschirm->availableGeometry() : QRect();
        const QSize groesse = zNotenspiegel->frameGeometry().size();
        int x = fenster.right() + 8;
        if (platz.isValid() && x + groesse.width() > platz.right())
            x = qMax(platz.left(), platz.right() - groesse.width());
        int y = fenster.top();
        if (platz.isValid())
            y = qBound(platz.top(), y, qMax(platz.top(), platz.bottom() - groesse.height()));
        zNotenspiegel->move(x, y);
    }
    zNotenspiegel->show();
    zNotenspiegel->raise();
    zNotenspiegel->activateWindow();
}
