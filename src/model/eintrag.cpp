#include "eintrag.h"

#include "dateileser.h"
#include "dateischreiber.h"

Eintrag::Eintrag(const QString& id, const QString& bezeichnung)
    : Bezeichnung(bezeichnung)
    , ID(id)
{
}

Eintrag::Eintrag(DateiLeser& leser)
{
    ID = leser.LesePString("Eintrag.ID");
    Bezeichnung = leser.LesePString("Eintrag.Bezeichnung");
}

void Eintrag::Speichern(DateiSchreiber& schreiber) const
{
    schreiber.SchreibePString(ID, QStringLiteral("Eintrag.ID"));
    schreiber.SchreibePString(Bezeichnung, QStringLiteral("Eintrag.Bezeichnung"));
}
