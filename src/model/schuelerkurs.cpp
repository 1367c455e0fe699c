#include "schuelerkurs.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "datenbestand.h"

SchuelerKurs::SchuelerKurs(const QString& fachKuerzel, qint64 id)
    : FachKuerzel(fachKuerzel)
    , ID(id)
    , Eintraege(Daten.alleEintraege.ErzeugeKursEintraege())
{
}

SchuelerKurs::SchuelerKurs(DateiLeser& leser, qint64 hoechstensEintraege)
    : FachKuerzel(leser.LesePString("SchuelerKurs.FachKuerzel"))
    , ID(leser.LeseInt32())
    , Eintraege(leser, hoechstensEintraege)
{
}

void SchuelerKurs::Speichern(DateiSchreiber& schreiber) const
{
    schreiber.SchreibePString(FachKuerzel, QStringLiteral("SchuelerKurs.FachKuerzel"));
    schreiber.SchreibeInt32(ID);
    Eintraege.Speichern(schreiber);
}

std::shared_ptr<SchuelerKurs> SchuelerKurs::Clone() const
{
    // The same as a new row of this key whose entries are then replaced by a copy of these
    // (KursEintraege is a value: a change to either copy leaves the other as it is), without
    // making the fresh entries first.
    return std::make_shared<SchuelerKurs>(*this);
}
