#pragma once

#include "bildfenster.h"

// The about window (menu "Über RAVIRIreru..."): shown without blocking, closes at a click.
class UeberZELTA : public Bildfenster {
    Q_OBJECT
public:
    explicit UeberZELTA(QWidget* parent = nullptr);

protected:
    void Geklickt() override;
};
