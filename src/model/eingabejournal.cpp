#include "eingabejournal.h"

#include "dateirechte.h"
#include "sicheresschreiben.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Endung = QStringLiteral(".journal");
// The biggest journal file that is read (a record holds at most one cell's value).
constexpr qint64 GroessteDatei = 64 * 1024 * 1024;
// How soon a written record is synced to the disk.
constexpr int TaktMs = 1000;

QString Kurz(const QByteArray& daten, int stellen)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(daten, QCryptographicHash::Sha256).toHex().left(stellen));
}

// The full path a course-list file is known by: its canonical path (links resolved) while it
// exists, else its absolute path.
QString Vollpfad(const QString& pfad)
{
    const QFileInfo info(pfad);
    const QString kanonisch = info.canonicalFilePath();
    return kanonisch.isEmpty() ? info.absoluteFilePath() : kanonisch;
}

// Creates a folder with rights for the user alone (a wider one made before is narrowed, a
// link in its place refused); true when it is there.
bool OrdnerAnlegen(const QString& ordner, int& nummer)
{
    if (!QDir().mkpath(QFileInfo(ordner).absolutePath())) {
        nummer = ENOENT;
        return false;
    }
    nummer = Dateirechte::OrdnerAnlegen(ordner);
    return nummer == 0;
}

QList<Eingabejournal*>& Offene()
{
    static QList<Eingabejournal*> offene;
    return offene;
}

} // namespace

// --- The folder and the names --------------------------------------------------------------

QString Eingabejournal::Ordner()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/Wiederherstellung");
}

QString Eingabejournal::BeiseitegelegtOrdner()
{
    return Ordner() + QStringLiteral("/Beiseitegelegt");
}

QString Eingabejournal::Schluessel(const QString& kursliste)
{
    return Kurz(Vollpfad(kursliste).toUtf8(), 16);
}

QString Eingabejournal::DateiVon(const QString& kursliste, const QString& kurs)
{
    // Course keys compare without regard to letter case.
    return Ordner() + QLatin1Char('/') + Schluessel(kursliste) + QLatin1Char('-')
        + Kurz(kurs.toCaseFolded().toUtf8(), 12) + Endung;
}

// --- One journal ---------------------------------------------------------------------------

Eingabejournal::Eingabejournal(
    const QString& kursliste, const QString& kurs, const QString& titel, QObject* parent)
    : QObject(parent)
    , zKursliste(Vollpfad(kursliste))
    , zKurs(kurs)
    , zTitel(titel)
{
    zTakt = new QTimer(this);
    zTakt->setSingleShot(true);
    zTakt->setInterval(TaktMs);
    connect(zTakt, &QTimer::timeout, this, &Eingabejournal::ImHintergrundSynchronisieren);
    Offene().append(this);
}

