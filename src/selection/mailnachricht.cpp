#include "mailnachricht.h"

#include <QRandomGenerator>
#include <QUrl>

#include <cstdlib>

QString MailNachricht::Einzeilig(const QString& wert)
{
    QString ergebnis;
    ergebnis.reserve(wert.size());
    for (const QChar c : wert) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029)
            continue;
        ergebnis.append(c);
    }
    return ergebnis;
}

bool MailNachricht::druckbaresAscii(const QString& wert)
{
    for (const QChar c : wert)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

QByteArray MailNachricht::Kopfzeile(const char* name, const QString& wert)
{
    return QByteArray(name) + ": " + Einzeilig(wert).toUtf8();
}

QByteArray MailNachricht::TextKopfzeile(const char* name, const QString& wert)
{
    const QString sauber = Einzeilig(wert);
    const QByteArray kopf = QByteArray(name) + ": ";
    if (druckbaresAscii(sauber) && !sauber.contains(QStringLiteral("=?"))
        && kopf.size() + sauber.size() <= 78)
        return kopf + sauber.toLatin1();

    // Each encoded word "=?UTF-8?B?...?=" has at most 75 characters and each line at most 76:
    // the first line also carries the name, the others a folding blank. n bytes of UTF-8 take
    // 4 * ceil(n / 3) Base64 characters.
    const auto hoechstens = [](qsizetype platz) {
        return qMax<qsizetype>(4, (qMin<qsizetype>(platz, 75) - 12) / 4 * 3);
    };
    QList<QByteArray> woerter;
    QByteArray stueck;
    qsizetype grenze = hoechstens(76 - kopf.size());
    const QList<uint> zeichen = sauber.toUcs4();
    for (const uint z : zeichen) {
        const QByteArray bytes
            = QString::fromUcs4(reinterpret_cast<const char32_t*>(&z), 1).toUtf8();
        if (!stueck.isEmpty() && stueck.size() + bytes.size() > grenze) {
            woerter << stueck;
            stueck.clear();
            grenze = hoechstens(76 - 1);
        }
        stueck += bytes;
    }
    if (!stueck.isEmpty() || woerter.isEmpty())
        woerter << stueck;
    QByteArray zeile = kopf;
    for (qsizetype i = 0; i < woerter.size(); ++i) {
        if (i > 0)
            zeile += "\r\n ";
        zeile += "=?UTF-8?B?" + woerter[i].toBase64() + "?=";
    }
    return zeile;
}

QByteArray MailNachricht::DatumKopfzeile(const QDateTime& zeit)
{
    static const char* const tage[] = { "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun" };
    static const char* const monate[]
        = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
    const QDate d = zeit.date();
    const QTime t = zeit.time();
    const int abstand = zeit.offsetFromUtc();
    const int betrag = std::abs(abstand);
    return "Date: "
        + QString::asprintf("%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", tage[d.dayOfWeek() - 1],
            d.day(), monate[d.month() - 1], d.year(), t.hour(), t.minute(), t.second(),
            abstand < 0 ? '-' : '+', betrag / 3600, betrag % 3600 / 60)
              .toLatin1();
}

QByteArray MailNachricht::KennungKopfzeile(const QString& absender)
{
    const QString sauber = Einzeilig(absender).trimmed();
    const qsizetype at = sauber.lastIndexOf(u'@');
    QByteArray rechner;
    if (at >= 0) {
        QString domain = sauber.mid(at + 1);
        if (domain.endsWith(u'>'))
            domain.chop(1);
        const QByteArray ace = QUrl::toAce(domain);
        for (const char c : ace)
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '-' || c == '.')
                rechner += c;
        while (rechner.startsWith('.'))
            rechner.remove(0, 1);
        while (rechner.endsWith('.'))
            rechner.chop(1);
    }
    if (rechner.isEmpty())
        rechner = "localhost";
    quint32 zufall[4];
    QRandomGenerator::system()->fillRange(zufall);
    const QByteArray links
        = QByteArray(reinterpret_cast<const char*>(zufall), sizeof zufall).toHex();
    return "Message-ID: <" + links + '@' + rechner + '>';
}

QByteArray MailNachricht::AnhangKopfzeile(const QString& dateiName)
{
    const QString sauber = Einzeilig(dateiName);
    QByteArray zeile = "Content-Disposition: attachment; ";
    if (druckbaresAscii(sauber)) {
        QByteArray name = sauber.toLatin1();
        name.replace('\\', "\\\\").replace('"', "\\\"");
        return zeile + "filename=\"" + name + '"';
    }
    // attr-char of RFC 2231: letters, digits and !#$&+-.^_`|~ stay, the rest is %XX.
    return zeile + "filename*=UTF-8''" + QUrl::toPercentEncoding(sauber, "!#$&+^`|");
}
