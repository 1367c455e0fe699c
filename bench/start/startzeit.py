#!/usr/bin/python3
"""Start-up benchmark of the program (not a test): how long from the start of the process
until the open dialog and until the login window are on the screen, and how much memory the
program holds at its peak once the largest course of the demo file is open.

Every run starts the built program on a fresh copy of the demo course list in an X server of
its own (Xvfb + openbox, as the end-to-end test; its helpers come from tests/e2e). The open
dialog is answered with Return as soon as it has the focus, the login with the demo password
and a name; then the course with the most students is opened with a double-click and the
program's VmHWM (peak resident set) is read from /proc/<pid>/status.

With --boden every run also starts a minimal Qt program that shows the same open dialog and
nothing else (bench/start/minimaldialog.cpp): start → open dialog of the program and of that
floor are measured as pairs in the same run, their medians and ratio stand side by side.

With --vergleich-libcurl every run starts the program a second time with libcurl preloaded
(LD_PRELOAD), as it was loaded at start before the mail client loaded it on the first send;
both medians stand side by side, measured in the same run.

Times are taken by polling the window list as fast as xdotool answers (a few milliseconds
per look), so they carry that much resolution. "Start → login" also holds what a person (here
the script) needs between seeing the dialog and pressing Return: waiting for the focus and
sending the key, some ten milliseconds; the line "Return → login" shows the program's part
after the key. The figures are medians over --laeufe runs; the machine should be idle.

    startzeit.py --programm build/src/ravirireru --werkzeug build/tools/ravirireru-datei \\
                 --demo build/demo/demo.zln [--laeufe 10]
or  cmake --build build --target bench_start
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))

import oberflaeche as ui                                    # noqa: E402
from xsitzung import Fehlschlag, XSitzung, frist_abwarten   # noqa: E402

ZIEL_START_MS = 400
ZIEL_SPEICHER_MB = 80


def warte_genau(sitzung, titel, frist=30):
    """Waits for a visible window with the title, polling as fast as xdotool answers;
    returns (window id, time it was first seen)."""
    ende = time.monotonic() + frist
    while True:
        ids = sitzung.fenster(titel)
        jetzt = time.monotonic()
        if ids:
            return ids[0], jetzt
        if jetzt > ende:
            raise Fehlschlag("Fenster „%s“ erscheint nicht innerhalb von %d s" % (titel, frist))


def bibliotheken(programm):
    """The number of shared libraries mapped into the program."""
    with open("/proc/%d/maps" % programm.prozess.pid) as datei:
        return len({zeile.split()[-1] for zeile in datei if ".so" in zeile.split()[-1]})


def ein_lauf(sitzung, args, daten, kursindex, ordner, **umgebung):
    kursliste = os.path.join(ordner, "Demo-Kursliste.zln")
    shutil.copy(args.demo, kursliste)
    programm = ui.Programm(sitzung, args.programm, kursliste, ordner, **umgebung)
    try:
        programm.starten()
        beginn = programm.startzeit
        dialog, t_dialog = warte_genau(sitzung, ui.OEFFNEN)
        frist_abwarten(lambda: sitzung.aktives_fenster() == dialog, 10, takt=0.002,
                       was="der Öffnen-Dialog hat den Fokus")
        t_fokus = time.monotonic()
        sitzung.taste("Return", verzoegerung=1)
        t_return = time.monotonic()
        anmeldung, t_anmeldung = warte_genau(sitzung, ui.ANMELDUNG)
        speicher_anmeldung = programm.status("VmHWM")
        bibliotheken_anmeldung = bibliotheken(programm)

        sitzung.aktivieren(anmeldung)
        sitzung.tippen(daten["NotenPass"])
        sitzung.taste("Tab")
        sitzung.tippen("Benchmark")
        sitzung.taste("Return")
        fenster = sitzung.warte_auf_fenster(ui.KURSAUSWAHL)
        sitzung.aktivieren(fenster)
        auswahl = ui.Kursauswahl(sitzung, fenster)
        kurs = daten["alleKurse"][kursindex]
        titel = ui.kursfenster_titel(kurs, daten["HalbjahrKuerzel"], daten["istAbiturListe"])
        sitzung.klick(*auswahl.zeilenmitte(kursindex), anzahl=2)
        kursfenster, t_kurs_da = warte_genau(sitzung, titel)
        sitzung.aktivieren(kursfenster)
        time.sleep(1.0)           # let the table paint and settle before reading the peak
        return {
            "dialog_ms": (t_dialog - beginn) * 1000,
            "fokus_ms": (t_fokus - beginn) * 1000,
            "anmeldung_ms": (t_anmeldung - beginn) * 1000,
            "return_bis_anmeldung_ms": (t_anmeldung - t_return) * 1000,
            "hwm_anmeldung_kib": speicher_anmeldung,
            "bibliotheken_anmeldung": bibliotheken_anmeldung,
            "hwm_kurs_kib": programm.status("VmHWM"),
            "rss_kurs_kib": programm.status("VmRSS"),
        }
    except Fehlschlag:
        print(programm.protokoll()[-3000:], file=sys.stderr)
        raise
    finally:
        programm.anhalten()


def boden_lauf(sitzung, programm_pfad, kursliste, ordner):
    """The floor: start → open dialog of the minimal Qt program showing the same dialog."""
    programm = ui.Programm(sitzung, programm_pfad, kursliste, ordner)
    try:
        programm.starten()
        _, t_dialog = warte_genau(sitzung, ui.OEFFNEN)
        return (t_dialog - programm.startzeit) * 1000
    except Fehlschlag:
        print(programm.protokoll()[-3000:], file=sys.stderr)
        raise
    finally:
        programm.anhalten()


def mb(kib):
    return kib * 1024 / 1e6


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--programm", required=True)
    parser.add_argument("--werkzeug", required=True)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--laeufe", type=int, default=10)
    parser.add_argument("--display", type=int,
                        help="the X display number to use (default: the first free one)")
    parser.add_argument("--json", help="also write the single runs and medians to this file")
    parser.add_argument("--boden", help="the minimal Qt program showing the same open dialog (the floor)")
    parser.add_argument("--vergleich-libcurl", action="store_true",
                        help="every run also with libcurl preloaded, as loaded at start before")
    args = parser.parse_args()

    daten = json.loads(subprocess.run([args.werkzeug, "json", "--geheim", args.demo], check=True,
                                      stdout=subprocess.PIPE).stdout)
    groessen = [k["Schueler"].strip(",").count(",") + 1 if k["Schueler"].strip(",") else 0
                for k in daten["alleKurse"]]
    kursindex = groessen.index(max(groessen))
    kurs = daten["alleKurse"][kursindex]
    print("Programm: %s" % os.path.abspath(args.programm))
    print("Größter Kurs der Demo-Datei: %s %s%d (%d Schüler), Zeile %d der Kursauswahl"
          % (kurs["Fach"], kurs["KursArt"], kurs["kNr"], groessen[kursindex], kursindex + 1))

    laeufe = []
    vorab = []
    boden = []
    with tempfile.TemporaryDirectory(prefix="ravirireru-startzeit-") as tmp:
        with XSitzung(tmp, protokoll=lambda text: None, display=args.display) as sitzung:
            for nummer in range(1, args.laeufe + 1):
                ordner = os.path.join(tmp, "lauf%02d" % nummer)
                os.makedirs(ordner)
                lauf = ein_lauf(sitzung, args, daten, kursindex, ordner)
                laeufe.append(lauf)
                print("Lauf %2d: Öffnen-Dialog %6.1f ms, Anmeldung %6.1f ms, VmHWM mit Kurs %6.1f MB, "
                      "%d Bibliotheken"
                      % (nummer, lauf["dialog_ms"], lauf["anmeldung_ms"], mb(lauf["hwm_kurs_kib"]),
                         lauf["bibliotheken_anmeldung"]), flush=True)
                if args.boden:
                    ordner = os.path.join(tmp, "lauf%02d-boden" % nummer)
                    os.makedirs(ordner)
                    kursliste = os.path.join(ordner, "Demo-Kursliste.zln")
                    shutil.copy(args.demo, kursliste)
                    boden.append(boden_lauf(sitzung, args.boden, kursliste, ordner))
                    print("   Boden (bloßes Qt-Programm mit demselben Dialog): Öffnen-Dialog %6.1f ms, "
                          "Verhältnis %.2f" % (boden[-1], lauf["dialog_ms"] / boden[-1]), flush=True)
                if args.vergleich_libcurl:
                    ordner = os.path.join(tmp, "lauf%02d-libcurl" % nummer)
                    os.makedirs(ordner)
                    lauf = ein_lauf(sitzung, args, daten, kursindex, ordner, LD_PRELOAD="libcurl.so.4")
                    vorab.append(lauf)
                    print("   mit libcurl vorab: Öffnen-Dialog %6.1f ms, Anmeldung %6.1f ms, "
                          "VmHWM mit Kurs %6.1f MB, %d Bibliotheken"
                          % (lauf["dialog_ms"], lauf["anmeldung_ms"], mb(lauf["hwm_kurs_kib"]),
                             lauf["bibliotheken_anmeldung"]), flush=True)

    median = {schluessel: statistics.median(l[schluessel] for l in laeufe) for schluessel in laeufe[0]}
    print()
    print("Median über %d Läufe:" % len(laeufe))
    print("  Start → Öffnen-Dialog sichtbar:           %6.1f ms" % median["dialog_ms"])
    if boden:
        boden_median = statistics.median(boden)
        verhaeltnisse = [l["dialog_ms"] / b for l, b in zip(laeufe, boden)]
        print("  Boden: bloßes Qt-Programm, derselbe Dialog: %6.1f ms   Verhältnis der Mediane %.2f, "
              "Median der Verhältnisse je Paar %.2f (Ziel ≤ 1.1: %s)"
              % (boden_median, median["dialog_ms"] / boden_median, statistics.median(verhaeltnisse),
                 "erreicht" if statistics.median(verhaeltnisse) <= 1.1 else "VERFEHLT"))
    print("  Start → Öffnen-Dialog hat den Fokus:      %6.1f ms" % median["fokus_ms"])
    print("  Start → Anmeldefenster sichtbar:          %6.1f ms   (Ziel < %d ms: %s)"
          % (median["anmeldung_ms"], ZIEL_START_MS,
             "erreicht" if median["anmeldung_ms"] < ZIEL_START_MS else "VERFEHLT"))
    print("  davon Return gesendet → Anmeldefenster:   %6.1f ms" % median["return_bis_anmeldung_ms"])
    print("  Spitzenspeicher (VmHWM) bei der Anmeldung: %6.1f MB (%.1f MiB)"
          % (mb(median["hwm_anmeldung_kib"]), median["hwm_anmeldung_kib"] / 1024))
    print("  Spitzenspeicher (VmHWM) mit größtem Kurs:  %6.1f MB (%.1f MiB)   (Ziel < %d MB: %s)"
          % (mb(median["hwm_kurs_kib"]), median["hwm_kurs_kib"] / 1024, ZIEL_SPEICHER_MB,
             "erreicht" if mb(median["hwm_kurs_kib"]) < ZIEL_SPEICHER_MB else "VERFEHLT"))
    print("  Spannweite Start → Anmeldung: %.1f … %.1f ms"
          % (min(l["anmeldung_ms"] for l in laeufe), max(l["anmeldung_ms"] for l in laeufe)))
    print("  Bibliotheken im Prozess bei der Anmeldung: %d" % median["bibliotheken_anmeldung"])
    if vorab:
        m = {schluessel: statistics.median(l[schluessel] for l in vorab) for schluessel in vorab[0]}
        print()
        print("Zum Vergleich, libcurl beim Start geladen (LD_PRELOAD), im selben Lauf:")
        print("  Start → Öffnen-Dialog sichtbar:           %6.1f ms   (ohne: %6.1f ms)"
              % (m["dialog_ms"], median["dialog_ms"]))
        print("  Start → Anmeldefenster sichtbar:          %6.1f ms   (ohne: %6.1f ms)"
              % (m["anmeldung_ms"], median["anmeldung_ms"]))
        print("  Spitzenspeicher (VmHWM) bei der Anmeldung: %6.1f MB   (ohne: %6.1f MB)"
              % (mb(m["hwm_anmeldung_kib"]), mb(median["hwm_anmeldung_kib"])))
        print("  Bibliotheken im Prozess bei der Anmeldung: %6d      (ohne: %6d)"
              % (m["bibliotheken_anmeldung"], median["bibliotheken_anmeldung"]))
    if args.json:
        with open(args.json, "w", encoding="utf-8") as datei:
            json.dump({"laeufe": laeufe, "median": median, "libcurl_vorab": vorab, "boden_dialog_ms": boden},
                      datei, indent=1)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Fehlschlag as fehler:
        print("Benchmark abgebrochen: %s" % fehler, file=sys.stderr)
        sys.exit(1)
