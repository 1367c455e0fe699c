"""An X session of its own for driving the real program like a person does.

Xvfb on a free display (-displayfd), a German keyboard layout (setxkbmap de, so that
umlauts are real keys), the openbox window manager (focus, modal dialogs on top), and
thin wrappers around xdotool (keys, typing, mouse), xwininfo (where a window is),
ImageMagick's import (screenshots, pixels) and xclip (the text a program offers as the X
selection). Standard library only; run with /usr/bin/python3.

Waits poll the window list themselves, a few times per 100 ms and with a deadline:
"xdotool search --sync" looks only every half second and waits without end.
"""

import os
import select
import shutil
import subprocess
import time

# Characters that are special in the POSIX extended regular expressions of xdotool.
_ERE_SONDERZEICHEN = set(".[]()*+?{}|^$\\")


class Fehlschlag(Exception):
    """A step of the road did not go as it should; the text says what was seen."""


def frist_abwarten(pruefung, frist, takt=0.05, was="Bedingung"):
    """Calls pruefung() until it returns something true; returns that value.
    Raises Fehlschlag when frist seconds have passed."""
    ende = time.monotonic() + frist
    while True:
        ergebnis = pruefung()
        if ergebnis:
            return ergebnis
        if time.monotonic() >= ende:
            raise Fehlschlag("Nach %.1f s noch nicht erfüllt: %s" % (frist, was))
        time.sleep(takt)


class Bild:
    """A picture as 8-bit RGB pixels, read from ImageMagick's binary PPM (P6)."""

    def __init__(self, ppm):
        teile = []
        pos = 0
        # Header: magic, width, height, maximum value, each followed by whitespace.
        while len(teile) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            if ppm[pos:pos + 1] == b"#":
                pos = ppm.index(b"\n", pos) + 1
                continue
            anfang = pos
            while not ppm[pos:pos + 1].isspace():
                pos += 1
            teile.append(ppm[anfang:pos])
        if teile[0] != b"P6" or int(teile[3]) != 255:
            raise Fehlschlag("Unerwartetes Bildformat von ImageMagick: %r" % teile)
        self.breite = int(teile[1])
        self.hoehe = int(teile[2])
        self.daten = ppm[pos + 1:]
        if len(self.daten) < self.breite * self.hoehe * 3:
            raise Fehlschlag("Bild unvollständig")

    def pixel(self, x, y):
        if not (0 <= x < self.breite and 0 <= y < self.hoehe):
            raise Fehlschlag("Pixel (%d, %d) liegt außerhalb von %dx%d" % (x, y, self.breite, self.hoehe))
        i = (y * self.breite + x) * 3
        return tuple(self.daten[i:i + 3])

    def dunkle_pixel(self, x, y, breite, hoehe, grenze=128):
        """Number of pixels in the rectangle whose brightness is below grenze (text)."""
        anzahl = 0
        for yy in range(y, min(y + hoehe, self.hoehe)):
            for xx in range(x, min(x + breite, self.breite)):
                r, g, b = self.pixel(xx, yy)
                if (r * 299 + g * 587 + b * 114) // 1000 < grenze:
                    anzahl += 1
        return anzahl


