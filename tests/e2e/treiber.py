"""The shared runner of the end-to-end drivers: their command line and their main function.

Every driver walks one road (a subclass of notenweg.Lauf with its own ausfuehren) and leaves
the rest here: the arguments every road takes, a fresh output folder, a temporary folder for
the run, and the report at the end (BESTANDEN, FEHLGESCHLAGEN with the reason, or the Python
traceback), with exit code 0 or 1.
"""

import argparse
import os
import shutil
import tempfile
import traceback

from xsitzung import Fehlschlag


def argumente(beschreibung, faelle=None, mit_mailserver=False):
    """The command line of a driver; with faelle, --fall chooses one of them."""
    parser = argparse.ArgumentParser(description=beschreibung)
    if faelle:
        parser.add_argument("--fall", choices=faelle, required=True)
    parser.add_argument("--programm", required=True, help="the built program (ravirireru)")
    parser.add_argument("--werkzeug", required=True, help="the file tool (ravirireru-datei)")
    parser.add_argument("--demo", required=True, help="the demo course list (demo.zln)")
    if mit_mailserver:
        parser.add_argument("--smtp-skript", required=True, help="tests/support/smtp/smtps_server.py")
    else:
        parser.add_argument("--smtp-skript", default="", help="not used on this road")
    parser.add_argument("--ausgabe", required=True, help="folder for screenshots and logs")
    return parser.parse_args()


def ein_fall(lauf_klasse, beschreibung, fall):
    """The main function of a driver with one case: its command line, then its road."""
    args = argumente(beschreibung)
    args.fall = fall
    return ausfuehren(lauf_klasse, args)


def ausfuehren(lauf_klasse, args, vorab=None):
    """Runs the road of lauf_klasse in a temporary folder of its own and reports the result.

    The output folder starts empty. vorab() runs before anything else; when it returns an
    exit code, the run ends there with it (a case that cannot run on this machine)."""
    args.ausgabe = os.path.abspath(args.ausgabe)
    shutil.rmtree(args.ausgabe, ignore_errors=True)
    os.makedirs(args.ausgabe)
    if vorab is not None:
        code = vorab()
        if code is not None:
            return code
    with tempfile.TemporaryDirectory(prefix="ravirireru-e2e-") as tmp:
        lauf = lauf_klasse(args, tmp)
        try:
            lauf.ausfuehren()
        except Fehlschlag as fehler:
            lauf.melde("FEHLGESCHLAGEN:\n%s" % fehler)
            lauf.melde("Bilder und Protokolle: %s" % args.ausgabe)
            return 1
        except Exception:
            traceback.print_exc()
            lauf.melde("Bilder und Protokolle: %s" % args.ausgabe)
            return 1
    lauf.melde("BESTANDEN (%s). Bilder und Protokolle: %s" % (args.fall, args.ausgabe))
    return 0
