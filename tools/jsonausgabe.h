#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes JSON text in the order the caller gives, pretty-printed with four blanks of
// indentation, as UTF-8. QJsonObject sorts its keys; our output keeps the order of the
// file so that a reader can follow the file field by field.
// An object or list opened "einzeilig" is written on one line with everything inside it
// (used for the small records such as a student or a grade).
class JsonAusgabe {
public:
    void ObjektBeginn(bool einzeilig = false);
    void ObjektEnde();
    void ListeBeginn(bool einzeilig = false);
    void ListeEnde();
    // The key of the next value inside an object.
    void Schluessel(const QString& name);

    void Text(const QString& wert);
    void Zahl(qint64 wert);
    void Wahrheitswert(bool wert);

    // Key and value in one call.
    void Text(const QString& name, const QString& wert);
    void Zahl(const QString& name, qint64 wert);
    void Wahrheitswert(const QString& name, bool wert);

    // The text written so far, ending with a line break once the outermost value is closed.
    QByteArray Ergebnis() const { return zText; }

    // The JSON form of a text, quotes included.
    static QByteArray Zitiert(const QString& wert);

private:
    struct Ebene {
        bool istObjekt;
        bool einzeilig;
        int anzahl;
    };

    void VorWert();
    void Oeffnen(char zeichen, bool istObjekt, bool einzeilig);
    void Schliessen(char zeichen);
    void NeueZeile(qsizetype tiefe);

    QByteArray zText;
    QList<Ebene> zEbenen;
    bool zNachSchluessel = false;
};
