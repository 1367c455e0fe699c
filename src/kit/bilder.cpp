#include "bilder.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#ifdef RAVIRIRERU_MIT_SVG
#include <QSvgRenderer>
#endif

namespace {

#ifdef RAVIRIRERU_MIT_SVG
QString SvgName(const QString& name)
{
    return QStringLiteral(":/bilder/") + name + QStringLiteral(".svg");
}
#else

// The rendered sizes of a picture, smallest first: ":/bilder/png/<name>-<size>.png".
QStringList PngNamen(const QString& name)
{
    QDir ordner(QStringLiteral(":/bilder/png"));
    QStringList namen = ordner.entryList({ name + QStringLiteral("-*.png") }, QDir::Files);
    std::sort(namen.begin(), namen.end(), [&name](const QString& a, const QString& b) {
        const auto groesse
            = [&name](const QString& n) { return n.mid(name.size() + 1).chopped(4).toInt(); };
        return groesse(a) < groesse(b);
    });
    for (QString& n : namen)
        n.prepend(ordner.path() + QLatin1Char('/'));
    return namen;
}
#endif

} // namespace

QIcon Bildsymbol(const QString& name)
{
#ifdef RAVIRIRERU_MIT_SVG
    return QIcon(SvgName(name));
#else
    QIcon symbol;
    for (const QString& png : PngNamen(name))
        symbol.addFile(png);
    return symbol;
#endif
}

void BildZeichnen(QPainter& maler, const QString& name, const QRectF& ziel)
{
#ifdef RAVIRIRERU_MIT_SVG
    QSvgRenderer bild(SvgName(name));
    if (bild.isValid())
        bild.render(&maler, ziel);
#else
    // The largest rendering, scaled down smoothly to the device's pixels.
    const QStringList namen = PngNamen(name);
    if (namen.isEmpty())
        return;
    const QPixmap bild(namen.last());
    maler.save();
    maler.setRenderHint(QPainter::SmoothPixmapTransform);
    maler.drawPixmap(ziel, bild, QRectF(bild.rect()));
    maler.restore();
#endif
}
