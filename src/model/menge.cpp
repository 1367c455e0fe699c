#include "menge.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "hilfsmittel.h"

#include <cstdio>

namespace {
const QString Komma = QStringLiteral(",");

// ",n," of a number in the buffer; the view on it. Digits, the minus sign and the comma have
// no other case, so a number's element is found by an exact search.
QStringView Zahlsuche(qint64 zahl, char16_t (&puffer)[24])
{
    char ziffern[24];
    const int n = std::snprintf(ziffern, sizeof ziffern, "%lld", static_cast<long long>(zahl));
    puffer[0] = u',';
    for (int i = 0; i < n; ++i)
        puffer[1 + i] = char16_t(ziffern[i]);
    puffer[1 + n] = u',';
    return QStringView(puffer, n + 2);
}

QString ZuLang(const QString& feld, qint64 bytes)
{
    return QStringLiteral("Die Menge im Feld %1 ist mit %2 Bytes zu lang (höchstens 32767 Bytes).")
        .arg(feld)
        .arg(bytes);
}
} // namespace

Menge::Menge()
    : zElemente(Komma)
{
}

Menge::Menge(const QString& text)
    : zElemente(Hilfsmittel::KommaVorneKommaHinten(text))
{
}

Menge::Menge(DateiLeser& leser, const char* feld)
{
    const qint64 laenge = leser.LeseInt16();
    zElemente = Hilfsmittel::KommaVorneKommaHinten(leser.LeseText(laenge, feld));
    // The normal form adds the commas at both ends: a set stored at the limit without them
    // would not fit its field any more when the file is saved.
    const qsizetype bytes = zElemente.toUtf8().size();
    if (bytes > 32767)
        leser.NichtWiederSchreibbar(ZuLang(QString::fromLatin1(feld), bytes));
}

void Menge::Speichern(DateiSchreiber& schreiber, const QString& feld) const
{
    const qsizetype bytes = schreiber.SchreibeLangtext(zElemente, 32767);
    if (bytes > 32767)
        schreiber.Fehler(ZuLang(feld, bytes));
}

bool Menge::Enthalten(const QString& element) const
{
    return zElemente.contains(Komma + element.trimmed() + Komma, Qt::CaseInsensitive);
}

bool Menge::Enthalten(qint64 zahl) const
{
    char16_t puffer[24];
    return QStringView(zElemente).contains(Zahlsuche(zahl, puffer), Qt::CaseSensitive);
}

void Menge::Einfuegen(const QString& element)
{
    if (!Enthalten(element))
        zElemente += element.trimmed() + Komma;
}

void Menge::Einfuegen(qint64 zahl)
{
    if (!Enthalten(zahl))
        zElemente += QString::number(zahl) + Komma;
}

void Menge::Entnehmen(const QString& element)
{
    const QString suche = Komma + element.trimmed() + Komma;
    const qsizetype stelle = zElemente.indexOf(suche, 0, Qt::CaseInsensitive);
    if (stelle >= 0)
        zElemente.replace(stelle, suche.size(), Komma);
}

void Menge::Entnehmen(qint64 zahl)
{
    char16_t puffer[24];
    const QStringView suche = Zahlsuche(zahl, puffer);
    const qsizetype stelle = QStringView(zElemente).indexOf(suche, 0, Qt::CaseSensitive);
    if (stelle >= 0)
        zElemente.replace(stelle, suche.size(), Komma);
}

QSet<qint64> Menge::Zahlen() const
{
    QSet<qint64> zahlen;
    const QStringView text(zElemente);
    qsizetype anfang = 1;
    while (anfang < text.size()) {
        qsizetype ende = text.indexOf(QLatin1Char(','), anfang);
        if (ende < 0)
            ende = text.size();
        const QStringView element = text.sliced(anfang, ende - anfang);
        // Only an element that is exactly a number's decimal text is found by Enthalten of
        // that number ("07", "+7" and " 7" are not 7).
        bool gelesen = false;
        const qint64 zahl = element.toLongLong(&gelesen);
        if (gelesen) {
            char16_t puffer[24];
            if (Zahlsuche(zahl, puffer).sliced(1).chopped(1) == element)
                zahlen.insert(zahl);
        }
        anfang = ende + 1;
    }
    return zahlen;
}

qint64 Menge::Anzahl() const
{
    return zElemente.count(QLatin1Char(',')) + 1 - 2;
}

void Menge::Setzen(const QString& text)
{
    zElemente = Hilfsmittel::KommaVorneKommaHinten(text);
}

QString Menge::Element(qint64 i) const
{
    if (i < 1 || i > Anzahl())
        return {};
    return zElemente.section(QLatin1Char(','), int(i), int(i));
}

bool Menge::Leer() const
{
    return zElemente == Komma;
}

void Menge::MengeEntnehmen(const Menge& andere)
{
    const qint64 n = andere.Anzahl();
    for (qint64 i = 1; i <= n; ++i)
        Entnehmen(andere.Element(i));
}

void Menge::Schnitt(const Menge& andere)
{
    const QStringList felder = zElemente.split(QLatin1Char(','));
    const qint64 c = Anzahl();
    QString neu = Komma;
    for (qint64 i = 1; i <= c; ++i) {
        const QString& e = felder.at(i);
        if (andere.Enthalten(e))
            neu += e + Komma;
    }
    zElemente = neu;
}

void Menge::MengeEinfuegen(const Menge& andere)
{
    const qint64 n = andere.Anzahl();
    for (qint64 i = 1; i <= n; ++i)
        Einfuegen(andere.Element(i));
}

void Menge::Leeren()
{
    zElemente = Komma;
}
