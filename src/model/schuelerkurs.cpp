#include "schuelerkurs.h"

#include "datenbestand.h"
#include "dateileser.h"
#include "dateischreiber.h"

SchuelerKurs::SchuelerKurs(const QString& fachKuerzel, qint64 id)
    : FachKuerzel(fachKuerzel), ID(id), Eintraege(Daten.alleEintraege.ErzeugeKursEintraege())
{
}

SchuelerKurs::SchuelerKurs(DateiLeser& leser, qint64 hoechstensEintraege)
{
    FachKuerzel = leser.LesePString("SchuelerKurs.FachKuerzel");
    ID = leser.LeseInt32();
    Eintraege = KursEintraege(leser, hoechstensEintraege);
}

void SchuelerKurs::Speichern(DateiSchreiber& schreiber) const
{
    schreiber.SchreibePString(FachKuerzel, QStringLiteral("SchuelerKurs.FachKuerzel"));
    schreiber.SchreibeInt32(ID);
    Eintraege.Speichern(schreiber);
}

std::shared_ptr<SchuelerKurs> SchuelerKurs::Clone() const
{
    auto kopie = std::make_shared<SchuelerKurs>(FachKuerzel, ID);
    kopie->Eintraege = Eintraege.Clone();
    return kopie;
}
