#include "zellaenderung.h"

Zellaenderung::Zellaenderung(Kursfenster* fenster, const Kursfenster::Zellort& ort,
    const QString& vorher, const QString& nachher, QUndoCommand* parent)
    : QUndoCommand(parent)
    , zFenster(fenster)
    , zOrt(ort)
    , zVorher(vorher)
    , zNachher(nachher)
{
    setText(ort.warnung ? QStringLiteral("Warnung") : ort.eintragBezeichnung);
}

void Zellaenderung::undo()
{
    zFenster->WertZuruecksetzen(zOrt, zVorher);
}

void Zellaenderung::redo()
{
    if (zErledigt) {
        zErledigt = false;
        return;
    }
    zFenster->WertZuruecksetzen(zOrt, zNachher);
}