Eingabejournal::Eingabejournal(const Gelesen& gelesen, QObject* parent)
    : Eingabejournal(gelesen.kursliste, gelesen.kurs, gelesen.titel, parent)
{
    // The file goes on where its last whole record ends; its name follows the course-list
    // file it names now.
    const QString datei = Datei();
    if (gelesen.datei != datei) {
        if (QFileInfo::exists(datei))
            Beiseitelegen(datei);
        QFile::rename(gelesen.datei, datei);
    }
    const int fd = ::open(
        QFile::encodeName(datei).constData(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::ftruncate(fd, gelesen.laenge) == 0) {
        zFd = fd;
        zLaenge = gelesen.laenge;
    } else if (fd >= 0) {
        ::close(fd);
    }
}

Eingabejournal::~Eingabejournal()
{
    Offene().removeAll(this);
    if (zFd >= 0) {
        AusstehendesSchreiben();
        if (zUngesichert)
            ::fsync(zFd);
    }
    Schliessen();
}

QString Eingabejournal::Datei() const
{
    return DateiVon(zKursliste, zKurs);
}

void Eingabejournal::FehlerSetzen(const QString& grund)
{
    if (grund == zFehler)
        return;
    zFehler = grund;
    emit FehlerGeaendert(grund);
}

void Eingabejournal::Schliessen()
{
    if (zFd >= 0) {
        // The lock goes now, not when a sync on its way closes its copy of the descriptor
        // (the copy shares the lock): the file is free for reading the moment it is closed.
        ::flock(zFd, LOCK_UN);
        ::close(zFd);
        zFd = -1;
    }
    zTakt->stop();
    zUngesichert = false;
    zImHintergrund = false;
    ++zDateiNummer;
}

bool Eingabejournal::Oeffnen()
{
    if (zFd >= 0)
        return true;
    int nummer = 0;
    const QString ordner = Ordner();
    if (!OrdnerAnlegen(ordner, nummer)) {
        FehlerSetzen(SicheresSchreiben::Grund(nummer, ordner + QStringLiteral("/")));
        return false;
    }
    const QString datei = Datei();
    // A file of this course left from before and not taken over (restored, discarded or put
    // aside at the start) is never mixed with the new entries.
    if (QFileInfo(datei).size() > 0 && Beiseitelegen(datei).isEmpty()) {
        FehlerSetzen(QStringLiteral("Eine ältere Wiederherstellungsdatei „%1“ ist im Weg.")
                         .arg(QDir::toNativeSeparators(datei)));
        return false;
    }
    const int fd = ::open(QFile::encodeName(datei).constData(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        nummer = errno;
        FehlerSetzen(SicheresSchreiben::Grund(nummer, datei));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        FehlerSetzen(QStringLiteral("Die Wiederherstellungsdatei „%1“ wird von einem anderen "
                                    "laufenden RAVIRIreru beschrieben.")
                         .arg(QDir::toNativeSeparators(datei)));
        return false;
    }
    zFd = fd;
    zLaenge = 0;
    SicheresSchreiben::OrdnerSynchronisieren(ordner);
    // The head goes first, in front of everything queued.
    zAusstehend.prepend(
        Journalformat::KopfSatz(zKursliste, zKurs, zTitel, QDateTime::currentDateTime()));
    ++zAusstehendeZahl;
    return true;
}

bool Eingabejournal::AusstehendesSchreiben()
{
    if (zAusstehend.isEmpty())
        return true;
    const int nummer = SicheresSchreiben::AllesSchreiben(zFd, zAusstehend);
    if (nummer != 0) {
        // A part written is taken back: the file ends with its last whole record, and the
        // records wait for the next attempt.
        if (::ftruncate(zFd, zLaenge) != 0) {
            // The file cannot even be cut back: a new one is begun with the next attempt.
            Schliessen();
            Beiseitelegen(Datei());
        }
        FehlerSetzen(SicheresSchreiben::Grund(nummer, Datei()));
        return false;
    }
    zLaenge += zAusstehend.size();
    zAusstehend.clear();
    zAusstehendeZahl = 0;
    zUngesichert = true;
    if (!zTakt->isActive())
        zTakt->start();
    return true;
}

bool Eingabejournal::Anfuegen(const Aenderung& aenderung)
{
    zAusstehend.append(Journalformat::AenderungsSatz(aenderung));
    ++zAusstehendeZahl;
    if (!Oeffnen() || !AusstehendesSchreiben()) {
        zTakt->start();
        return false;
    }
    return true;
}

bool Eingabejournal::Synchronisieren()
{
    zTakt->stop();
    // Records that could not be written are tried again, every second until they are.
    if (!zAusstehend.isEmpty() && (!Oeffnen() || !AusstehendesSchreiben())) {
        zTakt->start();
        return false;
    }
    // A sync on its way on another thread is not waited for: this one is.
    if (zFd < 0 || (!zUngesichert && !zImHintergrund))
        return zFehler.isEmpty();
    if (::fsync(zFd) != 0) {
        const int nummer = errno;
        FehlerSetzen(SicheresSchreiben::Grund(nummer, Datei()));
        zTakt->start();
        return false;
    }
    zUngesichert = false;
    if (zAusstehend.isEmpty())
        FehlerSetzen(QString());
    return true;
}

void Eingabejournal::ImHintergrundSynchronisieren()
{
    // Records that wait after a failure are written first, here (write(2) is quick).
    if (!zAusstehend.isEmpty() && (!Oeffnen() || !AusstehendesSchreiben())) {
        zTakt->start();
        return;
    }
    if (zFd < 0 || !zUngesichert)
        return;
    if (zImHintergrund) {
        // The sync before is still on its way: this one follows it.
        zTakt->start();
        return;
    }
    // fsync(2) may take a long moment (a slow disk, a home folder on the network): it runs on
    // a thread of its own, on a copy of the descriptor, while the teacher goes on typing.
    // Everything written up to here is in it; a later write sets the mark again.
    const int kopie = ::dup(zFd);
    if (kopie < 0) {
        Synchronisieren();
        return;
    }
    // The thread touches nothing of this object: it owns its descriptor and hands back only
    // errno, on the main thread, where a journal gone or a file closed since (saved, put
    // aside) lets the answer fall.
    zUngesichert = false;
    zImHintergrund = true;
    const quint64 datei = zDateiNummer;
    QPointer<Eingabejournal> ziel(this);
    QThreadPool::globalInstance()->start([kopie, datei, ziel = std::move(ziel)]() mutable {
        const int nummer = ::fsync(kopie) == 0 ? 0 : errno;
        ::close(kopie);
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [ziel = std::move(ziel), datei, nummer] {
                    if (ziel)
                        ziel->HintergrundFertig(datei, nummer);
                },
                Qt::QueuedConnection);
    });
}

void Eingabejournal::HintergrundFertig(quint64 datei, int fehlernummer)
{
    if (datei != zDateiNummer)
        return; // the file that was synced is closed; a sync for the new one runs on its own
    zImHintergrund = false;
    if (fehlernummer != 0) {
        zUngesichert = true;
        FehlerSetzen(SicheresSchreiben::Grund(fehlernummer, Datei()));
        zTakt->start();
        return;
    }
    if (zAusstehend.isEmpty() && !zUngesichert)
        FehlerSetzen(QString());
}

bool Eingabejournal::Entfernen()
{
    const QString datei = Datei();
    Schliessen();
    zAusstehend.clear();
    zAusstehendeZahl = 0;
    zLaenge = 0;
    FehlerSetzen(QString());
    if (!QFileInfo::exists(datei))
        return true;
    if (!QFile::remove(datei))
        return false;
    SicheresSchreiben::OrdnerSynchronisieren(Ordner());
    return true;
}

bool Eingabejournal::Umziehen(const QString& neueKursliste)
{
    const QString neu = Vollpfad(neueKursliste);
    if (neu == zKursliste)
        return true;
    const QString alteDatei = Datei();
    zKursliste = neu;
    const QString neueDatei = Datei();
    if (zFd < 0)
        return true; // no file yet: the first change begins it under the new name
    if (QFileInfo::exists(neueDatei))
        Beiseitelegen(neueDatei);
    if (!QFile::rename(alteDatei, neueDatei)) {
        // Left under the old name, the entries can still be restored on the old file; the
        // next change begins a journal of the new one.
        Schliessen();
        return false;
    }
    zAusstehend.append(Journalformat::UmzugSatz(neu));
    ++zAusstehendeZahl;
    const bool ok = AusstehendesSchreiben();
    SicheresSchreiben::OrdnerSynchronisieren(Ordner());
    return ok;
}

// --- All journals --------------------------------------------------------------------------

void Eingabejournal::AlleSynchronisieren()
{
    for (Eingabejournal* j : std::as_const(Offene()))
        j->Synchronisieren();
}

void Eingabejournal::KurslisteUmgezogen(const QString& alt, const QString& neu)
{
    if (alt.isEmpty() || neu.isEmpty())
        return;
    const QString altVoll = Vollpfad(alt);
    for (Eingabejournal* j : std::as_const(Offene()))
        if (j->zKursliste == altVoll)
            j->Umziehen(neu);
}

namespace {

// Where a journal put aside goes, without its number and ending: the put-aside folder (made
// when missing), the journal's name and the time; empty when the folder cannot be made.
QString BeiseiteStamm(const QString& datei)
{
    int nummer = 0;
    const QString ordner = Eingabejournal::BeiseitegelegtOrdner();
    if (!OrdnerAnlegen(ordner, nummer))
        return {};
    return ordner + QLatin1Char('/') + QFileInfo(datei).completeBaseName() + QLatin1Char('-')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
}

} // namespace

QString Eingabejournal::Beiseitelegen(const QString& datei)
{
    const QString basis = BeiseiteStamm(datei);
    if (basis.isEmpty())
        return {};
    QString ziel = basis + Endung;
    for (int n = 2; QFileInfo::exists(ziel); ++n)
        ziel = basis + QLatin1Char('-') + QString::number(n) + Endung;
    if (!QFile::rename(datei, ziel))
        return {};
    return ziel;
}

QString Eingabejournal::KopieBeiseitelegen(const QString& datei, const QByteArray& bytes)
{
    const QString basis = BeiseiteStamm(datei);
    if (basis.isEmpty())
        return {};
    for (int n = 1; n < 100; ++n) {
        const QString ziel
            = basis + (n > 1 ? QLatin1Char('-') + QString::number(n) : QString()) + Endung;
        const SicheresSchreiben::Ergebnis e = SicheresSchreiben::Schreiben(
            ziel, bytes, QString(), SicheresSchreiben::Ersetzen::Nie);
        if (e)
            return ziel;
        if (e.fehlernummer != EEXIST)
            return {};
    }
    return {};
}

Eingabejournal::Gelesen Eingabejournal::LiesDatei(const QString& datei, bool abschneiden)
{
    Gelesen j;
    j.datei = datei;
    const int fd = ::open(QFile::encodeName(datei).constData(),
        (abschneiden ? O_RDWR : O_RDONLY) | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        j.fehler = SicheresSchreiben::Grund(errno, datei);
        return j;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        j.belegt = true;
        return j;
    }
    // No course's typing in a half-year comes near this: a bigger file is no journal of ours
    // (or a damaged one) and is not read into memory at all.
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > GroessteDatei) {
        ::close(fd);
        j.fehler = QStringLiteral("Sie ist mit %1 MB zu groß für eine Wiederherstellungsdatei "
                                  "und wird nicht gelesen.")
                       .arg(qint64(st.st_size) / (1024 * 1024));
        return j;
    }
    QFile datei_(datei);
    QByteArray bytes;
    if (datei_.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        bytes = datei_.readAll();

    if (!Journalformat::Lesen(bytes, j)) {
        ::close(fd);
        return j;
    }
    if (j.laenge < bytes.size()) {
        j.abgeschnitten = true;
        // Damaged in the middle: the whole file is kept aside before it is cut, so that the
        // records behind the damage are not lost.
        if (abschneiden && j.mitteBeschaedigt)
            j.beiseite = KopieBeiseitelegen(datei, bytes);
        if (abschneiden && (!j.mitteBeschaedigt || !j.beiseite.isEmpty())
            && ::ftruncate(fd, j.laenge) == 0)
            ::fsync(fd);
    }
    ::close(fd);
    return j;
}

QList<Eingabejournal::Gelesen> Eingabejournal::Lesen(const QString& kursliste)
{
    QList<Gelesen> liste;
    const QString ordner = Ordner();
    const QString vorne = Schluessel(kursliste) + QLatin1Char('-');
    const QStringList namen = QDir(ordner).entryList(
        { vorne + QStringLiteral("*") + Endung }, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : namen) {
        Gelesen j = LiesDatei(ordner + QLatin1Char('/') + name, true);
        if (j.belegt)
            continue;
        liste.append(j);
    }
    return liste;
}
