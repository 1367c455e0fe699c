#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The header lines of the result mail, built without a connection. Every value passes through
// Einzeilig first, so no value can end a header line and start another one.
class MailNachricht {
public:
    // The value without carriage returns, line feeds or any other control character (C0, DEL,
    // C1 including NEL, and the Unicode line and paragraph separators).
    static QString Einzeilig(const QString& wert);

    // "<name>: <value>" with the value unchanged (addresses; UTF-8 where it is not ASCII).
    static QByteArray Kopfzeile(const char* name, const QString& wert);

    // "<name>: <value>" for free text: printable ASCII stays as it is; anything else (umlauts,
    // a value containing "=?", a line that would grow past 78 characters) becomes a sequence
    // of MIME encoded-words (UTF-8, Base64), each at most 75 characters long, never splitting
    // a character, folded onto continuation lines.
    static QByteArray TextKopfzeile(const char* name, const QString& wert);

    // "Date: " with the time in the form of internet mail, e.g. "Tue, 10 Dec 2024 14:03:59 +0100".
    static QByteArray DatumKopfzeile(const QDateTime& zeit);

    // "Message-ID: <random@host>", host taken from the sender's address (ASCII form of an
    // international domain name), "localhost" when the address has no valid domain.
    static QByteArray KennungKopfzeile(const QString& absender);

    // "Content-Disposition: attachment; filename=..." for the attachment: a quoted file name
    // when it is printable ASCII, otherwise the UTF-8 form of RFC 2231 (filename*=UTF-8''...).
    static QByteArray AnhangKopfzeile(const QString& dateiName);

private:
    static bool druckbaresAscii(const QString& wert);
};
