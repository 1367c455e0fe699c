#include "kleinedatei.h"

#include "bytebauer.h"
#include "hilfsmittel.h"

QByteArray KleineDatei::Bytes() const
{
    ByteBauer b;
    b.Bool(false).Int16(11).Bool(false).Int16(3).PString("Q1").PString("Q1 lang");
    b.Bool(abitur).Bool(klausur).Bool(true).Int16(4).Int16(5).Bool(warnung);
    b.Int16(katalog);
    for (int i = 0; i < katalog; ++i)
        b.PString(QString()).PString(
            i == 0 ? QStringLiteral("Note") : QStringLiteral("E%1").arg(i));
    b.Int16(letzteNote);
    for (int i = 0; i <= letzteNote; ++i)
        b.PString(QString::number(i)).PString("Punkte").PString(QString::number(i)).Int16(i);
    for (const char* geheim : { "pw", "an@x", "von@x", "srv", "usr", "pass" })
        b.Verschluesselt(QString::fromLatin1(geheim));
    b.Int16(schuelerAnzahl);
    if (schuelerAnzahl > 0)
        b.Int32(1).PString("guid").Verschluesselt("Anna");
    b.Int16(1)
        .Bool(true)
        .Bool(false)
        .Bool(false)
        .Verschluesselt("M")
        .Verschluesselt("Mathe")
        .Verschluesselt("LK")
        .Int16(2)
        .Verschluesselt("ABC")
        .Menge(schuelerMenge);
    if (abitur)
        b.Menge(",1,").Menge(",");
    if (klausur)
        b.Menge(",1,");
    if (warnung)
        b.Menge(",");
    const int eintraege = zeilenEintraege >= 0 ? zeilenEintraege : (katalog > 0 ? 1 : 0);
    b.Int16(1).PString("M").Int32(1).Int16(eintraege);
    for (int i = 0; i < eintraege; ++i) {
        if (i == 0)
            b.PString(QString()).PString("Note").PString("10");
        else
            b.PString(QString()).PString(QStringLiteral("E%1").arg(i)).PString(QString());
    }
    b.Int16(0).Int16(0);
    return b.b;
}

QByteArray PStringErsetzen(
    const QByteArray& bytes, const QString& text, bool verschluesselt, const QByteArray& neu)
{
    const QByteArray alt = (verschluesselt ? Hilfsmittel::Chiffre(text) : text).toUtf8();
    const QByteArray feld = char(alt.size()) + alt;
    const qsizetype stelle = bytes.indexOf(feld);
    if (stelle < 0)
        return bytes;
    QByteArray ergebnis = bytes;
    ergebnis.replace(stelle, feld.size(), char(neu.size()) + neu);
    return ergebnis;
}
