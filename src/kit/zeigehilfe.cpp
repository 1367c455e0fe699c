#include "zeigehilfe.h"

#include "plattform.h"

#include <QDir>

#ifndef RAVIRIRERU_HILFE_BASIS
#define RAVIRIRERU_HILFE_BASIS ""
#endif
#ifndef RAVIRIRERU_HILFE_QUELLE
#define RAVIRIRERU_HILFE_QUELLE ""
#endif

namespace Hilfsmittel {

namespace {

QString MitSchraegstrich(QString text)
{
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('/')))
        text.append(QLatin1Char('/'));
    return text;
}

} // namespace

QUrl HilfeAdresse(const QString& seite)
{
    const QString datei
        = seite.isEmpty() ? QStringLiteral("index.html") : seite + QStringLiteral(".html");
    const QString basis = MitSchraegstrich(QString::fromUtf8(RAVIRIRERU_HILFE_BASIS));
    const QUrl basisAdresse(basis);
    if (basisAdresse.isLocalFile() || basis.isEmpty()) {
        QString ordner = basisAdresse.toLocalFile();
        if (ordner.isEmpty() || !QDir(ordner).exists())
            ordner = QString::fromUtf8(RAVIRIRERU_HILFE_QUELLE);
        return QUrl::fromLocalFile(MitSchraegstrich(ordner) + datei);
    }
    return QUrl(basis + datei);
}

void ZeigeHilfe(const QString& seite)
{
    Plattform::aktuell().UrlOeffnen(HilfeAdresse(seite));
}

} // namespace Hilfsmittel
