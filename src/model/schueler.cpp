#include "schueler.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "hilfsmittel.h"

Schueler::Schueler(qint64 id, const QString& name, const QString& guid)
    : ID(id)
    , Name(name)
    , GUID(guid)
{
}

Schueler::Schueler(DateiLeser& leser)
{
    ID = leser.LeseInt32();
    GUID = leser.LesePString("Schueler.GUID");
    Name = leser.LeseVerschluesselt("Schueler.Name");
}

void Schueler::Speichern(DateiSchreiber& schreiber) const
{
    schreiber.SchreibeInt32(ID);
    schreiber.SchreibePString(GUID, QStringLiteral("Schueler.GUID"));
    schreiber.SchreibeVerschluesselt(Name, QStringLiteral("Schueler.Name"));
}
