#include "dateischreiber.h"

#include "hilfsmittel.h"

#include <QIODevice>

DateiSchreiber::DateiSchreiber(QIODevice& geraet) : zGeraet(geraet) {}

void DateiSchreiber::Fehler(const QString& meldung)
{
    if (zFehler.isEmpty())
        zFehler = meldung;
}

void DateiSchreiber::Schreibe(const char* daten, qint64 anzahl)
{
    if (!ok() || anzahl == 0)
        return;
    if (zGeraet.write(daten, anzahl) != anzahl)
        Fehler(QStringLiteral("Schreibfehler: %1").arg(zGeraet.errorString()));
}

void DateiSchreiber::SchreibeBoolean(bool wert)
{
    const char b = wert ? 1 : 0;
    Schreibe(&b, 1);
}

void DateiSchreiber::SchreibeInt16(qint64 wert)
{
    const auto u = static_cast<quint16>(static_cast<quint64>(wert) & 0xFFFFu);
    const char b[2] = {static_cast<char>(u >> 8), static_cast<char>(u & 0xFF)};
    Schreibe(b, 2);
}

void DateiSchreiber::SchreibeInt32(qint64 wert)
{
    const auto u = static_cast<quint32>(static_cast<quint64>(wert) & 0xFFFFFFFFu);
    const char b[4] = {static_cast<char>(u >> 24), static_cast<char>((u >> 16) & 0xFF),
                       static_cast<char>((u >> 8) & 0xFF), static_cast<char>(u & 0xFF)};
    Schreibe(b, 4);
}

void DateiSchreiber::SchreibePString(const QString& text, const QString& feld)
{
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() > 255) {
        Fehler(QStringLiteral("Der Text im Feld %1 ist mit %2 Bytes zu lang (höchstens 255 Bytes).")
                   .arg(feld)
                   .arg(utf8.size()));
        return;
    }
    const char n = static_cast<char>(static_cast<unsigned char>(utf8.size()));
    Schreibe(&n, 1);
    Schreibe(utf8.constData(), utf8.size());
}

void DateiSchreiber::SchreibeVerschluesselt(const QString& text, const QString& feld)
{
    if (!Hilfsmittel::ChiffreMoeglich(text)) {
        Fehler(QStringLiteral("Der Text im Feld %1 enthält Zeichen, die nicht verschlüsselt werden können.")
                   .arg(feld));
        return;
    }
    SchreibePString(Hilfsmittel::Chiffre(text), feld);
}

void DateiSchreiber::SchreibeBytes(const QByteArray& bytes)
{
    Schreibe(bytes.constData(), bytes.size());
}
