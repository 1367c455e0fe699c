// Loading and saving a course-list file at the limits of its format (Grossbestand), each
// beside its floor measured in the same run (Boden: what the bytes themselves cost):
//
//   Laden/LadeDatei          the whole LadeDatei from a warm file (lock, read, check, take over)
//   Boden/LesenUndGehen      the file read and its format walked, nothing made
//   Boden/LesenUndDekodieren the file read and decoded by a plain decoder, one QString per field
//   Lesen/Datenbestand       Datenbestand::Lesen from memory
//   Boden/Dekodieren         the plain decoder from memory
//   Freigeben/Datenbestand   freeing the loaded data
//   Boden/Freigeben          freeing what the plain decoder made
//   Schreiben/Datenbestand   Datenbestand::Kodieren into memory
//   Boden/Kodieren           a plain encoder into memory, toUtf8 per field
//   Speichern/Datenbestand   the whole Speichern into the file (encode, write, fsync, rename)
//   Boden/DateiErsetzen      the same bytes written beside the file, fsync, rename
//   ErstesLaden/*            the first load in a fresh process (fork), against the plain
//                            decoder's first run there
//   Spitzenspeicher/*        peak memory of loading, in a fresh process each (ru_maxrss),
//                            against the plain decoder's; as MB and as a multiple of the file
//
//   build-bench/bench/bench_kursliste --benchmark_repetitions=9
//   --benchmark_report_aggregates_only=true

#include "boden.h"
#include "grossbestand.h"
#include "plattform.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>

namespace {

// The file's bytes, made once.
const QByteArray& Datei()
{
    static const QByteArray bytes = [] {
        Datenbestand d;
        Spaltenstruktur s;
        Grossbestand::Erzeugen(d, s);
        QByteArray b;
        QString meldung;
        if (!Datenbestand::Kodieren(d, s, b, meldung)) {
            std::fprintf(stderr, "Schreiben: %s\n", qPrintable(meldung));
            std::abort();
        }
        return b;
    }();
    return bytes;
}

// The file on disk, in a folder of its own for the whole run.
const QString& Pfad()
{
    static QTemporaryDir ordner;
    static const QString pfad = [] {
        const QString p = ordner.filePath(QStringLiteral("gross.zln"));
        QFile datei(p);
        if (!datei.open(QIODevice::WriteOnly) || datei.write(Datei()) != Datei().size()) {
            std::fprintf(stderr, "Datei nicht schreibbar\n");
            std::abort();
        }
        return p;
    }();
    return pfad;
}

QByteArray DateiLesen()
{
    QFile datei(Pfad());
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return datei.readAll();
}

void Bytes(benchmark::State& state)
{
    state.SetBytesProcessed(state.iterations() * Datei().size());
    state.counters["Bytes"] = double(Datei().size());
}

// --- Loading -------------------------------------------------------------------------------

void LadeDatei(benchmark::State& state)
{
    const QString pfad = Pfad();
    // As at start-up: the file is loaded into empty global data; freeing the data of the
    // load before is measured on its own (Freigeben).
    for (auto _ : state) {
        state.PauseTiming();
        GlobaleDatenZuruecksetzen();
        state.ResumeTiming();
        if (!Daten.LadeDatei(pfad))
            state.SkipWithError("LadeDatei abgelehnt");
    }
    GlobaleDatenZuruecksetzen();
    Bytes(state);
}

void BodenLesenUndGehen(benchmark::State& state)
{
    for (auto _ : state) {
        const QByteArray bytes = DateiLesen();
        if (Boden::Gehen(bytes) < 0)
            state.SkipWithError("zu kurz");
    }
    Bytes(state);
}

void BodenLesenUndDekodieren(benchmark::State& state)
{
    for (auto _ : state) {
        auto d = std::make_unique<Boden::Daten>();
        if (!Boden::Dekodieren(DateiLesen(), *d))
            state.SkipWithError("zu kurz");
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
    Bytes(state);
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
        state.PauseTiming();
        d.reset();
        s.reset();
        state.ResumeTiming();
    }
    Bytes(state);
}

void BodenDekodieren(benchmark::State& state)
{
    const QByteArray bytes = Datei();
    for (auto _ : state) {
        auto d = std::make_unique<Boden::Daten>();
        if (!Boden::Dekodieren(bytes, *d))
            state.SkipWithError("zu kurz");
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
    Bytes(state);
}

// --- Freeing -------------------------------------------------------------------------------

void Freigeben(benchmark::State& state)
{
    QByteArray bytes = Datei();
    for (auto _ : state) {
        state.PauseTiming();
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::ReadOnly);
        auto d = std::make_unique<Datenbestand>();
        Spaltenstruktur s;
        QString meldung;
        if (!Datenbestand::Lesen(puffer, *d, s, meldung))
            state.SkipWithError("Lesen abgelehnt");
        state.ResumeTiming();
        d.reset();
    }
}

void BodenFreigeben(benchmark::State& state)
{
    const QByteArray bytes = Datei();
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<Boden::Daten>();
        Boden::Dekodieren(bytes, *d);
        state.ResumeTiming();
        d.reset();
    }
}

// --- Saving --------------------------------------------------------------------------------

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
        if (!Datenbestand::Kodieren(d, s, ziel, meldung, bytes.size()))
            state.SkipWithError("Schreiben fehlgeschlagen");
        benchmark::DoNotOptimize(ziel.size());
    }
    Bytes(state);
}

