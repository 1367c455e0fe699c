#include "menge.h"

#include "dateileser.h"
#include "dateischreiber.h"
#include "hilfsmittel.h"

namespace {
const QString Komma = QStringLiteral(",");

QString ZuLang(const QString& feld, qint64 bytes)
{
    return QStringLiteral("Die Menge im Feld %1 ist mit %2 Bytes zu lang (höchstens 32767 Bytes).")
        .arg(feld)
        .arg(bytes);
}
} // namespace

Menge::Menge() : zElemente(Komma) {}

Menge::Menge(const QString& text) : zElemente(Hilfsmittel::KommaVorneKommaHinten(text)) {}

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
    const QByteArray utf8 = zElemente.toUtf8();
    if (utf8.size() > 32767) {
        schreiber.Fehler(ZuLang(feld, utf8.size()));
        return;
    }
    schreiber.SchreibeInt16(utf8.size());
    schreiber.SchreibeBytes(utf8);
}

bool Menge::Enthalten(const QString& element) const
{
    return zElemente.contains(Komma + element.trimmed() + Komma, Qt::CaseInsensitive);
}

bool Menge::Enthalten(qint64 zahl) const
{
    return Enthalten(QString::number(zahl));
}

void Menge::Einfuegen(const QString& element)
{
    if (!Enthalten(element))
        zElemente += element.trimmed() + Komma;
}

void Menge::Einfuegen(qint64 zahl)
{
    Einfuegen(QString::number(zahl));
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
    Entnehmen(QString::number(zahl));
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
