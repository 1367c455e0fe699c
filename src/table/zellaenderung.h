#pragma once

#include "kursfenster.h"

#include <QUndoCommand>

// One stored change of a cell as a step of the course window's undo history: the value
// before and after, at a place that holds however the columns are moved meanwhile. The
// window has carried out the change when the step is made, so the first redo() (QUndoStack
// calls it on push) does nothing; every later undo() and redo() sets the stored value
// through the window, which shows it, counts it and writes it to the recovery journal.
// A paste is one step: a parent command whose children are the pasted cells.
class Zellaenderung : public QUndoCommand {
public:
    Zellaenderung(Kursfenster* fenster, const Kursfenster::Zellort& ort, const QString& vorher,
        const QString& nachher, QUndoCommand* parent = nullptr);

    void undo() override;
    void redo() override;

    const Kursfenster::Zellort& Ort() const { return zOrt; }
    QString Vorher() const { return zVorher; }
    QString Nachher() const { return zNachher; }

private:
    Kursfenster* zFenster;
    Kursfenster::Zellort zOrt;
    QString zVorher;
    QString zNachher;
    bool zErledigt = true; // carried out by the window before the step was pushed
};
