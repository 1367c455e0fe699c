// What a cell of the grade table accepts, without any window: the rules of typed and pasted
// values alike. Linked against the model and the rules alone (QtCore, no widgets).

#include "eintrag.h"
#include "note.h"
#include "zellpruefung.h"

#include <QTest>

using namespace Zellpruefung;

Q_DECLARE_METATYPE(Zellpruefung::Spaltenart)
Q_DECLARE_METATYPE(Zellpruefung::Ergebnis::Art)

namespace {

// The scale 15 .. 0 points and "E" (excused), as the school's files carry it; with
// mitNull written "15" .. "00", with mitNT also "NT" (not taken part).
QList<Note> Notenskala(bool mitNull = false, bool mitNT = false)
{
    QList<Note> noten;
    for (int p = 15; p >= 0; --p) {
        // mitNull: the scale writes the one-digit grades with a leading zero ("09").
        const QString form
            = mitNull ? QStringLiteral("%1").arg(p, 2, 10, QLatin1Char('0')) : QString::number(p);
        noten.append(Note(form, QStringLiteral("%1 Punkte").arg(p), p, QString::number(p)));
    }
    noten.append(Note(QStringLiteral("E"), QStringLiteral("entschuldigt"), -1, QString()));
    if (mitNT)
        noten.append(
            Note(QStringLiteral("NT"), QStringLiteral("nicht teilgenommen"), -2, QString()));
    return noten;
}

} // namespace

