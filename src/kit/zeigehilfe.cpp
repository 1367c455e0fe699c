#include "zeigehilfe.h"

#include "hilfefenster.h"
#include "plattform.h"

#ifndef RAVIRIRERU_HILFE_BASIS
#define RAVIRIRERU_HILFE_BASIS ""
#endif

namespace Hilfsmittel {

namespace {

QString MitSchraegstrich(QString text)
{
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('/')))
        text.append(QLatin1Char('/'));
    return text;
}

QUrl Adresse(const QString& basis, const QString& seite, const QString& anker)
{
    QUrl adresse(MitSchraegstrich(basis)
        + (seite.isEmpty() ? QStringLiteral("index.html") : seite + QStringLiteral(".html")));
    if (!anker.isEmpty())
        adresse.setFragment(anker);
    return adresse;
}

const QString EigeneSeiten = QStringLiteral("qrc:/hilfe/");

} // namespace

QUrl HilfeAdresse(const QString& seite, const QString& anker)
{
    const QString basis = QString::fromUtf8(RAVIRIRERU_HILFE_BASIS);
    return Adresse(basis.isEmpty() ? EigeneSeiten : basis, seite, anker);
}

void ZeigeHilfe(const QString& seite, const QString& anker)
{
    const QUrl adresse = HilfeAdresse(seite, anker);
    if (adresse.scheme() == QLatin1String("qrc") || adresse.isLocalFile()
        || !Plattform::aktuell().UrlOeffnen(adresse))
        Hilfefenster::Zeigen(Adresse(EigeneSeiten, seite, anker));
}

} // namespace Hilfsmittel
