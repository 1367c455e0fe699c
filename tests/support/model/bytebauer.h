#pragma once

#include "hilfsmittel.h"

#include <QByteArray>
#include <QString>

// Writes file fields by hand, independent of the model's writer, so that tests can state
// a byte layout field by field.
struct ByteBauer {
    QByteArray b;

    ByteBauer& Bool(bool wert)
    {
        b.append(char(wert ? 1 : 0));
        return *this;
    }
    ByteBauer& Int16(int wert)
    {
        b.append(char((wert >> 8) & 0xFF)).append(char(wert & 0xFF));
        return *this;
    }
    ByteBauer& Int32(qint32 wert)
    {
        for (int s = 24; s >= 0; s -= 8)
            b.append(char((wert >> s) & 0xFF));
        return *this;
    }
    ByteBauer& PString(const QString& text)
    {
        const QByteArray u = text.toUtf8();
        b.append(char(u.size())).append(u);
        return *this;
    }
    ByteBauer& Verschluesselt(const QString& text) { return PString(Hilfsmittel::Chiffre(text)); }
    // A set as stored: Int16 byte length, then the text unchanged.
    ByteBauer& Menge(const QString& text)
    {
        const QByteArray u = text.toUtf8();
        Int16(int(u.size()));
        b.append(u);
        return *this;
    }
};
