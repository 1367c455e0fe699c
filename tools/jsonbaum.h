#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A JSON text read into a flat list of nodes that point into the text: no value is made until
// it is asked for. Reading a course-list's JSON of some megabytes this way takes a fraction of
// the time and memory a QJsonDocument takes.
//
// What it reads is JSON as QJsonDocument reads it. A text it does not take as it is (a syntax
// error, bytes that are no UTF-8, a control character or a lone surrogate in a string, a
// number out of range, an object with a key twice, deep nesting) goes through QJsonDocument:
// its error is the error, and what it accepts is read in the form it writes.
class JsonBaum {
public:
    enum class Art : quint8 { Objekt, Liste, Text, Zahl, Wahr, Falsch, Null };

    struct Knoten {
        Art art = Art::Null;
        bool mitEscape = false; // a text (or key) holding backslash escapes
        bool schluesselMitEscape = false;
        quint32 anzahl = 0; // members of an object, elements of a list
        quint32 ende = 0; // the index after this node's last descendant
        quint32 anfang = 0, laenge = 0; // a text's bytes between its quotes
        quint32 schluesselAnfang = 0, schluesselLaenge = 0; // an object member's key
        double zahl = 0;
    };

    // A node of the tree (an invalid one for a member or element that is not there).
    class Wert {
    public:
        Wert() = default;
        bool gueltig() const { return zBaum != nullptr; }
        Art art() const;
        bool istObjekt() const { return gueltig() && art() == Art::Objekt; }
        bool istListe() const { return gueltig() && art() == Art::Liste; }
        bool istText() const { return gueltig() && art() == Art::Text; }
        bool istZahl() const { return gueltig() && art() == Art::Zahl; }
        bool istWahrheitswert() const
        {
            return gueltig() && (art() == Art::Wahr || art() == Art::Falsch);
        }
        bool wahr() const { return gueltig() && art() == Art::Wahr; }
        double zahl() const;
        QString text() const;
        // Object: the number of members; list: the number of elements.
        qsizetype anzahl() const;
        // The member with the key, or an invalid node.
        Wert feld(const QString& schluessel) const;
        // The element at position i of a list.
        Wert element(qsizetype i) const;
        // The keys of an object, in their order.
        QList<QString> schluessel() const;

    private:
        friend class JsonBaum;
        Wert(const JsonBaum* baum, quint32 index)
            : zBaum(baum)
            , zIndex(index)
        {
        }
        const Knoten& knoten() const;
        const JsonBaum* zBaum = nullptr;
        quint32 zIndex = 0;
    };

    // Reads the text (without a byte order mark). On failure, fehler is QJsonDocument's error
    // and fehlerStelle its byte offset.
    bool Lesen(QByteArray text, int& fehler, qsizetype& fehlerStelle);
    Wert Wurzel() const { return Wert(this, 0); }
    // The text read (after a failure: the text QJsonDocument read, for the error's place).
    const QByteArray& Text() const { return zText; }

private:
    // nachQt: the text is QJsonDocument's own writing of what it read (no key twice).
    bool Schnell(bool nachQt);
    QString Dekodieren(quint32 anfang, quint32 laenge, bool mitEscape) const;

    QByteArray zText;
    QList<Knoten> zKnoten;
    // The node indexes of every list's elements, one list after the other (a list node's
    // anfang is where its own begin).
    QList<quint32> zElemente;
};
