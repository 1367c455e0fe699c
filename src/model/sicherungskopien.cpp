#include "sicherungskopien.h"

#include "dateirechte.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace {

const QString Zeitformat = QStringLiteral("yyyy-MM-dd-HHmmss");

// The name stem of the backups of pfad: the file's name without its last extension.
QString Stamm(const QString& pfad)
{
    return QFileInfo(pfad).completeBaseName();
}

QString Endung(const QString& pfad)
{
    const QString endung = QFileInfo(pfad).suffix();
    return endung.isEmpty() ? QStringLiteral("zln") : endung;
}

// "Stamm-JJJJ-MM-TT-hhmmss-NrN.endung" (and from before: "Stamm-JJJJ-MM-TT-hhmmss[-n].endung").
QRegularExpression Muster(const QString& pfad)
{
    return QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(Stamm(pfad))
            + QStringLiteral("-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+)|-Nr(\\d{1,18}))?\\.")
            + QRegularExpression::escape(Endung(pfad)) + QStringLiteral("$"),
        QRegularExpression::CaseInsensitiveOption);
}

struct Kopie {
    QString name;
    QString zeit;
    int nummer = 1; // the number within a second of a name from before
    qint64 laufend = 0; // the running number; 0 for a name from before
};

bool Frueher(const Kopie& a, const Kopie& b)
{
    if (a.laufend != b.laufend)
        return a.laufend < b.laufend;
    return a.zeit != b.zeit ? a.zeit < b.zeit : a.nummer < b.nummer;
}

// The backups of pfad, oldest first: real files only (a link is nobody's backup).
QList<Kopie> Kopien(const QString& pfad)
{
    QList<Kopie> kopien;
    const QRegularExpression muster = Muster(pfad);
    const QStringList namen = QDir(Sicherungskopien::OrdnerVon(pfad))
                                  .entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : namen) {
        const QRegularExpressionMatch treffer = muster.match(name);
        if (!treffer.hasMatch())
            continue;
        Kopie k;
        k.name = name;
        k.zeit = treffer.captured(1);
        if (!treffer.captured(2).isEmpty())
            k.nummer = treffer.captured(2).toInt();
        if (!treffer.captured(3).isEmpty())
            k.laufend = treffer.captured(3).toLongLong();
        kopien.append(k);
    }
    std::sort(kopien.begin(), kopien.end(), Frueher);
    return kopien;
}

SicheresSchreiben::Ergebnis Fehlschlag(int nummer, const QString& grund)
{
    SicheresSchreiben::Ergebnis e;
    e.fehlernummer = nummer;
    e.grund = grund;
    return e;
}

} // namespace

QString Sicherungskopien::OrdnerVon(const QString& pfad)
{
    return QFileInfo(pfad).absolutePath() + QLatin1Char('/') + OrdnerName;
}

QStringList Sicherungskopien::Liste(const QString& pfad)
{
    QStringList liste;
    const QString ordner = OrdnerVon(pfad);
    for (const Kopie& k : Kopien(pfad))
        liste.append(ordner + QLatin1Char('/') + k.name);
    return liste;
}

SicheresSchreiben::Ergebnis Sicherungskopien::Anlegen(
    const QString& pfad, const QByteArray& vorher, const QDateTime& zeit)
{
    const QString ordner = OrdnerVon(pfad);
    if (const int nummer = Dateirechte::OrdnerAnlegen(ordner, pfad); nummer != 0) {
        if (nummer == ENOTDIR || nummer == EEXIST)
            return Fehlschlag(ENOTDIR,
                QStringLiteral("„%1“ ist kein Ordner.").arg(QDir::toNativeSeparators(ordner)));
        return Fehlschlag(nummer, SicheresSchreiben::Grund(nummer, ordner));
    }

    QList<Kopie> kopien = Kopien(pfad);
    qint64 laufend = kopien.isEmpty() ? 1 : kopien.last().laufend + 1;
    const QString basis
        = ordner + QLatin1Char('/') + Stamm(pfad) + QLatin1Char('-') + zeit.toString(Zeitformat);
    const QString endung = QLatin1Char('.') + Endung(pfad);
    // A name already taken (by a file or a link that is no backup) is passed over.
    SicheresSchreiben::Ergebnis ergebnis;
    QString ziel;
    for (int versuch = 0; versuch < 100; ++versuch, ++laufend) {
        ziel = basis + QStringLiteral("-Nr") + QString::number(laufend) + endung;
        ergebnis
            = SicheresSchreiben::Schreiben(ziel, vorher, pfad, SicheresSchreiben::Ersetzen::Nie);
        if (ergebnis || ergebnis.fehlernummer != EEXIST)
            break;
    }
    if (!ergebnis)
        return ergebnis;

    // The oldest go: the newest Anzahl stay, the one just written always among them.
    kopien = Kopien(pfad);
    const QString neu = QFileInfo(ziel).fileName();
    kopien.erase(
        std::remove_if(kopien.begin(), kopien.end(), [&](const Kopie& k) { return k.name == neu; }),
        kopien.end());
    for (qsizetype i = 0; i + Anzahl - 1 < kopien.size(); ++i)
        QFile::remove(ordner + QLatin1Char('/') + kopien.at(i).name);
    return ergebnis;
}
