// The name of a grade result file: course fields from the school's file made into one safe
// file name, and the path chosen in the save dialog made to end in ".zle" inside its folder.

#include "datenbestand.h"
#include "ergebnisdateiname.h"

#include <QTest>
#include <QTextBoundaryFinder>

namespace {

QString Wiederholt(const QString& stueck, int anzahl)
{
    QString s;
    for (int i = 0; i < anzahl; ++i)
        s += stueck;
    return s;
}

// True when text ends between two graphemes (nothing was cut off a character).
bool EndetAnZeichengrenze(const QString& text)
{
    QTextBoundaryFinder grenzen(QTextBoundaryFinder::Grapheme, text);
    grenzen.toEnd();
    return grenzen.isAtBoundary();
}

} // namespace

class TestErgebnisDateiname : public QObject {
    Q_OBJECT

private slots:
    void stamm_data()
    {
        QTest::addColumn<QString>("roh");
        QTest::addColumn<QString>("stamm");

        const QString vorne = QStringLiteral("Noten Q1-M-LK2-");
        QTest::newRow("unverändert") << vorne + "ABC" << vorne + "ABC";
        QTest::newRow("Umlaute bleiben") << "Noten Q1-Mü-GK1-MÜL ß"
                                         << "Noten Q1-Mü-GK1-MÜL ß";
        QTest::newRow("Schrägstrich") << vorne + "A/B" << vorne + "A_B";
        QTest::newRow("umgekehrter Schrägstrich") << vorne + "A\\B" << vorne + "A_B";
        QTest::newRow("nach oben") << vorne + "../../etc/passwd" << vorne + ".._.._etc_passwd";
        QTest::newRow("CR LF") << vorne + "A\r\nB" << vorne + "A__B";
        QTest::newRow("NUL") << vorne + QStringLiteral("A") + QChar(0) + "B.txt"
                             << vorne + "A_B.txt";
        QTest::newRow("Tab, DEL, C1") << vorne + "A\tB\x7f" + QChar(0x85) + "C" << vorne + "A_B__C";
        QTest::newRow("Zeilentrenner") << vorne + QChar(0x2028) + QChar(0x2029) << vorne + "__";
        QTest::newRow("führender Punkt") << ".versteckt"
                                         << "_versteckt";
        QTest::newRow("nur Punkte") << ".."
                                    << "_.";
        QTest::newRow("halbes Ersatzpaar") << QStringLiteral("A") + QChar(0xD834) + "B"
                                           << QStringLiteral("A") + QChar(0xFFFD) + "B";
        QTest::newRow("leer") << ""
                              << "_";
        // What Windows and FAT/exFAT sticks refuse, on every system.
        QTest::newRow("Windows-Zeichen") << "A:B*C?D\"E<F>G|H"
                                         << "A_B_C_D_E_F_G_H";
        QTest::newRow("Gerätename") << "CON"
                                    << "_CON";
        QTest::newRow("Gerätename klein mit Endung") << "lpt1.txt"
                                                     << "_lpt1.txt";
        QTest::newRow("Gerätename mit Leerzeichen") << "Nul  "
                                                    << "_Nul  ";
        QTest::newRow("COM mit hochgestellter Ziffer")
            << QStringLiteral("COM\u00b2") << QStringLiteral("_COM\u00b2");
        QTest::newRow("kein Gerätename") << "COM10"
                                         << "COM10";
        QTest::newRow("Gerätename im Namen") << "Konsole CON"
                                             << "Konsole CON";

        // 196 bytes for the stem, so that it fits 200 bytes with ".zle".
        QTest::newRow("300 Bytes ASCII") << QString(300, u'x') << QString(196, u'x');
        QTest::newRow("300 Bytes Umlaute") << Wiederholt("ä", 150) << Wiederholt("ä", 98);
        QTest::newRow("Eurozeichen, 3 Bytes") << Wiederholt("€", 100) << Wiederholt("€", 65);
        QTest::newRow("Notenschlüssel, 4 Bytes") << Wiederholt("𝄞", 75) << Wiederholt("𝄞", 49);
        QTest::newRow("Buchstabe mit Akzentzeichen")
            << Wiederholt(QStringLiteral("e") + QChar(0x0301), 100)
            << Wiederholt(QStringLiteral("e") + QChar(0x0301), 65);
        QTest::newRow("Grenze genau") << QString(196, u'y') << QString(196, u'y');
        QTest::newRow("gemischt, Schnitt vor Umlaut")
            << QString(195, u'z') + "ü" << QString(195, u'z');
    }

    void stamm()
    {
        QFETCH(QString, roh);
        QFETCH(QString, stamm);

        const QString ergebnis = ErgebnisDateiname::Stamm(roh);
        QCOMPARE(ergebnis, stamm);
        QVERIFY(ergebnis.toUtf8().size() + 4 <= ErgebnisDateiname::HoechstBytes);
        QVERIFY(!ergebnis.contains(u'/') && !ergebnis.contains(u'\\'));
        QVERIFY(!ergebnis.startsWith(u'.'));
        QVERIFY(EndetAnZeichengrenze(ergebnis));
        QCOMPARE(QString::fromUtf8(ergebnis.toUtf8()), ergebnis); // valid UTF-8 both ways
        QCOMPARE(ErgebnisDateiname::Stamm(ergebnis), ergebnis); // a clean name stays
    }

