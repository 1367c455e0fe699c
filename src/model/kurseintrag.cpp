#include "kurseintrag.h"

#include "dateileser.h"
#include "dateischreiber.h"

KursEintrag::KursEintrag(const QString& id, const QString& bezeichnung, const QString& datum_)
    : datum(datum_)
    , ID(id)
    , Bezeichnung(bezeichnung)
{
}

KursEintrag::KursEintrag(DateiLeser& leser)
{
    ID = leser.LesePString("KursEintrag.ID");
    Bezeichnung = leser.LesePString("KursEintrag.Bezeichnung");
    datum = leser.LesePString("KursEintrag.datum");
}

void KursEintrag::Speichern(DateiSchreiber& schreiber) const
{
    schreiber.SchreibePString(ID, QStringLiteral("KursEintrag.ID"));
    schreiber.SchreibePString(Bezeichnung, QStringLiteral("KursEintrag.Bezeichnung"));
    schreiber.SchreibePString(datum, QStringLiteral("KursEintrag.datum"));
}
