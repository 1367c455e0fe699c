#include "ueberzelta.h"

UeberZELTA::UeberZELTA(QWidget* parent)
    : Bildfenster(QStringLiteral("ZELTA-Noten"), parent)
{
    setObjectName(QStringLiteral("UeberZELTA"));
    setModal(false);
}

void UeberZELTA::Geklickt()
{
    close();
}
