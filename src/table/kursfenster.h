#pragma once

#include "kurs.h"
#include "nachrichtenfenster.h"

// The course window: one course's grade table.
// Contract used by the other windows (the rest of the class is the window's own business):
class Kursfenster : public Nachrichtenfenster {
    Q_OBJECT
public:
    explicit Kursfenster(KursZeiger kurs, QWidget* parent = nullptr);
    ~Kursfenster() override;
};
