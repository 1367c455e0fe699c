#include "sicherungskopien.h"

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

// "Stamm-JJJJ-MM-TT-hhmmss[-n].endung": the time and the running number.
QRegularExpression Muster(const QString& pfad)
{
    return QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(Stamm(pfad))
            + QStringLiteral("-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+))?\\.")
            + QRegularExpression::escape(Endung(pfad)) + QStringLiteral("$"),
        QRegularExpression::CaseInsensitiveOption);
}

struct Kopie {
    QString name;
    QString zeit;
    int nummer = 1;
};

QList<Kopie> Kopien(const QString& pfad)
{
    QList<Kopie> kopien;
    const QRegularExpression muster = Muster(pfad);
    const QStringList namen
        = QDir(Sicherungskopien::OrdnerVon(pfad)).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : namen) {
        const QRegularExpressionMatch treffer = muster.match(name);
        if (!treffer.hasMatch())
            continue;
        Kopie k;
        k.name = name;
        k.zeit = treffer.captured(1);
        if (!treffer.captured(2).isEmpty())
            k.nummer = treffer.captured(2).toInt();
        kopien.append(k);
    }
    std::sort(kopien.begin(), kopien.end(), [](const Kopie& a, const Kopie& b) {
        return a.zeit != b.zeit ? a.zeit < b.zeit : a.nummer < b.nummer;
    });
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
    if (::mkdir(QFile::encodeName(ordner).constData(), 0777) != 0 && errno != EEXIST) {
        const int nummer = errno;
        return Fehlschlag(nummer, SicheresSchreiben::Grund(nummer, ordner));
    }
    if (!QFileInfo(ordner).isDir())
        return Fehlschlag(
            ENOTDIR, QStringLiteral("„%1“ ist kein Ordner.").arg(QDir::toNativeSeparators(ordner)));

    const QString basis
        = ordner + QLatin1Char('/') + Stamm(pfad) + QLatin1Char('-') + zeit.toString(Zeitformat);
    const QString endung = QLatin1Char('.') + Endung(pfad);
    QString ziel = basis + endung;
    for (int n = 2; QFileInfo::exists(ziel); ++n)
        ziel = basis + QLatin1Char('-') + QString::number(n) + endung;

    const SicheresSchreiben::Ergebnis ergebnis = SicheresSchreiben::Schreiben(ziel, vorher);
    if (!ergebnis)
        return ergebnis;

    // The oldest go, whatever their number: the newest Anzahl stay.
    const QList<Kopie> kopien = Kopien(pfad);
    for (qsizetype i = 0; i + Anzahl < kopien.size(); ++i)
        QFile::remove(ordner + QLatin1Char('/') + kopien.at(i).name);
    return ergebnis;
}
