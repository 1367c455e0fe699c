#include "note.h"

#include "dateileser.h"
#include "dateischreiber.h"

Note::Note(
    const QString& kuerzel, const QString& bezeichnung, qint64 alsWert, const QString& punkte)
    : Kuerzel(kuerzel)
    , Bezeichnung(bezeichnung)
    , AlsWert(alsWert)
    , Punkte(punkte)
{
}

Note::Note(DateiLeser& leser)
{
    Kuerzel = leser.LesePString("Note.Kuerzel");
    Bezeichnung = leser.LesePString("Note.Bezeichnung");
    Punkte = leser.LesePString("Note.Punkte");
    AlsWert = leser.LeseInt16();
}

void Note::Speichern(DateiSchreiber& schreiber) const
{
    schreiber.SchreibePString(Kuerzel, QStringLiteral("Note.Kuerzel"));
    schreiber.SchreibePString(Bezeichnung, QStringLiteral("Note.Bezeichnung"));
    schreiber.SchreibePString(Punkte, QStringLiteral("Note.Punkte"));
    schreiber.SchreibeInt16(AlsWert);
}
