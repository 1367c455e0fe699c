#include "sichererdateiname.h"

#include "hilfsmittel.h"

#include <QTextBoundaryFinder>

namespace {

// Control characters and the direction controls that could make a name read otherwise than
// it is (a right-to-left override turning "…exe.zle" around).
bool Steuerzeichen(char32_t u)
{
    return Hilfsmittel::Verdaechtig(u);
}

// The longest start of text that fits hoechstBytes of UTF-8 and ends between two graphemes
// (so a letter keeps its combining accent and a surrogate pair stays whole).
QString Kuerzen(const QString& text, int hoechstBytes)
{
    if (text.toUtf8().size() <= hoechstBytes)
        return text;
    QTextBoundaryFinder grenzen(QTextBoundaryFinder::Grapheme, text);
    qsizetype passt = 0;
    qsizetype bytes = 0;
    qsizetype vorher = 0;
    for (qsizetype stelle = grenzen.toNextBoundary(); stelle > 0;
         stelle = grenzen.toNextBoundary()) {
        bytes += QStringView(text).mid(vorher, stelle - vorher).toUtf8().size();
        if (bytes > hoechstBytes)
            break;
        passt = stelle;
        vorher = stelle;
    }
    return text.left(passt);
}

// The names Windows keeps for its devices, in any letter case and with any extension
// ("con.txt", "NUL .zle"): a file of that name cannot be made there, nor on a stick from there.
bool Geraetename(const QString& name)
{
    static const QStringList namen = [] {
        QStringList n { QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
            QStringLiteral("NUL") };
        for (const QString& art : { QStringLiteral("COM"), QStringLiteral("LPT") }) {
            for (const QChar ziffer : QStringLiteral("123456789\u00b9\u00b2\u00b3"))
                n.append(art + ziffer);
        }
        return n;
    }();
    QString stamm = name.section(u'.', 0, 0);
    while (stamm.endsWith(u' '))
        stamm.chop(1);
    return namen.contains(stamm, Qt::CaseInsensitive);
}

} // namespace

// Every rule refuses what Windows and the FAT and exFAT file systems of USB sticks refuse, as
// teachers carry their files between systems.
const QString SichererDateiname::WindowsVerboten = QStringLiteral(":*?\"<>|");

SichererDateiname::Regel SichererDateiname::Ergebnisdatei(int hoechstBytes)
{
    Regel regel;
    regel.ersatz = u'_';
    regel.auchVerboten = WindowsVerboten;
    regel.punktVorneErsetzen = true;
    regel.halbeZeichenErsetzen = true;
    regel.hoechstBytes = qMax(1, hoechstBytes);
    regel.leer = QStringLiteral("_");
    return regel;
}

SichererDateiname::Regel SichererDateiname::Druckdatei()
{
    Regel regel;
    regel.ersatz = u'-';
    regel.auchVerboten = WindowsVerboten;
    regel.raenderWeg = true;
    return regel;
}

QString SichererDateiname::Aus(const QString& text, const Regel& regel)
{
    QString name;
    name.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            name.append(c);
            name.append(text.at(++i));
        } else if (c.isSurrogate() && regel.halbeZeichenErsetzen) {
            name.append(QChar(0xFFFD));
        } else {
            const bool verboten = c == u'/' || c == u'\\' || Steuerzeichen(c.unicode())
                || regel.auchVerboten.contains(c);
            name.append(verboten ? regel.ersatz : c);
        }
    }
    if (regel.raenderWeg) {
        qsizetype anfang = 0;
        qsizetype ende = name.size();
        const auto rand = [](QChar c) { return c.isSpace() || c == u'.'; };
        while (anfang < ende && rand(name.at(anfang)))
            ++anfang;
        while (ende > anfang && rand(name.at(ende - 1)))
            --ende;
        name = name.mid(anfang, ende - anfang);
    }
    if (regel.punktVorneErsetzen && name.startsWith(u'.'))
        name[0] = regel.ersatz;
    if (Geraetename(name))
        name.prepend(regel.ersatz);
    if (regel.hoechstBytes > 0)
        name = Kuerzen(name, regel.hoechstBytes);
    return name.isEmpty() ? regel.leer : name;
}
