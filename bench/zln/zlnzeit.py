#!/usr/bin/python3
"""The file tool's "zln" on the JSON of the course-list file at the format's limits (the
benchmarks' own file: 3,000 students, 100 courses, 32,767 rows), beside its floor measured in
the same run: python's json.load of the same JSON alone, in a process of its own.

Every run starts both as processes of their own, one after the other; wall time and peak
memory (ru_maxrss of the finished process) of each. The figures are medians over --laeufe runs.

    zlnzeit.py --werkzeug build/tools/ravirireru-datei --grossdatei build/bench/grossdatei [--laeufe 9]
or  cmake --build build --target bench_zln
"""

import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

ZIEL_ZEIT = 1.0
ZIEL_SPEICHER = 1.2


def lauf(befehl):
    """Runs the command; returns (seconds, peak MiB)."""
    beginn = time.monotonic()
    prozess = subprocess.Popen(befehl, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, nutzung = os.wait4(prozess.pid, 0)
    dauer = time.monotonic() - beginn
    fehler = prozess.stderr.read().decode("utf-8", "replace")
    prozess.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit("%s schlug fehl: %s" % (" ".join(befehl), fehler))
    return dauer, nutzung.ru_maxrss / 1024


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--werkzeug", required=True)
    parser.add_argument("--grossdatei", required=True)
    parser.add_argument("--laeufe", type=int, default=9)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="ravirireru-zlnzeit-") as tmp:
        zln = os.path.join(tmp, "gross.zln")
        json_pfad = os.path.join(tmp, "gross.json")
        subprocess.run([args.grossdatei, zln], check=True)
        with open(json_pfad, "wb") as datei:
            subprocess.run([args.werkzeug, "json", "--geheim", zln], check=True, stdout=datei)
        print("JSON der Grenzdatei: %.1f MB (Kursliste %.1f MB)"
              % (os.path.getsize(json_pfad) / 1e6, os.path.getsize(zln) / 1e6))

        neu = os.path.join(tmp, "neu.zln")
        werkzeug, boden = [], []
        for nummer in range(1, args.laeufe + 1):
            werkzeug.append(lauf([args.werkzeug, "zln", json_pfad, neu]))
            boden.append(lauf([sys.executable, "-c",
                               "import json, sys\n"
                               "with open(sys.argv[1], encoding='utf-8') as f:\n"
                               "    json.load(f)\n", json_pfad]))
            print("Lauf %2d: zln %6.0f ms, %6.1f MiB; json.load %6.0f ms, %6.1f MiB"
                  % (nummer, werkzeug[-1][0] * 1000, werkzeug[-1][1], boden[-1][0] * 1000, boden[-1][1]),
                  flush=True)
        with open(zln, "rb") as a, open(neu, "rb") as b:
            if a.read() != b.read():
                raise SystemExit("zln schreibt andere Bytes als die Grenzdatei")

    zeit = statistics.median(z for z, _ in werkzeug)
    speicher = statistics.median(s for _, s in werkzeug)
    bzeit = statistics.median(z for z, _ in boden)
    bspeicher = statistics.median(s for _, s in boden)
    print()
    print("Median über %d Läufe (Last: %s):" % (args.laeufe, " ".join("%.2f" % l for l in os.getloadavg())))
    print("  ravirireru-datei zln:          %6.0f ms  %6.1f MiB" % (zeit * 1000, speicher))
    print("  Boden, python3 json.load:      %6.0f ms  %6.1f MiB" % (bzeit * 1000, bspeicher))
    print("  Verhältnis Zeit %.2f (Ziel ≤ %.1f: %s), Speicher %.2f (Ziel ≤ %.1f: %s)"
          % (zeit / bzeit, ZIEL_ZEIT, "erreicht" if zeit / bzeit <= ZIEL_ZEIT else "VERFEHLT",
             speicher / bspeicher, ZIEL_SPEICHER,
             "erreicht" if speicher / bspeicher <= ZIEL_SPEICHER else "VERFEHLT"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
