#pragma once

#include "bildfenster.h"

class QTimer;

// The splash window at a start without document: shown modally, it closes itself after
// 15 seconds or at a click.
class SplashScreen : public Bildfenster {
    Q_OBJECT
public:
    explicit SplashScreen(QWidget* parent = nullptr);

    QTimer* SchliessTimer = nullptr;

protected:
    void showEvent(QShowEvent* ereignis) override;
    void Geklickt() override;
};