class TestZellpruefung : public QObject {
    Q_OBJECT

private slots:
    void spaltenart_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("bezeichnung");
        QTest::addColumn<Spaltenart>("art");
        // clang-format off
        QTest::newRow("mit ID")                 << "KL" << "Klausur"  << Spaltenart::NoteMitID;
        QTest::newRow("ID vor dem Namen")       << "H1" << "Hinweis"  << Spaltenart::NoteMitID;
        QTest::newRow("Note")                   << ""   << "Note"     << Spaltenart::Note;
        QTest::newRow("NOTE")                   << ""   << "NOTE"     << Spaltenart::Note;
        QTest::newRow("Fehlstunden")            << ""   << "fehlstunden" << Spaltenart::Fehlstunden;
        QTest::newRow("unentschuldigt")         << ""   << "Unentschuldigte Fehlstunden" << Spaltenart::Unentschuldigt;
        QTest::newRow("Hinweis")                << ""   << "Hinweis"  << Spaltenart::Hinweis;
        QTest::newRow("anderer Name")           << ""   << "Bemerkung" << Spaltenart::Andere;
        QTest::newRow("Name mit Leerzeichen")   << ""   << "Note "    << Spaltenart::Andere;
        // clang-format on
    }

    void spaltenart()
    {
        QFETCH(QString, id);
        QFETCH(QString, bezeichnung);
        QFETCH(Spaltenart, art);
        QCOMPARE(ArtVon(Eintrag(id, bezeichnung)), art);
    }

    // Every refusal and correction of the cell rules. "wert" is the value the row holds
    // afterwards; the cell shows exactly that text (a refusal shows the stored value again).
    void pruefen_data()
    {
        QTest::addColumn<Spaltenart>("art");
        QTest::addColumn<QString>("gespeichert"); // the column's stored value
        QTest::addColumn<QString>("fehlstunden"); // the row's stored absence hours
        QTest::addColumn<QString>("text");
        QTest::addColumn<Ergebnis::Art>("ergebnis");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("grund");

        const auto ja = Ergebnis::Angenommen;
        const auto nein = Ergebnis::Abgelehnt;
        const auto gleich = Ergebnis::Unveraendert;
        const Spaltenart note = Spaltenart::Note;
        const Spaltenart mitId = Spaltenart::NoteMitID;
        const Spaltenart fehl = Spaltenart::Fehlstunden;
        const Spaltenart unent = Spaltenart::Unentschuldigt;
        const Spaltenart hinweis = Spaltenart::Hinweis;
        const Spaltenart andere = Spaltenart::Andere;
        const QString a255 = QString(127, QChar(0xE4)) + QLatin1Char('a'); // 255 bytes
        const QString ae256 = QString(128, QChar(0xE4)); // 256 bytes
        const QString a256 = QString(256, QLatin1Char('a'));
        const QString surrogat = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
        const QString keine = QString();
        // clang-format off
        // Grades: the scale decides; a new grade is stored in the scale's spelling.
        QTest::newRow("Note gültig")            << note  << "12" << "4" << "13"  << ja     << "13" << keine;
        QTest::newRow("Note klein")             << note  << ""   << "4" << "e"   << ja     << "E"  << keine;
        QTest::newRow("Note gleich bis auf Fall") << note << "E" << "4" << "e"   << gleich << "E"  << keine;
        QTest::newRow("Note unverändert")       << note  << "12" << "4" << "12"  << gleich << "12" << keine;
        QTest::newRow("Note geleert")           << note  << "12" << "4" << ""    << ja     << ""   << keine;
        QTest::newRow("Note nicht in der Skala") << note << "12" << "4" << "16"  << nein   << "12" << GrundKeineNote("16", Notenskala());
        QTest::newRow("Note mit Leerzeichen")   << note  << "12" << "4" << " 12" << nein   << "12" << GrundKeineNote(" 12", Notenskala());
        QTest::newRow("Note: Kopfzeile")        << note  << "12" << "4" << "Note" << nein  << "12" << GrundKeineNote("Note", Notenskala());
        QTest::newRow("Note: altes Kürzel bleibt") << note << "x" << "4" << "X"  << gleich << "x"  << keine;
        QTest::newRow("Note mit Tabulator")     << note  << "12" << "4" << "1\t2" << nein  << "12" << GrundSteuerzeichen;
        QTest::newRow("mit ID klein")           << mitId << ""   << "4" << "e"   << ja     << "E"  << keine;
        QTest::newRow("mit ID ungültig")        << mitId << "11" << "4" << "abc" << nein   << "11" << GrundKeineNote("abc", Notenskala());
        QTest::newRow("mit ID gleich")          << mitId << "E"  << "4" << "e"   << gleich << "E"  << keine;
        // Absence hours: plain numbers from 0; an empty count is 0.
        QTest::newRow("Fehlstunden leer wird 0") << fehl << "4"  << "4" << ""    << ja     << "0"  << keine;
        QTest::newRow("Fehlstunden leer, 0 bleibt") << fehl << "0" << "0" << ""  << gleich << "0"  << keine;
        QTest::newRow("Fehlstunden leer über leer") << fehl << "" << ""  << ""   << ja     << "0"  << keine;
        QTest::newRow("Fehlstunden Dezimal")    << fehl  << "4"  << "4" << "3.5" << ja     << "3.5" << keine;
        QTest::newRow("Fehlstunden Exponent")   << fehl  << "4"  << "4" << "1e2" << ja     << "1e2" << keine;
        QTest::newRow("Fehlstunden 0")          << fehl  << "4"  << "4" << "0"   << ja     << "0"  << keine;
        QTest::newRow("Fehlstunden negativ")    << fehl  << "4"  << "4" << "-1"  << nein   << "4"  << GrundFehlstunden;
        QTest::newRow("Fehlstunden -0")         << fehl  << "4"  << "4" << "-0"  << nein   << "4"  << GrundFehlstunden;
        QTest::newRow("Fehlstunden -0.5")       << fehl  << "4"  << "4" << "-0.5" << nein  << "4"  << GrundFehlstunden;
        QTest::newRow("Fehlstunden -0e3")       << fehl  << "4"  << "4" << "-0e3" << nein  << "4"  << GrundFehlstunden;
        QTest::newRow("Fehlstunden Text")       << fehl  << "4"  << "4" << "abc" << nein   << "4"  << GrundFehlstunden;
        QTest::newRow("Fehlstunden Kopfzeile")  << fehl  << "4"  << "4" << "Fehlstunden" << nein << "4" << GrundFehlstunden;
        QTest::newRow("Fehlstunden Komma")      << fehl  << "4"  << "4" << "3,5" << nein   << "4"  << GrundFehlstunden + " Dezimalstellen mit Punkt: „3.5“.";
        QTest::newRow("Fehlstunden Zahl mit Text") << fehl << "4" << "4" << "3 Std" << nein << "4" << GrundFehlstunden;
        QTest::newRow("Fehlstunden unendlich")  << fehl  << "4"  << "4" << "1e999" << nein << "4"  << GrundFehlstunden;
        QTest::newRow("Fehlstunden gleich")     << fehl  << "4"  << "4" << "4"   << gleich << "4"  << keine;
        // Unexcused hours: never above the stored absence hours.
        QTest::newRow("unentschuldigt zu hoch") << unent << "2"  << "4" << "5"   << nein   << "2"  << GrundUnentschuldigtZuHoch;
        QTest::newRow("unentschuldigt gleich Fehlstunden") << unent << "2" << "4" << "4" << ja << "4" << keine;
        QTest::newRow("unentschuldigt Dezimal darüber") << unent << "2" << "4" << "4.5" << nein << "2" << GrundUnentschuldigtZuHoch;
        QTest::newRow("unentschuldigt leer")    << unent << "2"  << "4" << ""    << ja     << "0"  << keine;
        QTest::newRow("unentschuldigt negativ") << unent << "2"  << "4" << "-3"  << nein   << "2"  << GrundUnentschuldigt;
        QTest::newRow("unentschuldigt -0")      << unent << "2"  << "4" << "-0"  << nein   << "2"  << GrundUnentschuldigt;
        QTest::newRow("unentschuldigt Text")    << unent << "2"  << "4" << "abc" << nein   << "2"  << GrundUnentschuldigt;
        QTest::newRow("unentschuldigt nach Senken der Fehlstunden") << unent << "4" << "2" << "4" << gleich << "4" << keine;
        QTest::newRow("unentschuldigt, Fehlstunden alt als Text") << unent << "" << "abc" << "1" << nein << "" << GrundUnentschuldigtZuHoch;
        QTest::newRow("unentschuldigt 0 bei Fehlstunden als Text") << unent << "" << "abc" << "0" << ja << "0" << keine;
        // Remarks and entries of another name: any line of text that fits into the file.
        QTest::newRow("Hinweis")                << hinweis << "Facharbeit" << "4" << "Referat" << ja << "Referat" << keine;
        QTest::newRow("Hinweis Groß/klein")     << hinweis << "Facharbeit" << "4" << "facharbeit" << ja << "facharbeit" << keine;
        QTest::newRow("Hinweis geleert")        << hinweis << "Facharbeit" << "4" << "" << ja << "" << keine;
        QTest::newRow("Hinweis unverändert")    << hinweis << "Facharbeit" << "4" << "Facharbeit" << gleich << "Facharbeit" << keine;
        QTest::newRow("Hinweis 255 Bytes")      << hinweis << "" << "4" << a255 << ja << a255 << keine;
        QTest::newRow("Hinweis 256 Bytes Umlaute") << hinweis << "x" << "4" << ae256 << nein << "x" << GrundZuLang;
        QTest::newRow("Hinweis 256 Bytes")      << hinweis << "x" << "4" << a256 << nein << "x" << GrundZuLang;
        QTest::newRow("Hinweis Tabulator")      << hinweis << "x" << "4" << "a\tb" << nein << "x" << GrundSteuerzeichen;
        QTest::newRow("Hinweis Zeilenende LF")  << hinweis << "x" << "4" << "a\nb" << nein << "x" << GrundSteuerzeichen;
        QTest::newRow("Hinweis Zeilenende CR")  << hinweis << "x" << "4" << "a\r" << nein << "x" << GrundSteuerzeichen;
        QTest::newRow("Hinweis Escape")         << hinweis << "x" << "4" << "a\x1b" << nein << "x" << GrundSteuerzeichen;
        QTest::newRow("Hinweis NUL")            << hinweis << "x" << "4" << QString(QChar(0)) << nein << "x" << GrundSteuerzeichen;
        QTest::newRow("Hinweis Zeilentrenner")  << hinweis << "x" << "4" << QString(QChar(0x2028)) << nein << "x" << GrundSteuerzeichen;
        QTest::newRow("Hinweis halbes Zeichen") << hinweis << "x" << "4" << surrogat << nein << "x" << GrundUngueltig;
        QTest::newRow("Hinweis mit Bytereihenfolgemarke") << hinweis << "" << "4" << QString(QChar(0xFEFF)) << ja << QString(QChar(0xFEFF)) << keine;
        QTest::newRow("Hinweis alt mit Tabulator bleibt") << hinweis << "a\tb" << "4" << "a\tb" << gleich << "a\tb" << keine;
        QTest::newRow("anderer Name speichert") << andere << "x" << "4" << "y" << ja << "y" << keine;
        QTest::newRow("anderer Name Zeilenende") << andere << "x" << "4" << "y\n" << nein << "x" << GrundSteuerzeichen;
        QTest::newRow("anderer Name zu lang")   << andere << "x" << "4" << a256 << nein << "x" << GrundZuLang;
        // clang-format on
    }

    void pruefen()
    {
        QFETCH(Spaltenart, art);
        QFETCH(QString, gespeichert);
        QFETCH(QString, fehlstunden);
        QFETCH(QString, text);
        QFETCH(Ergebnis::Art, ergebnis);
        QFETCH(QString, wert);
        QFETCH(QString, grund);
        const Ergebnis e = Pruefen(art, Zeile { gespeichert, fehlstunden }, text, Notenskala());
        QCOMPARE(e.art, ergebnis);
        QCOMPARE(e.wert, wert);
        QCOMPARE(e.grund, grund);
        // Nothing that leaves the check holds a character the file or the clipboard's table
        // format could not carry, unless it was stored so before.
        if (e.art == Ergebnis::Angenommen) {
            QVERIFY(!HatSteuerzeichen(e.wert));
            QVERIFY(e.wert.toUtf8().size() <= MaxWertBytes);
        }
    }

    void schreibweisen_data()
    {
        // Typed into an empty "Note" cell (or, for "3,5" and the like, an hours cell) against
        // both ways of writing a scale: what is stored, or why it is refused.
        QTest::addColumn<bool>("mitNull"); // the scale "15 … 00", else "15 … 0"
        QTest::addColumn<Spaltenart>("art");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("wert"); // stored; empty: refused
        QTest::addColumn<QString>("grund");

        const Spaltenart note = Spaltenart::Note;
        const Spaltenart mitId = Spaltenart::NoteMitID;
        const Spaltenart fehl = Spaltenart::Fehlstunden;
        const Spaltenart unent = Spaltenart::Unentschuldigt;
        const QString erlaubt0 = QStringLiteral(" Erlaubt sind: 15 … 0, E, NT.");
        const QString erlaubt00 = QStringLiteral(" Erlaubt sind: 15 … 00, E, NT.");
        const QString keine;
        // clang-format off
        for (const bool mitNull : { false, true }) {
            const char* skala = mitNull ? "15…00" : "15…0";
            const QString erlaubt = mitNull ? erlaubt00 : erlaubt0;
            const QString neun = mitNull ? "09" : "9";
            const QString null = mitNull ? "00" : "0";
            QTest::addRow("%s: 9", skala)    << mitNull << note  << "9"   << neun << keine;
            QTest::addRow("%s: 09", skala)   << mitNull << note  << "09"  << neun << keine;
            QTest::addRow("%s: 009", skala)  << mitNull << note  << "009" << neun << keine;
            QTest::addRow("%s: 0", skala)    << mitNull << note  << "0"   << null << keine;
            QTest::addRow("%s: 00", skala)   << mitNull << note  << "00"  << null << keine;
            QTest::addRow("%s: 15", skala)   << mitNull << note  << "15"  << "15" << keine;
            QTest::addRow("%s: 015", skala)  << mitNull << note  << "015" << "15" << keine;
            QTest::addRow("%s: e", skala)    << mitNull << note  << "e"   << "E"  << keine;
            QTest::addRow("%s: nt", skala)   << mitNull << note  << "nt"  << "NT" << keine;
            QTest::addRow("%s: mit ID 09", skala) << mitNull << mitId << "09" << neun << keine;
            QTest::addRow("%s: 16", skala)   << mitNull << note  << "16"  << keine
                << "„16“ ist keine Note dieser Notenskala." + erlaubt;
            QTest::addRow("%s: -0", skala)   << mitNull << note  << "-0"  << keine
                << "„-0“ ist keine Note dieser Notenskala." + erlaubt;
            QTest::addRow("%s: Leerzeichen 9", skala) << mitNull << note << " 9" << keine
                << "„ 9“ ist keine Note dieser Notenskala." + erlaubt;
            QTest::addRow("%s: 9,0", skala)  << mitNull << note  << "9,0" << keine
                << "„9,0“ ist keine Note dieser Notenskala." + erlaubt;
            QTest::addRow("%s: Std 3,5", skala) << mitNull << fehl << "3,5" << keine
                << "Fehlstunden: nur Zahlen ab 0. Dezimalstellen mit Punkt: „3.5“.";
            QTest::addRow("%s: Std ,5", skala) << mitNull << fehl << ",5" << keine
                << "Fehlstunden: nur Zahlen ab 0. Dezimalstellen mit Punkt: „.5“.";
            QTest::addRow("%s: unent. 1,5", skala) << mitNull << unent << "1,5" << keine
                << "Unentschuldigte Fehlstunden: nur Zahlen ab 0. Dezimalstellen mit Punkt: „1.5“.";
            QTest::addRow("%s: Std 3.5", skala) << mitNull << fehl << "3.5" << "3.5" << keine;
            QTest::addRow("%s: Std 1,000,5", skala) << mitNull << fehl << "1,000,5" << keine
                << "Fehlstunden: nur Zahlen ab 0.";
            QTest::addRow("%s: Std -0", skala) << mitNull << fehl << "-0" << keine
                << "Fehlstunden: nur Zahlen ab 0.";
            QTest::addRow("%s: Std -1,5", skala) << mitNull << fehl << "-1,5" << keine
                << "Fehlstunden: nur Zahlen ab 0.";
        }
        // clang-format on
    }

    void schreibweisen()
    {
        QFETCH(bool, mitNull);
        QFETCH(Spaltenart, art);
        QFETCH(QString, text);
        QFETCH(QString, wert);
        QFETCH(QString, grund);
        const Ergebnis e = Pruefen(
            art, Zeile { QString(), QStringLiteral("4") }, text, Notenskala(mitNull, true));
        QCOMPARE(e.art, wert.isEmpty() ? Ergebnis::Abgelehnt : Ergebnis::Angenommen);
        QCOMPARE(e.wert, wert);
        QCOMPARE(e.grund, grund);
    }

    void schreibweiseSchonGespeichert_data()
    {
        // "9" over a stored "09" (and the reverse) is the grade that is there: unchanged.
        QTest::addColumn<bool>("mitNull");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("text");
        QTest::newRow("15…00: 9 über 09") << true << "09"
                                          << "9";
        QTest::newRow("15…0: 09 über 9") << false << "9"
                                         << "09";
    }

    void schreibweiseSchonGespeichert()
    {
        QFETCH(bool, mitNull);
        QFETCH(QString, gespeichert);
        QFETCH(QString, text);
        const Ergebnis e = Pruefen(
            Spaltenart::Note, Zeile { gespeichert, QString() }, text, Notenskala(mitNull));
        QCOMPARE(e.art, Ergebnis::Unveraendert);
        QCOMPARE(e.wert, gespeichert);
    }

    void zweiFormenPassen()
    {
        // A scale that writes nine both as "9" and as "09": each form finds itself, and a
        // third form that would fit both finds neither.
        QList<Note> noten = Notenskala();
        noten.append(Note(QStringLiteral("09"), QStringLiteral("neun, alt"), 9, QString()));
        const Zeile leer { QString(), QString() };
        QCOMPARE(
            Pruefen(Spaltenart::Note, leer, QStringLiteral("9"), noten).wert, QStringLiteral("9"));
        QCOMPARE(Pruefen(Spaltenart::Note, leer, QStringLiteral("09"), noten).wert,
            QStringLiteral("09"));
        const Ergebnis e = Pruefen(Spaltenart::Note, leer, QStringLiteral("009"), noten);
        QCOMPARE(e.art, Ergebnis::Abgelehnt);
        QCOMPARE(e.grund,
            QStringLiteral("„009“ ist keine Note dieser Notenskala. Erlaubt sind: 15 … 0, E, 09."));
    }

    void erlaubteNoten_data()
    {
        QTest::addColumn<QStringList>("formen");
        QTest::addColumn<QString>("text");
        QTest::newRow("leer") << QStringList() << "";
        QTest::newRow("zwei Ziffern") << QStringList { "2", "1" } << "2, 1";
        QTest::newRow("aufwärts") << QStringList { "1", "2", "3", "4", "5", "6" } << "1 … 6";
        QTest::newRow("Buchstaben") << QStringList { "A", "B", "C" } << "A, B, C";
        QTest::newRow("Lücke") << QStringList { "15", "14", "13", "11", "10", "9", "E" }
                               << "15 … 13, 11 … 9, E";
        QTest::newRow("Richtung wechselt") << QStringList { "1", "2", "1" } << "1, 2, 1";
    }

    void erlaubteNoten()
    {
        QFETCH(QStringList, formen);
        QFETCH(QString, text);
        QList<Note> noten;
        for (const QString& f : formen)
            noten.append(Note(f, QString(), 0, QString()));
        QCOMPARE(ErlaubteNoten(noten), text);
    }

    void grundNenntDieNote()
    {
        QCOMPARE(GrundKeineNote(QStringLiteral("16")),
            QStringLiteral("„16“ ist keine Note dieser Notenskala."));
        QCOMPARE(GrundFehlstunden, QStringLiteral("Fehlstunden: nur Zahlen ab 0."));
        QCOMPARE(GrundUnentschuldigtZuHoch,
            QStringLiteral(
                "Unentschuldigte Fehlstunden dürfen die Fehlstunden nicht übersteigen."));
    }

    void leereSkala()
    {
        // A file without grade scale: only the empty grade passes.
        const Zeile zeile { QStringLiteral("12"), QString() };
        QCOMPARE(
            Pruefen(Spaltenart::Note, zeile, QStringLiteral("13"), {}).art, Ergebnis::Abgelehnt);
        QCOMPARE(Pruefen(Spaltenart::Note, zeile, QStringLiteral("13"), {}).grund,
            QStringLiteral(
                "„13“ ist keine Note dieser Notenskala. Erlaubt ist nur eine leere Zelle."));
        QCOMPARE(Pruefen(Spaltenart::Note, zeile, QString(), {}).art, Ergebnis::Angenommen);
    }
};

QTEST_GUILESS_MAIN(TestZellpruefung)
#include "tst_zellpruefung.moc"
