"""The program as the driver sees it: its process, its window titles, and where on the
course selection window a person clicks.

Positions are measured from the inside of a window (xwininfo's absolute corner) and hold
for the Fusion style with the fonts that scripts/pakete installs; every click is followed
by a wait for what it must bring, so a moved button shows as a clear failure.
"""

import os
import subprocess
import time

from xsitzung import Fehlschlag, frist_abwarten

# Window titles.
OEFFNEN = "Notenlisten öffnen"
ANMELDUNG = "Passwort eingeben"
KURSAUSWAHL = "Kursauswahl"
SPEICHERN = "Kursdaten speichern"
# The program's WM_CLASS: message boxes are found as new windows of it, since the fallback
# dialog after a failed transfer has no title of its own, and menus carry none.
KLASSE = "ravirireru"

# The login window (inner size 400 × 262): the hint under the password field.
HINWEIS_PASSWORT = (27, 75, 358, 20)


def kursfenster_titel(kurs, halbjahr_kuerzel, abitur):
    rest = "%s - %s%d - %s" % (kurs["Fach"], kurs["KursArt"], kurs["kNr"], kurs["Lehrer"])
    return rest if abitur else "%s - %s" % (halbjahr_kuerzel, rest)


def kurs_titel(kurs):
    """The course as the send question names it: Fach - KursArt kNr - Lehrer."""
    return "%s - %s%d - %s" % (kurs["Fach"], kurs["KursArt"], kurs["kNr"], kurs["Lehrer"])


class Programm:
    """The program's process with a home folder of its own."""

    def __init__(self, sitzung, pfad, dokument, ordner, **umgebung):
        self.sitzung = sitzung
        self.pfad = os.path.abspath(pfad)
        self.dokument = os.path.abspath(dokument)
        self.ordner = ordner
        self.umgebung = umgebung
        self.prozess = None
        self.startzeit = None
        self._log = None

    def starten(self):
        heim = os.path.join(self.ordner, "heim")
        laufzeit = os.path.join(self.ordner, "laufzeit")
        os.makedirs(heim, exist_ok=True)
        os.makedirs(laufzeit, mode=0o700, exist_ok=True)
        env = self.sitzung.umgebung(
            HOME=heim, XDG_CONFIG_HOME=os.path.join(heim, ".config"),
            XDG_CACHE_HOME=os.path.join(heim, ".cache"), XDG_DATA_HOME=os.path.join(heim, ".local/share"),
            XDG_RUNTIME_DIR=laufzeit, LANG="C.UTF-8", LC_ALL="C.UTF-8",
            # A session bus that is not there: without any address libdbus would start one
            # with dbus-launch, which would outlive the run.
            DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(laufzeit, "kein-bus"),
            **self.umgebung)
        self._log = open(os.path.join(self.ordner, "programm.log"), "wb")
        self.startzeit = time.monotonic()
        self.prozess = subprocess.Popen([self.pfad, self.dokument], cwd=self.ordner, env=env,
                                        stdin=subprocess.DEVNULL, stdout=self._log,
                                        stderr=subprocess.STDOUT)

    def laeuft(self):
        return self.prozess is not None and self.prozess.poll() is None

    def lebt(self):
        """Raises Fehlschlag when the program has ended on its own."""
        if self.prozess is not None and self.prozess.poll() is not None:
            raise Fehlschlag("Das Programm hat sich vorzeitig beendet (Rückgabe %d)" % self.prozess.returncode)

    def warte_auf_ende(self, frist=20):
        try:
            return self.prozess.wait(frist)
        except subprocess.TimeoutExpired:
            raise Fehlschlag("Das Programm läuft %d s nach dem Beenden noch" % frist)

    def anhalten(self):
        """Ends a program that is still running (after a failure, or in the benchmark)."""
        if self.laeuft():
            self.prozess.terminate()
            try:
                self.prozess.wait(5)
            except subprocess.TimeoutExpired:
                self.prozess.kill()
                self.prozess.wait(5)
        if self._log is not None:
            self._log.close()
            self._log = None

    def protokoll(self):
        if self._log is not None:
            self._log.flush()
        try:
            with open(os.path.join(self.ordner, "programm.log"), "rb") as datei:
                return datei.read().decode(errors="replace")
        except OSError:
            return ""

    def status(self, feld):
        """A value of /proc/<pid>/status in KiB, e.g. VmHWM (peak resident memory)."""
        with open("/proc/%d/status" % self.prozess.pid) as datei:
            for zeile in datei:
                if zeile.startswith(feld + ":"):
                    return int(zeile.split()[1])
        raise Fehlschlag("%s fehlt in /proc/%d/status" % (feld, self.prozess.pid))


