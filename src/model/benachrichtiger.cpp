#include "benachrichtiger.h"

Benachrichtiger& Benachrichtiger::Instanz()
{
    static Benachrichtiger instanz;
    return instanz;
}

void Benachrichtiger::SetzeProgrammEndet(bool endet)
{
    zProgrammEndet = endet;
}