void BodenKodieren(benchmark::State& state)
{
    Boden::Daten d;
    Boden::Dekodieren(Datei(), d);
    if (Boden::Kodieren(d) != Datei()) {
        state.SkipWithError("Boden kodiert anders");
        return;
    }
    for (auto _ : state) {
        const QByteArray b = Boden::Kodieren(d);
        benchmark::DoNotOptimize(b.size());
    }
    Bytes(state);
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
    GlobaleDatenZuruecksetzen();
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
    Bytes(state);
}

void BodenDateiErsetzen(benchmark::State& state)
{
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("gross.zln"));
    for (auto _ : state) {
        if (Boden::DateiErsetzen(pfad, Datei()) != 0)
            state.SkipWithError("Datei nicht ersetzt");
    }
    Bytes(state);
}

// --- In a fresh process --------------------------------------------------------------------

// A measure run by this program itself in a process of its own (a heap that nothing has
// used before): "--messen ART DATEI" prints one number.
double Messen(const char* art, const QString& pfad)
{
    const auto spitze = [] {
        struct rusage r { };
        getrusage(RUSAGE_SELF, &r);
        return double(r.ru_maxrss) * 1024;
    };
    const auto lesen = [&] {
        QFile datei(pfad);
        return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
    };
    const double vorher = spitze();
    QElapsedTimer uhr;
    uhr.start();
    bool gut = false;
    if (qstrcmp(art, "laden") == 0 || qstrcmp(art, "spitze-laden") == 0) {
        gut = Daten.LadeDatei(pfad);
    } else {
        static Boden::Daten d; // kept until the end, as the loaded data are
        gut = Boden::Dekodieren(lesen(), d);
    }
    const double sekunden = uhr.nsecsElapsed() / 1e9;
    if (!gut)
        return -1;
    return qstrncmp(art, "spitze", 6) == 0 ? spitze() - vorher : sekunden;
}

double ImNeuenProzess(const char* art)
{
    static const QByteArray programm
        = QFile::encodeName(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QByteArray befehl
        = "'" + programm + "' --messen " + art + " '" + QFile::encodeName(Pfad()) + "'";
    FILE* rohr = ::popen(befehl.constData(), "r");
    if (!rohr)
        return -1;
    double wert = -1;
    if (std::fscanf(rohr, "%lf", &wert) != 1)
        wert = -1;
    return ::pclose(rohr) == 0 ? wert : -1;
}

void ImFrischenProzess(benchmark::State& state, const char* art)
{
    for (auto _ : state) {
        const double sekunden = ImNeuenProzess(art);
        if (sekunden < 0) {
            state.SkipWithError("Messung im neuen Prozess fehlgeschlagen");
            return;
        }
        state.SetIterationTime(sekunden);
    }
}

void Spitzenspeicher(benchmark::State& state, const char* art)
{
    double bytes = -1;
    for (auto _ : state) {
        bytes = ImNeuenProzess(art);
        if (bytes < 0) {
            state.SkipWithError("Messung im neuen Prozess fehlgeschlagen");
            return;
        }
    }
    state.counters["MB"] = bytes / 1e6;
    state.counters["xDatei"] = bytes / double(Datei().size());
}

} // namespace

BENCHMARK(LadeDatei)->Name("Laden/LadeDatei")->Unit(benchmark::kMillisecond);
BENCHMARK(BodenLesenUndGehen)->Name("Boden/LesenUndGehen")->Unit(benchmark::kMillisecond);
BENCHMARK(BodenLesenUndDekodieren)->Name("Boden/LesenUndDekodieren")->Unit(benchmark::kMillisecond);
BENCHMARK(Lesen)->Name("Lesen/Datenbestand")->Unit(benchmark::kMillisecond);
BENCHMARK(BodenDekodieren)->Name("Boden/Dekodieren")->Unit(benchmark::kMillisecond);
BENCHMARK(Freigeben)->Name("Freigeben/Datenbestand")->Unit(benchmark::kMillisecond);
BENCHMARK(BodenFreigeben)->Name("Boden/Freigeben")->Unit(benchmark::kMillisecond);
BENCHMARK(Schreiben)->Name("Schreiben/Datenbestand")->Unit(benchmark::kMillisecond);
BENCHMARK(BodenKodieren)->Name("Boden/Kodieren")->Unit(benchmark::kMillisecond);
BENCHMARK(Speichern)->Name("Speichern/Datenbestand")->Unit(benchmark::kMillisecond);
BENCHMARK(BodenDateiErsetzen)->Name("Boden/DateiErsetzen")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImFrischenProzess, LadeDatei, "laden")
    ->Name("ErstesLaden/LadeDatei")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImFrischenProzess, Boden, "boden")
    ->Name("ErstesLaden/Boden")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Spitzenspeicher, LadeDatei, "spitze-laden")
    ->Name("Spitzenspeicher/LadeDatei")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Spitzenspeicher, Boden, "spitze-boden")
    ->Name("Spitzenspeicher/Boden")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--messen") == 0) {
        const double wert = Messen(argv[2], QFile::decodeName(argv[3]));
        std::printf("%.9g\n", wert);
        return wert < 0 ? 1 : 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
