#pragma once

#include <QSet>
#include <QString>

class DateiLeser;
class DateiSchreiber;

// A small set of short texts kept as one comma-delimited text with a comma at both ends:
// the empty set is ",", a set holding 12 and 7 is ",12,7,". Elements compare without
// regard to letter case. The text is stored unchanged in our files.
class Menge {
public:
    Menge();
    explicit Menge(const QString& text); // normalised
    // Int16 byte length, then the bytes; normalised. feld names the set in the reader's
    // report of a text that is no valid UTF-8.
    explicit Menge(DateiLeser& leser, const char* feld = "Menge");

    void Einfuegen(const QString& element);
    void Einfuegen(qint64 zahl);
    bool Enthalten(const QString& element) const;
    bool Enthalten(qint64 zahl) const;
    void Entnehmen(const QString& element);
    void Entnehmen(qint64 zahl);
    Menge Clone() const { return *this; }
    qint64 Anzahl() const;
    void Setzen(const QString& text);
    QString Element(qint64 i) const; // counted from 1; outside 1..Anzahl: empty
    bool Leer() const;
    void MengeEntnehmen(const Menge& andere);
    void Schnitt(const Menge& andere);
    void MengeEinfuegen(const Menge& andere);
    void Leeren();
    QString Ausgeben() const { return zElemente; }
    // The numbers whose decimal text is an element: Enthalten(n) is true exactly for these.
    // For asking about many numbers in a loop (a course's students).
    QSet<qint64> Zahlen() const;

    // feld names the set in the message when its text is too long for the format.
    void Speichern(DateiSchreiber& schreiber, const QString& feld = QStringLiteral("Menge")) const;

    bool operator==(const Menge& andere) const { return zElemente == andere.zElemente; }

private:
    QString zElemente;
};