    void pfad_data()
    {
        QTest::addColumn<QString>("gewaehlt");
        QTest::addColumn<QString>("pfad");

        QTest::newRow("wie vorgeschlagen") << "/home/l/Noten Q1-M-LK2-ABC.zle"
                                           << "/home/l/Noten Q1-M-LK2-ABC.zle";
        QTest::newRow("ohne Endung") << "/home/l/Mathe"
                                     << "/home/l/Mathe.zle";
        QTest::newRow("andere Endung") << "/home/l/Mathe.txt"
                                       << "/home/l/Mathe.txt.zle";
        QTest::newRow("Endung groß") << "/home/l/Mathe.ZLE"
                                     << "/home/l/Mathe.ZLE";
        QTest::newRow("nur die Endung") << "/home/l/.zle"
                                        << "/home/l/_zle.zle";
        QTest::newRow("versteckte Datei") << "/home/l/.Mathe.zle"
                                          << "/home/l/_Mathe.zle";
        QTest::newRow("Zeilenende im Namen") << "/home/l/a\nb.zle"
                                             << "/home/l/a_b.zle";
        QTest::newRow("Ordner mit Punkt bleibt") << "/home/l/.noten/M.zle"
                                                 << "/home/l/.noten/M.zle";
        QTest::newRow("zu lang") << "/home/l/" + QString(250, u'n') + ".zle"
                                 << "/home/l/" + QString(196, u'n') + ".zle";
        QTest::newRow("ohne Ordner") << "Mathe"
                                     << "Mathe.zle";
        QTest::newRow("abgebrochen") << ""
                                     << "";
    }

    void pfad()
    {
        QFETCH(QString, gewaehlt);
        QFETCH(QString, pfad);
        QCOMPARE(ErgebnisDateiname::Pfad(gewaehlt), pfad);
    }

    void stammUndOrdnerEinesPfads()
    {
        QCOMPARE(ErgebnisDateiname::StammAus("/home/l/Noten Q1-M-LK2-ABC.zle"),
            QString("Noten Q1-M-LK2-ABC"));
        QCOMPARE(ErgebnisDateiname::StammAus("/home/l/Mathe.ZLE"), QString("Mathe"));
        QCOMPARE(ErgebnisDateiname::Name("/home/l/Mathe.zle"), QString("Mathe.zle"));
        QCOMPARE(ErgebnisDateiname::Ordner("/home/l/Mathe.zle"), QString("/home/l"));
    }

    // The stem built from the course fields of the school's file.
    void dateinameAusKursfeldern_data()
    {
        QTest::addColumn<bool>("abitur");
        QTest::addColumn<QString>("halbjahr");
        QTest::addColumn<QString>("kuerzel");
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("lehrer");
        QTest::addColumn<QString>("stamm");

        QTest::newRow("gewöhnlich") << false << "Q1"
                                    << "M"
                                    << "LK"
                                    << "ABC"
                                    << "Noten Q1-M-LK2-ABC";
        QTest::newRow("Schrägstrich im Lehrer") << false << "Q1"
                                                << "M"
                                                << "LK"
                                                << "AB/CD"
                                                << "Noten Q1-M-LK2-AB_CD";
        QTest::newRow("Halbjahr nach oben") << false << "../.."
                                            << "M"
                                            << "LK"
                                            << "ABC"
                                            << "Noten .._..-M-LK2-ABC";
        QTest::newRow("Abitur mit Backslash") << true << "Q1"
                                              << "M\\E"
                                              << "LK"
                                              << "ABC"
                                              << "Noten Abitur-M_E-LK2-ABC";
        QTest::newRow("CR LF in der Kursart") << false << "Q1"
                                              << "M"
                                              << "L\r\nK"
                                              << "ABC"
                                              << "Noten Q1-M-L__K2-ABC";
        QTest::newRow("NUL im Kürzel") << false << "Q1" << QStringLiteral("M") + QChar(0) + "x"
                                       << "LK"
                                       << "ABC"
                                       << "Noten Q1-M_x-LK2-ABC";
        QTest::newRow("langer Lehrer")
            << false << "Q1"
            << "M"
            << "LK" << QString(300, u'L') << "Noten Q1-M-LK2-" + QString(196 - 15, u'L');
    }

    void dateinameAusKursfeldern()
    {
        QFETCH(bool, abitur);
        QFETCH(QString, halbjahr);
        QFETCH(QString, kuerzel);
        QFETCH(QString, art);
        QFETCH(QString, lehrer);
        QFETCH(QString, stamm);

        Datenbestand d;
        d.istAbiturListe = abitur;
        d.HalbjahrKuerzel = halbjahr;
        Kurs k;
        k.Kuerzel = kuerzel;
        k.KursArt = art;
        k.kNr = 2;
        k.Lehrer = lehrer;
        QCOMPARE(d.DateiName(k), stamm);
    }
};

QTEST_GUILESS_MAIN(TestErgebnisDateiname)
#include "tst_ergebnisdateiname.moc"
