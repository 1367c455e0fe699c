// Loading and saving a course-list file at the limits of its format (Grossbestand):
// reading and writing on a QBuffer, and the whole LadeDatei / Speichern through a file.

#include "grossbestand.h"
#include "plattform.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The file's bytes, made once.
const QByteArray& Datei()
{
    static const QByteArray bytes = [] {
        Datenbestand d;
        Spaltenstruktur s;
        Grossbestand::Erzeugen(d, s);
        QByteArray b;
        QBuffer puffer(&b);
        puffer.open(QIODevice::WriteOnly);
        QString meldung;
        if (!Datenbestand::Schreiben(puffer, d, s, meldung)) {
            std::fprintf(stderr, "Schreiben: %s\n", qPrintable(meldung));
            std::abort();
        }
        return b;
    }();
    return bytes;
}

void Lesen(benchmark::State& state)
{
    QByteArray bytes = Datei();
    for (auto _ : state) {
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::ReadOnly);
        auto d = std::make_unique<Datenbestand>();
        auto s = std::make_unique<Spaltenstruktur>();
        QString meldung;
        if (!Datenbestand::Lesen(puffer, *d, *s, meldung))
            state.SkipWithError("Lesen abgelehnt");
        benchmark::DoNotOptimize(d->alleSchuelerKurse.AnzahlKurse());
        // Reading alone; freeing the data is part of LadeDatei below (it replaces the
        // data loaded before).
        state.PauseTiming();
        d.reset();
        s.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["Bytes"] = double(bytes.size());
}

void Schreiben(benchmark::State& state)
{
    QByteArray bytes = Datei();
    QBuffer quelle(&bytes);
    quelle.open(QIODevice::ReadOnly);
    Datenbestand d;
    Spaltenstruktur s;
    QString meldung;
    if (!Datenbestand::Lesen(quelle, d, s, meldung)) {
        state.SkipWithError("Lesen abgelehnt");
        return;
    }
    for (auto _ : state) {
        QByteArray ziel;
        QBuffer puffer(&ziel);
        puffer.open(QIODevice::WriteOnly);
        if (!Datenbestand::Schreiben(puffer, d, s, meldung))
            state.SkipWithError("Schreiben fehlgeschlagen");
        benchmark::DoNotOptimize(ziel.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void LadeDatei(benchmark::State& state)
{
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("gross.zln"));
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(Datei()) != Datei().size()) {
        state.SkipWithError("Datei nicht schreibbar");
        return;
    }
    datei.close();
    // As at start-up: the file is loaded into empty global data (a second load would also
    // free the data of the first, which the program never does).
    for (auto _ : state) {
        state.PauseTiming();
        GlobaleDatenZuruecksetzen();
        state.ResumeTiming();
        if (!Daten.LadeDatei(pfad))
            state.SkipWithError("LadeDatei abgelehnt");
    }
    GlobaleDatenZuruecksetzen();
}

void Speichern(benchmark::State& state)
{
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("gross.zln"));
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly) || datei.write(Datei()) != Datei().size()) {
        state.SkipWithError("Datei nicht schreibbar");
        return;
    }
    datei.close();
    if (!Daten.LadeDatei(pfad)) {
        state.SkipWithError("LadeDatei abgelehnt");
        return;
    }
    for (auto _ : state) {
        if (!Daten.Speichern())
            state.SkipWithError("Speichern fehlgeschlagen");
    }
    QFile geschrieben(pfad);
    if (!geschrieben.open(QIODevice::ReadOnly) || geschrieben.readAll() != Datei())
        state.SkipWithError("gespeicherte Datei weicht ab");
    GlobaleDatenZuruecksetzen();
}

} // namespace

BENCHMARK(Lesen)->Unit(benchmark::kMillisecond);
BENCHMARK(Schreiben)->Unit(benchmark::kMillisecond);
BENCHMARK(LadeDatei)->Unit(benchmark::kMillisecond);
BENCHMARK(Speichern)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
