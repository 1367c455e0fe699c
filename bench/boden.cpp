#include "boden.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Reads fields off the bytes; the first read past the end marks the bytes as too short.
struct Zeiger {
    const unsigned char* p;
    const unsigned char* ende;
    bool gut = true;
    qint64 felder = 0;

    bool Da(qsizetype n)
    {
        if (ende - p < n)
            gut = false;
        return gut;
    }
    bool Bool()
    {
        ++felder;
        return Da(1) ? *p++ != 0 : false;
    }
    qint16 Int16()
    {
        ++felder;
        if (!Da(2))
            return 0;
        const auto w = qint16((p[0] << 8) | p[1]);
        p += 2;
        return w;
    }
    qint32 Int32()
    {
        ++felder;
        if (!Da(4))
            return 0;
        const auto w
            = qint32((quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3]);
        p += 4;
        return w;
    }
    // A PString or a set: its bytes, skipped.
    QByteArrayView Bytes(qsizetype n)
    {
        ++felder;
        if (n < 0 || !Da(n))
            return {};
        const auto* anfang = reinterpret_cast<const char*>(p);
        p += n;
        return QByteArrayView(anfang, n);
    }
    QByteArrayView PString() { return Da(1) ? Bytes(*p++) : QByteArrayView(); }
    QByteArrayView Menge() { return Bytes(Int16()); }
};

QString Text(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

// The walk and the decoder are one: mit decides whether the fields become values.
bool Lesen(const QByteArray& bytes, Boden::Daten* d, qint64& felder)
{
    Zeiger z { reinterpret_cast<const unsigned char*>(bytes.constData()),
        reinterpret_cast<const unsigned char*>(bytes.constData()) + bytes.size() };
    Boden::Daten leer;
    Boden::Daten& daten = d ? *d : leer;
    const auto text = [&](QByteArrayView b) { return d ? Text(b) : QString(); };
    z.Bool();
    z.Int16();
    daten.abiturListe = z.Bool();
    daten.halbjahr = z.Int16();
    daten.kuerzel = text(z.PString());
    daten.bezeichnung = text(z.PString());
    daten.abitur = z.Bool();
    daten.klausur = z.Bool();
    daten.defizite = z.Bool();
    daten.grenzeEph = z.Int16();
    daten.grenzeQ = z.Int16();
    daten.warnung = z.Bool();
    const qint16 katalog = z.Int16();
    for (int i = 0; i < katalog && z.gut; ++i) {
        const QString id = text(z.PString());
        const QString bezeichnung = text(z.PString());
        if (d)
            daten.katalog.append({ id, bezeichnung, QString() });
    }
    const qint16 letzteNote = z.Int16();
    for (int i = 0; i <= letzteNote && z.gut; ++i) {
        Boden::Dreifach n;
        n.a = text(z.PString());
        n.b = text(z.PString());
        n.c = text(z.PString());
        const qint16 wert = z.Int16();
        if (d) {
            daten.noten.append(n);
            daten.notenwerte.append(wert);
        }
    }
    for (int i = 0; i < 6; ++i) {
        const QString g = text(z.PString());
        if (d)
            daten.geheimnisse.append(g);
    }
    const qint16 schueler = z.Int16();
    if (d && schueler > 0) {
        daten.schueler.reserve(schueler);
        daten.schuelerIds.reserve(schueler);
    }
    for (int i = 0; i < schueler && z.gut; ++i) {
        const qint32 id = z.Int32();
        const QString guid = text(z.PString());
        const QString name = text(z.PString());
        if (d) {
            daten.schuelerIds.append(id);
            daten.schueler.append({ guid, name, QString() });
        }
    }
    const qint16 kurse = z.Int16();
    const int mengen
        = 1 + (daten.abitur ? 2 : 0) + (daten.klausur ? 1 : 0) + (daten.warnung ? 1 : 0);
    for (int i = 0; i < kurse && z.gut; ++i) {
        Boden::Kurs k;
        for (bool& f : k.flaggen)
            f = z.Bool();
        k.kuerzel = text(z.PString());
        k.fach = text(z.PString());
        k.art = text(z.PString());
        k.nummer = z.Int16();
        k.lehrer = text(z.PString());
        for (int m = 0; m < mengen; ++m) {
            const QString menge = text(z.Menge());
            if (d)
                k.mengen.append(menge);
        }
        if (d)
            daten.kurse.append(std::move(k));
    }
    const qint16 zeilen = z.Int16();
    if (d && zeilen > 0)
        daten.zeilen.reserve(zeilen);
    for (int i = 0; i < zeilen && z.gut; ++i) {
        Boden::Zeile zeile;
        zeile.fach = text(z.PString());
        zeile.id = z.Int32();
        const qint16 n = z.Int16();
        if (d && n > 0)
            zeile.eintraege.reserve(n);
        for (int e = 0; e < n && z.gut; ++e) {
            Boden::Dreifach f;
            f.a = text(z.PString());
            f.b = text(z.PString());
            f.c = text(z.PString());
            if (d)
                zeile.eintraege.append(std::move(f));
        }
        if (d)
            daten.zeilen.append(std::move(zeile));
    }
    const qint16 spalten = z.Int16();
    for (int i = 0; i < spalten && z.gut; ++i) {
        Boden::Spalte s;
        s.ueberschrift = text(z.PString());
        s.breite = z.Int16();
        s.ausrichtung = z.Int16();
        if (d)
            daten.spalten.append(s);
    }
    daten.ersteSpalte = z.Int16();
    felder = z.felder;
    return z.gut;
}

void Bool(QByteArray& b, bool w)
{
    b.append(char(w ? 1 : 0));
}
void Int16(QByteArray& b, qint16 w)
{
    b.append(char((w >> 8) & 0xFF)).append(char(w & 0xFF));
}
void Int32(QByteArray& b, qint32 w)
{
    b.append(char((w >> 24) & 0xFF))
        .append(char((w >> 16) & 0xFF))
        .append(char((w >> 8) & 0xFF))
        .append(char(w & 0xFF));
}
void PString(QByteArray& b, const QString& t)
{
    const QByteArray u = t.toUtf8();
    b.append(char(u.size())).append(u);
}
void Menge(QByteArray& b, const QString& t)
{
    const QByteArray u = t.toUtf8();
    Int16(b, qint16(u.size()));
    b.append(u);
}

} // namespace

