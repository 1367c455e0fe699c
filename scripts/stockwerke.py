#!/usr/bin/python3
"""Checks the floors of the source tree: every #include "…" of a file in src/ points to a
header of its own floor or of a floor below it, and the headers include each other without
a circle. Floors from the ground: model, kit, table, selection, app, then src/main.cpp.

Usage: stockwerke.py [SRC]   (default: the src folder next to this script's folder)
Exit 0 when the house stands, 1 with one line per fault."""

import os
import re
import sys

STOCKWERKE = ["model", "kit", "table", "selection", "app", "."]
EINBINDUNG = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def dateien(wurzel):
    """Every source file: its path relative to the root and its floor."""
    for ordner, _, namen in os.walk(wurzel):
        stock = os.path.relpath(ordner, wurzel).split(os.sep)[0]
        for name in sorted(namen):
            if name.endswith((".h", ".cpp", ".h.in")):
                yield os.path.relpath(os.path.join(ordner, name), wurzel), stock


def main(argv):
    wurzel = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    alle = list(dateien(wurzel))
    # A header is known by its name (the build's include folders are the floors' folders);
    # a generated header is known by the name without ".in".
    kopf = {}
    for pfad, stock in alle:
        name = os.path.basename(pfad)
        if name.endswith(".h.in"):
            name = name[:-3]
        if name.endswith(".h"):
            if name in kopf:
                print(f"{pfad}: header name also in {kopf[name][0]}")
                return 1
            kopf[name] = (pfad, stock)

    fehler = []
    kanten = {}
    for pfad, stock in alle:
        if stock not in STOCKWERKE:
            fehler.append(f"{pfad}: folder {stock} is no floor")
            continue
        with open(os.path.join(wurzel, pfad), encoding="utf-8", errors="replace") as f:
            for nr, zeile in enumerate(f, 1):
                m = EINBINDUNG.match(zeile)
                if not m:
                    continue
                ziel = kopf.get(os.path.basename(m.group(1)))
                if ziel is None:
                    continue  # a header of Qt, libcurl or the system
                if STOCKWERKE.index(ziel[1]) > STOCKWERKE.index(stock):
                    fehler.append(f"{pfad}:{nr}: includes {ziel[0]} from the floor above")
                kanten.setdefault(pfad, []).append(ziel[0])

    # Circles among the files: a depth-first walk that meets a file on its own path.
    farbe = {}
    def besuche(pfad, weg):
        farbe[pfad] = 1
        for ziel in kanten.get(pfad, []):
            if farbe.get(ziel) == 1:
                kreis = weg[weg.index(ziel):] + [ziel]
                fehler.append("circle: " + " -> ".join(kreis))
            elif ziel not in farbe:
                besuche(ziel, weg + [ziel])
        farbe[pfad] = 2
    for pfad, _ in alle:
        if pfad not in farbe:
            besuche(pfad, [pfad])

    for f in fehler:
        print(f)
    if not fehler:
        print(f"{len(alle)} files on {len(STOCKWERKE)} floors, every include points down, no circle")
    return 1 if fehler else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