class XSitzung:
    """Xvfb + openbox; use as a context manager. Every tool runs with this DISPLAY."""

    def __init__(self, arbeitsordner, breite=1280, hoehe=1024, protokoll=print, display=None):
        self.ordner = arbeitsordner
        # A display number of its own (e.g. 45) instead of the first free one.
        self.feste_nummer = display
        self.groesse = (breite, hoehe)
        self.protokoll = protokoll
        self.display = None
        self._xvfb = None
        self._wm = None
        self._logs = []
        # Called while waiting for a window; raises Fehlschlag when the program is gone.
        self.lebenszeichen = lambda: None

    # --- Start and end -----------------------------------------------------------------

    def __enter__(self):
        try:
            self.starten()
        except BaseException:
            self.beenden()
            raise
        return self

    def __exit__(self, *fehler):
        self.beenden()
        return False

    def _log(self, name):
        datei = open(os.path.join(self.ordner, name), "wb")
        self._logs.append(datei)
        return datei

    def starten(self):
        for programm in ("Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "import", "setxkbmap",
                         "xclip"):
            if shutil.which(programm) is None:
                raise Fehlschlag("Programm fehlt: %s (scripts/pakete installiert es)" % programm)
        lesen, schreiben = os.pipe()
        try:
            self._xvfb = subprocess.Popen(
                ["Xvfb"] + ([":%d" % self.feste_nummer] if self.feste_nummer is not None else [])
                + ["-displayfd", str(schreiben), "-screen", "0",
                   "%dx%dx24" % self.groesse, "-nolisten", "tcp", "-noreset"],
                pass_fds=(schreiben,), stdin=subprocess.DEVNULL,
                stdout=self._log("xvfb.log"), stderr=subprocess.STDOUT)
            os.close(schreiben)
            schreiben = -1
            nummer = b""
            ende = time.monotonic() + 20
            while not nummer.endswith(b"\n"):
                rest = ende - time.monotonic()
                if rest <= 0 or self._xvfb.poll() is not None:
                    raise Fehlschlag("Xvfb meldet keine Display-Nummer (siehe xvfb.log)")
                bereit, _, _ = select.select([lesen], [], [], rest)
                if bereit:
                    stueck = os.read(lesen, 64)
                    if not stueck:
                        raise Fehlschlag("Xvfb hat die Display-Nummer nicht geschrieben")
                    nummer += stueck
        finally:
            os.close(lesen)
            if schreiben >= 0:
                os.close(schreiben)
        self.display = ":" + nummer.decode().strip()
        self.protokoll("Xvfb auf Display %s" % self.display)
        # A German keyboard, as the teacher's: umlauts are typed as real keys.
        self.x("setxkbmap", "-layout", "de")
        self._wm = subprocess.Popen(
            ["openbox", "--sm-disable"], env=self.umgebung(), stdin=subprocess.DEVNULL,
            stdout=self._log("openbox.log"), stderr=subprocess.STDOUT)
        frist_abwarten(lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                      pruefen=False),
                       15, was="openbox verwaltet die Fenster")

    def beenden(self):
        for prozess in (self._wm, self._xvfb):
            if prozess is None or prozess.poll() is not None:
                continue
            prozess.terminate()
            try:
                prozess.wait(5)
            except subprocess.TimeoutExpired:
                prozess.kill()
                prozess.wait(5)
        self._wm = self._xvfb = None
        for datei in self._logs:
            datei.close()
        self._logs = []

    def umgebung(self, basis=None, **zusaetzlich):
        """The environment for a program in this session: DISPLAY set, no connection to the
        desktop session of whoever runs the test."""
        env = dict(os.environ if basis is None else basis)
        for name in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER",
                     "XAUTHORITY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                     "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_STYLE_OVERRIDE", "QT_QPA_PLATFORMTHEME"):
            env.pop(name, None)
        env["DISPLAY"] = self.display
        env.update(zusaetzlich)
        return env

    # --- Tools -------------------------------------------------------------------------

    def x(self, *befehl, pruefen=True, frist=20, binaer=False):
        """Runs an X tool in this session and returns its standard output."""
        try:
            ergebnis = subprocess.run(list(befehl), env=self.umgebung(), stdin=subprocess.DEVNULL,
                                      stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=frist)
        except subprocess.TimeoutExpired:
            raise Fehlschlag("%s antwortet nicht innerhalb von %d s" % (" ".join(befehl), frist))
        if pruefen and ergebnis.returncode != 0:
            raise Fehlschlag("%s: Rückgabe %d: %s" % (" ".join(befehl), ergebnis.returncode,
                                                       ergebnis.stderr.decode(errors="replace").strip()))
        return ergebnis.stdout if binaer else ergebnis.stdout.decode("utf-8", errors="replace")

    @staticmethod
    def _suchmuster(titel):
        """A regular expression for xdotool from the longest ASCII part of a title (the exact
        comparison follows in Python, so umlauts need not pass through the regex)."""
        stuecke, aktuell = [], ""
        for zeichen in titel:
            if ord(zeichen) < 128:
                aktuell += "\\" + zeichen if zeichen in _ERE_SONDERZEICHEN else zeichen
            else:
                stuecke.append(aktuell)
                aktuell = ""
        stuecke.append(aktuell)
        return max(stuecke, key=len) or "."

    def fenster(self, titel):
        """The visible windows whose title is exactly titel."""
        ausgabe = self.x("xdotool", "search", "--onlyvisible", "--name", self._suchmuster(titel),
                         pruefen=False)
        treffer = []
        for zeile in ausgabe.split():
            name = self.x("xdotool", "getwindowname", zeile, pruefen=False).rstrip("\n")
            if name == titel:
                treffer.append(int(zeile))
        return treffer

    def fenster_der_klasse(self, klasse):
        """Ids of the visible windows of a program (WM_CLASS), popup menus included, which
        carry no title."""
        ausgabe = self.x("xdotool", "search", "--onlyvisible", "--class", klasse, pruefen=False)
        return {int(zeile) for zeile in ausgabe.split()}

    def ist_popup(self, fenster_id):
        """Menus and tooltips bypass the window manager (override-redirect); dialogs do not."""
        ausgabe = self.x("xwininfo", "-id", str(fenster_id), pruefen=False)
        return "Override Redirect State: yes" in ausgabe

    def warte_auf_neues_fenster(self, klasse, bekannte, frist=15, popup=False):
        """Waits for a visible window of the program that is not among bekannte: a dialog,
        or with popup=True a menu."""
        def suchen():
            self.lebenszeichen()
            neu = [f for f in self.fenster_der_klasse(klasse) - set(bekannte)
                   if self.ist_popup(f) == popup]
            return min(neu) if neu else None
        return frist_abwarten(suchen, frist, was="ein neues %s von %s"
                              % ("Menü" if popup else "Fenster", klasse))

    def sichtbare_fenster(self):
        """(id, title) of every visible named window, for the failure report."""
        ausgabe = self.x("xdotool", "search", "--onlyvisible", "--name", ".", pruefen=False)
        liste = []
        for zeile in ausgabe.split():
            liste.append((int(zeile), self.x("xdotool", "getwindowname", zeile, pruefen=False).rstrip("\n")))
        return liste

    def warte_auf_fenster(self, titel, frist=15):
        """Waits until exactly one visible window carries the title; returns its id."""
        def suchen():
            self.lebenszeichen()
            ids = self.fenster(titel)
            return ids[0] if len(ids) == 1 else None
        return frist_abwarten(suchen, frist, was="Fenster „%s“ sichtbar" % titel)

    def ist_sichtbar(self, fenster_id):
        ergebnis = subprocess.run(["xwininfo", "-id", str(fenster_id)], env=self.umgebung(),
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=20)
        return ergebnis.returncode == 0 and b"IsViewable" in ergebnis.stdout

    def warte_bis_weg(self, fenster_id, frist=15, name="Fenster"):
        frist_abwarten(lambda: not self.ist_sichtbar(fenster_id), frist, was="%s geschlossen" % name)

    def geometrie(self, fenster_id):
        """(x, y, width, height) of the window's inside on the screen (xwininfo; xdotool's
        getwindowgeometry counts the frame of a reparenting window manager twice)."""
        werte = {}
        for zeile in self.x("xwininfo", "-id", str(fenster_id)).splitlines():
            name, _, wert = zeile.strip().partition(":")
            werte[name] = wert.strip()
        return (int(werte["Absolute upper-left X"]), int(werte["Absolute upper-left Y"]),
                int(werte["Width"]), int(werte["Height"]))

    def aktives_fenster(self):
        ausgabe = self.x("xdotool", "getactivewindow", pruefen=False).strip()
        return int(ausgabe) if ausgabe.isdigit() else None

    def aktivieren(self, fenster_id, frist=10):
        """Makes sure the window has the keyboard focus before anything is typed."""
        if self.aktives_fenster() == fenster_id:
            return
        self.x("xdotool", "windowactivate", str(fenster_id), pruefen=False)
        frist_abwarten(lambda: self.aktives_fenster() == fenster_id, frist,
                       was="Fenster %d hat den Fokus" % fenster_id)

    def taste(self, *tasten, verzoegerung=40):
        self.x("xdotool", "key", "--delay", str(verzoegerung), *tasten)

    def tippen(self, text):
        self.x("xdotool", "type", "--delay", "25", "--", text)

    def klick(self, x, y, anzahl=1, danach_weg=True):
        """Clicks at a point of the screen; then the pointer leaves for the screen's corner,
        so that no tooltip of the clicked button pops up later."""
        self.x("xdotool", "mousemove", "--sync", str(x), str(y))
        self.x("xdotool", "click", "--repeat", str(anzahl), "--delay", "90", "1")
        if danach_weg:
            self.maus_weg()

    def maus_weg(self):
        """Moves the pointer to the screen's bottom right corner, away from every window."""
        self.x("xdotool", "mousemove", str(self.groesse[0] - 1), str(self.groesse[1] - 1))

    def auswahl_zeitpunkt(self):
        """When the current owner took the X selection PRIMARY (its TIMESTAMP target);
        changes with every new selection, even of the same text."""
        ergebnis = subprocess.run(["xclip", "-o", "-selection", "primary", "-t", "TIMESTAMP"],
                                  env=self.umgebung(), stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, timeout=20)
        return ergebnis.stdout if ergebnis.returncode == 0 else None

    def neue_auswahl(self, vorher, frist=5):
        """Waits until the program has taken the X selection anew (after a click or key that
        selects text) and returns the selected text."""
        frist_abwarten(lambda: self.auswahl_zeitpunkt() not in (None, vorher), frist, takt=0.02,
                       was="das Programm bietet eine neue Textauswahl an")
        return self.x("xclip", "-o", "-selection", "primary", pruefen=False)

    def markierten_text_lesen(self, x, y):
        """Triple-clicks at a point of a selectable text (the labels of a message box) and
        returns what the program then offers as the X selection (PRIMARY): the whole
        paragraph under the pointer, exactly as the program holds it."""
        self.x("xdotool", "mousemove", "--sync", str(x), str(y))
        vorher = self.auswahl_zeitpunkt()
        self.x("xdotool", "click", "--repeat", "3", "--delay", "80", "1")
        return self.neue_auswahl(vorher)

    # --- Pictures ----------------------------------------------------------------------

    def foto(self, pfad):
        """A screenshot of the whole screen, kept for a person to look at."""
        self.x("import", "-window", "root", pfad)

    def bild(self, fenster_id=None):
        """The pixels of a window's inside (or of the whole screen)."""
        ziel = "root" if fenster_id is None else str(fenster_id)
        return Bild(self.x("import", "-window", ziel, "-depth", "8", "ppm:-", binaer=True))
