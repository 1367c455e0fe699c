#include "jsonausgabe.h"

void JsonAusgabe::NeueZeile(qsizetype tiefe)
{
    zText += '\n';
    zText += QByteArray(tiefe * 4, ' ');
}

// Separator and indentation before a value (or before a key inside an object).
void JsonAusgabe::VorWert()
{
    if (zNachSchluessel) {
        zNachSchluessel = false;
        return;
    }
    if (zEbenen.isEmpty())
        return;
    Ebene& ebene = zEbenen.last();
    if (ebene.anzahl > 0)
        zText += ',';
    if (ebene.einzeilig) {
        if (ebene.anzahl > 0 || ebene.istObjekt)
            zText += ' ';
    } else {
        NeueZeile(zEbenen.size());
    }
    ++ebene.anzahl;
}

void JsonAusgabe::Oeffnen(char zeichen, bool istObjekt, bool einzeilig)
{
    VorWert();
    zText += zeichen;
    const bool aussenEinzeilig = !zEbenen.isEmpty() && zEbenen.last().einzeilig;
    zEbenen.append({ istObjekt, einzeilig || aussenEinzeilig, 0 });
}

void JsonAusgabe::Schliessen(char zeichen)
{
    Q_ASSERT(!zEbenen.isEmpty());
    const Ebene ebene = zEbenen.takeLast();
    if (ebene.anzahl > 0) {
        if (ebene.einzeilig) {
            if (ebene.istObjekt)
                zText += ' ';
        } else {
            NeueZeile(zEbenen.size());
        }
    }
    zText += zeichen;
    if (zEbenen.isEmpty())
        zText += '\n';
}

void JsonAusgabe::ObjektBeginn(bool einzeilig)
{
    Oeffnen('{', true, einzeilig);
}
void JsonAusgabe::ObjektEnde()
{
    Schliessen('}');
}
void JsonAusgabe::ListeBeginn(bool einzeilig)
{
    Oeffnen('[', false, einzeilig);
}
void JsonAusgabe::ListeEnde()
{
    Schliessen(']');
}

void JsonAusgabe::Schluessel(const QString& name)
{
    Q_ASSERT(!zEbenen.isEmpty() && zEbenen.last().istObjekt);
    VorWert();
    zText += Zitiert(name);
    zText += ": ";
    zNachSchluessel = true;
}

void JsonAusgabe::Text(const QString& wert)
{
    VorWert();
    zText += Zitiert(wert);
}

void JsonAusgabe::Zahl(qint64 wert)
{
    VorWert();
    zText += QByteArray::number(wert);
}

void JsonAusgabe::Wahrheitswert(bool wert)
{
    VorWert();
    zText += wert ? "true" : "false";
}

void JsonAusgabe::Text(const QString& name, const QString& wert)
{
    Schluessel(name);
    Text(wert);
}

void JsonAusgabe::Zahl(const QString& name, qint64 wert)
{
    Schluessel(name);
    Zahl(wert);
}

void JsonAusgabe::Wahrheitswert(const QString& name, bool wert)
{
    Schluessel(name);
    Wahrheitswert(wert);
}

QByteArray JsonAusgabe::Zitiert(const QString& wert)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray ergebnis;
    ergebnis.reserve(wert.size() + 2);
    ergebnis += '"';
    auto escape = [&](char16_t c) {
        ergebnis += "\\u";
        ergebnis += hex[(c >> 12) & 0xF];
        ergebnis += hex[(c >> 8) & 0xF];
        ergebnis += hex[(c >> 4) & 0xF];
        ergebnis += hex[c & 0xF];
    };
    // Runs of ordinary characters are converted in one piece.
    const QStringView ansicht(wert);
    qsizetype lauf = 0;
    auto laufAnhaengen = [&](qsizetype bis) {
        if (bis > lauf)
            ergebnis += ansicht.mid(lauf, bis - lauf).toUtf8();
    };
    const qsizetype n = wert.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = wert.at(i).unicode();
        const char* ersatz = nullptr;
        switch (c) {
        case u'"':
            ersatz = "\\\"";
            break;
        case u'\\':
            ersatz = "\\\\";
            break;
        case u'\b':
            ersatz = "\\b";
            break;
        case u'\f':
            ersatz = "\\f";
            break;
        case u'\n':
            ersatz = "\\n";
            break;
        case u'\r':
            ersatz = "\\r";
            break;
        case u'\t':
            ersatz = "\\t";
            break;
        default:
            break;
        }
        if (ersatz) {
            laufAnhaengen(i);
            ergebnis += ersatz;
            lauf = i + 1;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n
            && QChar::isLowSurrogate(wert.at(i + 1).unicode())) {
            ++i; // a valid pair stays in the run
        } else if (c < 0x20 || QChar::isSurrogate(c) || c == 0xFEFF) {
            // Control characters, lone surrogates (which have no UTF-8 form) and U+FEFF
            // (which a UTF-8 reader may take for a byte order mark and drop) as escapes.
            laufAnhaengen(i);
            escape(c);
            lauf = i + 1;
        }
    }
    laufAnhaengen(n);
    ergebnis += '"';
    return ergebnis;
}