namespace Boden {

qint64 Gehen(const QByteArray& bytes)
{
    qint64 felder = 0;
    return Lesen(bytes, nullptr, felder) ? felder : -1;
}

bool Dekodieren(const QByteArray& bytes, Daten& daten)
{
    qint64 felder = 0;
    return Lesen(bytes, &daten, felder);
}

QByteArray Kodieren(const Daten& d)
{
    QByteArray b;
    b.reserve(4 * 1024 * 1024);
    Bool(b, false);
    Int16(b, 11);
    Bool(b, d.abiturListe);
    Int16(b, d.halbjahr);
    PString(b, d.kuerzel);
    PString(b, d.bezeichnung);
    Bool(b, d.abitur);
    Bool(b, d.klausur);
    Bool(b, d.defizite);
    Int16(b, d.grenzeEph);
    Int16(b, d.grenzeQ);
    Bool(b, d.warnung);
    Int16(b, qint16(d.katalog.size()));
    for (const Dreifach& e : d.katalog) {
        PString(b, e.a);
        PString(b, e.b);
    }
    Int16(b, qint16(d.noten.size() - 1));
    for (qsizetype i = 0; i < d.noten.size(); ++i) {
        PString(b, d.noten.at(i).a);
        PString(b, d.noten.at(i).b);
        PString(b, d.noten.at(i).c);
        Int16(b, d.notenwerte.at(i));
    }
    for (const QString& g : d.geheimnisse)
        PString(b, g);
    Int16(b, qint16(d.schueler.size()));
    for (qsizetype i = 0; i < d.schueler.size(); ++i) {
        Int32(b, d.schuelerIds.at(i));
        PString(b, d.schueler.at(i).a);
        PString(b, d.schueler.at(i).b);
    }
    Int16(b, qint16(d.kurse.size()));
    for (const Kurs& k : d.kurse) {
        for (bool f : k.flaggen)
            Bool(b, f);
        PString(b, k.kuerzel);
        PString(b, k.fach);
        PString(b, k.art);
        Int16(b, k.nummer);
        PString(b, k.lehrer);
        for (const QString& m : k.mengen)
            Menge(b, m);
    }
    Int16(b, qint16(d.zeilen.size()));
    for (const Zeile& z : d.zeilen) {
        PString(b, z.fach);
        Int32(b, z.id);
        Int16(b, qint16(z.eintraege.size()));
        for (const Dreifach& e : z.eintraege) {
            PString(b, e.a);
            PString(b, e.b);
            PString(b, e.c);
        }
    }
    Int16(b, qint16(d.spalten.size()));
    for (const Spalte& s : d.spalten) {
        PString(b, s.ueberschrift);
        Int16(b, s.breite);
        Int16(b, s.ausrichtung);
    }
    Int16(b, d.ersteSpalte);
    return b;
}

int DateiErsetzen(const QString& pfad, const QByteArray& bytes)
{
    const QByteArray ziel = QFile::encodeName(pfad);
    const QByteArray neu = ziel + ".neu";
    const int fd = ::open(neu.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    const char* p = bytes.constData();
    qsizetype rest = bytes.size();
    while (rest > 0) {
        const ssize_t n = ::write(fd, p, size_t(rest));
        if (n <= 0) {
            const int fehler = n < 0 ? errno : ENOSPC;
            ::close(fd);
            return fehler;
        }
        p += n;
        rest -= n;
    }
    if (::fsync(fd) != 0) {
        const int fehler = errno;
        ::close(fd);
        return fehler;
    }
    ::close(fd);
    return ::rename(neu.constData(), ziel.constData()) == 0 ? 0 : errno;
}

} // namespace Boden
