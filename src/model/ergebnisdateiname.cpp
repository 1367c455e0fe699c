#include "ergebnisdateiname.h"

#include "sichererdateiname.h"

#include <QDir>
#include <QFileInfo>

QString ErgebnisDateiname::Bereinigt(const QString& name, int hoechstBytes)
{
    return SichererDateiname::Aus(name, SichererDateiname::Ergebnisdatei(hoechstBytes));
}

QString ErgebnisDateiname::Stamm(const QString& rohstamm)
{
    return Bereinigt(rohstamm, HoechstBytes - int(Endung.size()));
}

QString ErgebnisDateiname::Pfad(const QString& gewaehlt)
{
    if (gewaehlt.isEmpty())
        return {};
    // The folder part stays as the dialog gave it (Qt's dialogs use "/" on every platform).
    const qsizetype trenner = gewaehlt.lastIndexOf(u'/');
    const QString ordner = gewaehlt.left(trenner + 1);
    QString stamm = gewaehlt.mid(trenner + 1);
    QString endung = Endung;
    if (stamm.size() > Endung.size() && stamm.endsWith(Endung, Qt::CaseInsensitive)) {
        endung = stamm.right(Endung.size());
        stamm.chop(Endung.size());
    }
    return ordner + Stamm(stamm) + endung;
}

QString ErgebnisDateiname::StammAus(const QString& pfad)
{
    QString name = QFileInfo(pfad).fileName();
    if (name.endsWith(Endung, Qt::CaseInsensitive))
        name.chop(Endung.size());
    return name;
}

QString ErgebnisDateiname::Name(const QString& pfad)
{
    return QFileInfo(pfad).fileName();
}

QString ErgebnisDateiname::Ordner(const QString& pfad)
{
    return QDir::toNativeSeparators(QFileInfo(pfad).absolutePath());
}
