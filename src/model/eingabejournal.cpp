#include "eingabejournal.h"

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
#include <QtEndian>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The kinds of records.
enum Satzart : quint8 {
    SatzKopf = 1, // course-list file, course, title, beginning
    SatzAenderung = 2, // one stored change
    SatzUmzug = 3, // the course-list file was saved under another name
};

const QString Endung = QStringLiteral(".journal");
// A record longer than this is no record but a damaged length.
constexpr quint32 LaengsterSatz = 4 * 1024 * 1024;
// How soon a written record is synced to the disk.
constexpr int TaktMs = 1000;

// CRC-32 (IEEE 802.3, as zlib and PNG use it).
constexpr std::array<quint32, 256> Crc32Tabelle()
{
    std::array<quint32, 256> t {};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[i] = c;
    }
    return t;
}

quint32 Crc32(const char* daten, qsizetype laenge)
{
    static constexpr std::array<quint32, 256> tabelle = Crc32Tabelle();
    quint32 c = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < laenge; ++i)
        c = tabelle[(c ^ quint8(daten[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// --- Writing the fields of a record --------------------------------------------------------

void U8(QByteArray& b, quint8 v)
{
    b.append(char(v));
}

void U32(QByteArray& b, quint32 v)
{
    char roh[4];
    qToBigEndian(v, roh);
    b.append(roh, 4);
}

void I64(QByteArray& b, qint64 v)
{
    char roh[8];
    qToBigEndian(v, roh);
    b.append(roh, 8);
}

void Text(QByteArray& b, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    U32(b, quint32(utf8.size()));
    b.append(utf8);
}

// Length, content, checksum.
QByteArray Satz(const QByteArray& inhalt)
{
    QByteArray b;
    b.reserve(inhalt.size() + 8);
    U32(b, quint32(inhalt.size()));
    b.append(inhalt);
    U32(b, Crc32(inhalt.constData(), inhalt.size()));
    return b;
}

// --- Reading the fields of a record --------------------------------------------------------

class Leser {
public:
    explicit Leser(QByteArrayView daten)
        : zDaten(daten)
    {
    }
    bool ok() const { return zOk; }
    bool Ende() const { return zPos == zDaten.size(); }
    quint8 U8()
    {
        if (!Platz(1))
            return 0;
        return quint8(zDaten.at(zPos++));
    }
    quint32 U32()
    {
        if (!Platz(4))
            return 0;
        const quint32 v = qFromBigEndian<quint32>(zDaten.data() + zPos);
        zPos += 4;
        return v;
    }
    qint64 I64()
    {
        if (!Platz(8))
            return 0;
        const qint64 v = qFromBigEndian<qint64>(zDaten.data() + zPos);
        zPos += 8;
        return v;
    }
    QString Text()
    {
        const quint32 n = U32();
        if (!Platz(n))
            return {};
        const QString s = QString::fromUtf8(zDaten.data() + zPos, qsizetype(n));
        zPos += n;
        return s;
    }

private:
    bool Platz(qint64 n)
    {
        if (!zOk || n > zDaten.size() - zPos) {
            zOk = false;
            return false;
        }
        return true;
    }
    QByteArrayView zDaten;
    qsizetype zPos = 0;
    bool zOk = true;
};

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

// Creates a folder with rights for the user alone; true when it is there.
bool OrdnerAnlegen(const QString& ordner, int& nummer)
{
    const QFileInfo info(ordner);
    if (!QDir().mkpath(info.absolutePath())) {
        nummer = ENOENT;
        return false;
    }
    if (::mkdir(QFile::encodeName(ordner).constData(), 0700) != 0 && errno != EEXIST) {
        nummer = errno;
        return false;
    }
    if (!QFileInfo(ordner).isDir()) {
        nummer = ENOTDIR;
        return false;
    }
    return true;
}

void OrdnerSynchronisieren(const QString& ordner)
{
    const int fd
        = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QList<Eingabejournal*>& Offene()
{
    static QList<Eingabejournal*> offene;
    return offene;
}

} // namespace

QDateTime Eingabejournal::Gelesen::Zuletzt() const
{
    return aenderungen.isEmpty() ? beginn : aenderungen.constLast().zeit;
}

// --- Records -------------------------------------------------------------------------------

QByteArray Eingabejournal::KopfSatz(const QString& kursliste, const QString& kurs,
    const QString& titel, const QDateTime& beginn, quint8 version)
{
    QByteArray b;
    U8(b, version);
    U8(b, SatzKopf);
    Text(b, kursliste);
    Text(b, kurs);
    Text(b, titel);
    I64(b, beginn.toMSecsSinceEpoch());
    return Satz(b);
}

QByteArray Eingabejournal::AenderungsSatz(const Aenderung& a, quint8 version)
{
    QByteArray b;
    U8(b, version);
    U8(b, SatzAenderung);
    I64(b, a.zeit.toMSecsSinceEpoch());
    I64(b, a.schueler);
    U8(b, a.warnung ? 1 : 0);
    Text(b, a.eintragID);
    Text(b, a.eintragBezeichnung);
    U32(b, quint32(qMax(0, a.vorkommen)));
    Text(b, a.vorher);
    Text(b, a.nachher);
    return Satz(b);
}

namespace {
QByteArray UmzugSatz(const QString& kursliste)
{
    QByteArray b;
    U8(b, Eingabejournal::Version);
    U8(b, SatzUmzug);
    I64(b, QDateTime::currentMSecsSinceEpoch());
    Text(b, kursliste);
    return Satz(b);
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
    const int fd = ::open(QFile::encodeName(datei).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
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
    const int fd = ::open(
        QFile::encodeName(datei).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
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
    OrdnerSynchronisieren(ordner);
    // The head goes first, in front of everything queued.
    zAusstehend.prepend(KopfSatz(zKursliste, zKurs, zTitel, QDateTime::currentDateTime()));
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
    zAusstehend.append(AenderungsSatz(aenderung));
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
    OrdnerSynchronisieren(Ordner());
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
    zAusstehend.append(UmzugSatz(neu));
    ++zAusstehendeZahl;
    const bool ok = AusstehendesSchreiben();
    OrdnerSynchronisieren(Ordner());
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

QString Eingabejournal::Beiseitelegen(const QString& datei)
{
    int nummer = 0;
    const QString ordner = BeiseitegelegtOrdner();
    if (!OrdnerAnlegen(ordner, nummer))
        return {};
    const QFileInfo info(datei);
    const QString basis = ordner + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('-')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString ziel = basis + Endung;
    for (int n = 2; QFileInfo::exists(ziel); ++n)
        ziel = basis + QLatin1Char('-') + QString::number(n) + Endung;
    if (!QFile::rename(datei, ziel))
        return {};
    return ziel;
}

Eingabejournal::Gelesen Eingabejournal::LiesDatei(const QString& datei, bool abschneiden)
{
    Gelesen j;
    j.datei = datei;
    const int fd = ::open(
        QFile::encodeName(datei).constData(), (abschneiden ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
        j.fehler = SicheresSchreiben::Grund(errno, datei);
        return j;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        j.belegt = true;
        return j;
    }
    QFile datei_(datei);
    QByteArray bytes;
    if (datei_.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        bytes = datei_.readAll();

    bool kopf = false;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 8)
            break;
        const quint32 laenge = qFromBigEndian<quint32>(bytes.constData() + pos);
        if (laenge < 2 || laenge > LaengsterSatz || qint64(laenge) + 8 > bytes.size() - pos)
            break;
        const char* inhalt = bytes.constData() + pos + 4;
        if (qFromBigEndian<quint32>(inhalt + laenge) != Crc32(inhalt, laenge))
            break;
        Leser l(QByteArrayView(inhalt, laenge));
        const quint8 version = l.U8();
        const quint8 art = l.U8();
        if (version != Version) {
            // A whole record of another format: written by another version of the program.
            j.fehler = version > Version
                ? QStringLiteral("Sie wurde von einer neueren Version von RAVIRIreru geschrieben.")
                : QStringLiteral("Sie hat ein unbekanntes Format.");
            ::close(fd);
            return j;
        }
        if (!kopf && art != SatzKopf)
            break;
        bool gut = false;
        switch (art) {
        case SatzKopf:
            if (kopf)
                break;
            j.kursliste = l.Text();
            j.kurs = l.Text();
            j.titel = l.Text();
            j.beginn = QDateTime::fromMSecsSinceEpoch(l.I64());
            gut = l.ok() && l.Ende();
            kopf = gut;
            break;
        case SatzAenderung: {
            Aenderung a;
            a.zeit = QDateTime::fromMSecsSinceEpoch(l.I64());
            a.schueler = l.I64();
            a.warnung = l.U8() != 0;
            a.eintragID = l.Text();
            a.eintragBezeichnung = l.Text();
            a.vorkommen = int(qMin<quint32>(l.U32(), 1u << 30));
            a.vorher = l.Text();
            a.nachher = l.Text();
            gut = l.ok() && l.Ende();
            if (gut)
                j.aenderungen.append(a);
            break;
        }
        case SatzUmzug:
            l.I64();
            j.kursliste = l.Text();
            gut = l.ok() && l.Ende();
            break;
        default:
            break;
        }
        if (!gut)
            break;
        pos += qsizetype(laenge) + 8;
        j.laenge = pos;
    }
    if (!kopf) {
        j.fehler = bytes.isEmpty() ? QString() : QStringLiteral("Ihr Anfang ist beschädigt.");
        ::close(fd);
        return j;
    }
    if (j.laenge < bytes.size()) {
        j.abgeschnitten = true;
        if (abschneiden && ::ftruncate(fd, j.laenge) == 0)
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