def farbe_benennen(rgb):
    r, g, b = rgb
    if r > 200 and g < 60 and b < 60:
        return "rot"
    if b > 200 and r < 60 and g < 60:
        return "blau"
    if g > 150 and r < 60 and b < 60:
        return "grün"
    if min(rgb) > 235:
        return "keiner"
    return "unbekannt %r" % (rgb,)


class Kursauswahl:
    """The course selection window (480 × 660): menu bar, toolbar, then the course list."""

    # Centres of the toolbar buttons and of the menu "Ablage", from the window's corner.
    KNOEPFE = {"Kursliste zeigen": (59, 49), "Speichern": (153, 49), "Senden": (223, 49)}
    MENUE_ABLAGE = (30, 9)
    ZEILENHOEHE = 20      # the list's default row height
    PUNKT_X = 10          # centre of the state dot in column 0 (circle at 5..15)
    TEXT_X = 100          # a point inside the column "Fach"

    def __init__(self, sitzung, fenster_id):
        self.sitzung = sitzung
        self.id = fenster_id
        self.x, self.y, self.breite, self.hoehe = sitzung.geometrie(fenster_id)
        self.zeile0 = self._ausgewaehlte_zeile()

    def _ausgewaehlte_zeile(self):
        """Centre (y inside the window) of the selected row, found by the selection colour:
        at the start the first course is selected."""
        def suchen():
            bild = self.sitzung.bild(self.id)
            laeufe, anfang = [], None
            for yy in range(bild.hoehe):
                r, g, b = bild.pixel(self.TEXT_X, yy)
                blaeulich = b > 200 and b - r > 30 and r < 235
                if blaeulich and anfang is None:
                    anfang = yy
                elif not blaeulich and anfang is not None:
                    laeufe.append((yy - anfang, anfang))
                    anfang = None
            laeufe = [l for l in laeufe if l[0] >= self.ZEILENHOEHE - 4]
            return laeufe[0][1] + laeufe[0][0] // 2 if laeufe else None
        return frist_abwarten(suchen, 10, takt=0.2, was="eine ausgewählte Zeile in der Kursauswahl")

    def zeilenmitte(self, zeile):
        """Screen position of a point in the column "Fach" of a row."""
        return self.x + self.TEXT_X, self.y + self.zeile0 + zeile * self.ZEILENHOEHE

    def ist_ausgewaehlt(self, zeile):
        r, g, b = self.sitzung.bild(self.id).pixel(self.TEXT_X, self.zeile0 + zeile * self.ZEILENHOEHE)
        return b > 200 and b - r > 30 and r < 235

    def punkt(self, zeile=0):
        """Colour of the state dot of a row: "rot", "blau", "grün" or "keiner"."""
        bild = self.sitzung.bild(self.id)
        return farbe_benennen(bild.pixel(self.PUNKT_X, self.zeile0 + zeile * self.ZEILENHOEHE))

    def warte_auf_punkt(self, farbe, zeile=0, frist=10):
        gesehen = []

        def pruefen():
            gesehen.append(self.punkt(zeile))
            return gesehen[-1] == farbe
        try:
            frist_abwarten(pruefen, frist, takt=0.2, was="der Punkt der Zeile %d ist %s" % (zeile, farbe))
        except Fehlschlag as fehler:
            raise Fehlschlag("%s (zuletzt: %s)" % (fehler, gesehen[-1] if gesehen else "?"))

    def knopf(self, name):
        dx, dy = self.KNOEPFE[name]
        self.sitzung.klick(self.x + dx, self.y + dy)

    def menue_ablage(self):
        """Opens the menu "Ablage" with a click; returns the id of its popup window."""
        bekannte = self.sitzung.fenster_der_klasse(KLASSE)
        dx, dy = self.MENUE_ABLAGE
        self.sitzung.klick(self.x + dx, self.y + dy, danach_weg=False)
        return self.sitzung.warte_auf_neues_fenster(KLASSE, bekannte, popup=True)
