#include "splashscreen.h"

#include <QTimer>

SplashScreen::SplashScreen(QWidget* parent)
    : Bildfenster(QStringLiteral("ZELTA Noten"), parent)
{
    setObjectName(QStringLiteral("SplashScreen"));
    SchliessTimer = new QTimer(this);
    SchliessTimer->setObjectName(QStringLiteral("SchliessTimer"));
    SchliessTimer->setSingleShot(true);
    SchliessTimer->setInterval(15000);
    connect(SchliessTimer, &QTimer::timeout, this, [this] { close(); });
}

void SplashScreen::showEvent(QShowEvent* ereignis)
{
    Bildfenster::showEvent(ereignis);
    SchliessTimer->start();
}

void SplashScreen::Geklickt()
{
    SchliessTimer->stop();
    close();
}
