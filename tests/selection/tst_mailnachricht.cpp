// The parts of the result mail that need no connection: header lines, the attachment's file
// name, the removal of line breaks and the mailto address for the teacher's mail program.

#include "mailnachricht.h"
#include "mailversand.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QTimeZone>
#include <QUrlQuery>

class TstMailNachricht : public QObject {
    Q_OBJECT

private slots:
    void einzeilig_data();
    void einzeilig();
    void nachrichtentext();
    void textKopfzeileBleibtLesbar_data();
    void textKopfzeileBleibtLesbar();
    void textKopfzeileKodiert_data();
    void textKopfzeileKodiert();
    void datum_data();
    void datum();
    void kennung_data();
    void kennung();
    void kennungIstJedesMalNeu();
    void anhang_data();
    void anhang();
    void mailto_data();
    void mailto();
};

void TstMailNachricht::einzeilig_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("erwartet");

    QTest::newRow("unverändert") << "Noten Q1-Mü ß\t"
                                 << "Noten Q1-Mü ß";
    QTest::newRow("CR LF") << "a\r\nBcc: b"
                           << "aBcc: b";
    QTest::newRow("LF allein") << "a\nb"
                               << "ab";
    QTest::newRow("CR allein") << "a\rb"
                               << "ab";
    QTest::newRow("NUL und DEL") << QString("a") + QChar(0) + "b" + QChar(0x7F) << "ab";
    QTest::newRow("NEL") << QString("a") + QChar(0x85) + "b"
                         << "ab";
    QTest::newRow("Zeilen- und Absatztrenner")
        << QString("a") + QChar(0x2028) + "b" + QChar(0x2029) << "ab";
    QTest::newRow("leer") << ""
                          << "";
}

void TstMailNachricht::einzeilig()
{
    QFETCH(QString, wert);
    QFETCH(QString, erwartet);
    QCOMPARE(MailNachricht::Einzeilig(wert), erwartet);
}

void TstMailNachricht::nachrichtentext()
{
    QCOMPARE(
        Mailversand::Nachrichtentext(QStringLiteral("Mü")), QStringLiteral("Notenliste von Mü:"));
    QCOMPARE(Mailversand::Nachrichtentext(QStringLiteral("A\r\nB")),
        QStringLiteral("Notenliste von AB:"));
}

void TstMailNachricht::textKopfzeileBleibtLesbar_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QByteArray>("erwartet");

    QTest::newRow("Stamm") << "Noten Q1-M-LK2-ABC" << QByteArray("Subject: Noten Q1-M-LK2-ABC");
    QTest::newRow("Zeilenende entfernt")
        << "Noten A\r\nBcc: x" << QByteArray("Subject: Noten ABcc: x");
    QTest::newRow("leer") << "" << QByteArray("Subject: ");
}

void TstMailNachricht::textKopfzeileBleibtLesbar()
{
    QFETCH(QString, wert);
    QFETCH(QByteArray, erwartet);
    QCOMPARE(MailNachricht::TextKopfzeile("Subject", wert), erwartet);
}

void TstMailNachricht::textKopfzeileKodiert_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QByteArray>("erwartet"); // empty: only the properties are checked

    QTest::newRow("Mü") << "Mü" << QByteArray("Subject: =?UTF-8?B?TcO8?=");
    QTest::newRow("Zeichenfolge =?") << "=?x?=" << QByteArray("Subject: =?UTF-8?B?PT94Pz0=?=");
    QTest::newRow("lang mit Umlauten")
        << QStringLiteral("Noten Q2-Französisch-Übungskurs-GK12-ÄÖÜ-äöü-ß-€ Ende") << QByteArray();
    QTest::newRow("Vier-Byte-Zeichen an der Wortgrenze")
        << QStringLiteral("1234567890123456789012345678901234567890123𝄞𝄞") << QByteArray();
    QTest::newRow("lang in ASCII") << QString(100, u'x') << QByteArray();
}

// Every encoded word holds whole characters, is at most 75 characters long, stands on a line of
// at most 76 characters, and together they give back the value.
void TstMailNachricht::textKopfzeileKodiert()
{
    QFETCH(QString, wert);
    QFETCH(QByteArray, erwartet);

    const QByteArray zeile = MailNachricht::TextKopfzeile("Subject", wert);
    if (!erwartet.isEmpty())
        QCOMPARE(zeile, erwartet);
    QVERIFY(zeile.startsWith("Subject: =?UTF-8?B?"));
    const QList<QByteArray> zeilen = zeile.split('\n');
    QByteArray utf8;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        QByteArray wort = zeilen[i];
        if (i + 1 < zeilen.size()) {
            QVERIFY(wort.endsWith('\r'));
            wort.chop(1);
        }
        QVERIFY2(wort.size() <= 76, wort.constData());
        wort = wort.mid(i == 0 ? 9 : 1); // "Subject: " or the folding blank
        QVERIFY2(wort.size() <= 75, wort.constData());
        QVERIFY(wort.startsWith("=?UTF-8?B?") && wort.endsWith("?="));
        const QByteArray teil = QByteArray::fromBase64(wort.mid(10, wort.size() - 12));
        QStringDecoder dekoder(QStringConverter::Utf8);
        const QString text = dekoder(teil);
        QVERIFY2(!dekoder.hasError(), teil.toHex().constData());
        utf8 += teil;
    }
    QCOMPARE(QString::fromUtf8(utf8), wert);
}

void TstMailNachricht::datum_data()
{
    QTest::addColumn<QDateTime>("zeit");
    QTest::addColumn<QByteArray>("erwartet");

    QTest::newRow("Winter in Berlin") << QDateTime(QDate(2024, 12, 10), QTime(14, 3, 59),
        QTimeZone(3600)) << QByteArray("Date: Tue, 10 Dec 2024 14:03:59 +0100");
    QTest::newRow("Sonntag, Sommerzeit") << QDateTime(QDate(2025, 6, 1), QTime(0, 0, 5),
        QTimeZone(7200)) << QByteArray("Date: Sun, 01 Jun 2025 00:00:05 +0200");
    QTest::newRow("westlich mit halber Stunde") << QDateTime(QDate(2025, 1, 6), QTime(23, 59, 0),
        QTimeZone(-(3 * 3600 + 1800))) << QByteArray("Date: Mon, 06 Jan 2025 23:59:00 -0330");
    QTest::newRow("UTC") << QDateTime(QDate(2025, 2, 28), QTime(9, 5, 1), QTimeZone::utc())
                         << QByteArray("Date: Fri, 28 Feb 2025 09:05:01 +0000");
}

void TstMailNachricht::datum()
{
    QFETCH(QDateTime, zeit);
    QFETCH(QByteArray, erwartet);
    QCOMPARE(MailNachricht::DatumKopfzeile(zeit), erwartet);
}

void TstMailNachricht::kennung_data()
{
    QTest::addColumn<QString>("absender");
    QTest::addColumn<QString>("rechner");

    QTest::newRow("Adresse") << "lehrer@schule.example"
                             << "schule.example";
    QTest::newRow("spitze Klammern") << "<lehrer@schule.example>"
                                     << "schule.example";
    QTest::newRow("internationaler Name") << "lehrer@schüle.example"
                                          << "xn--schle-mva.example";
    QTest::newRow("ohne @") << "lehrer"
                            << "localhost";
    QTest::newRow("leer") << ""
                          << "localhost";
    QTest::newRow("Zeilenende und Sonderzeichen") << "a@schule.example\r\n>X: y"
                                                  << "localhost";
}

void TstMailNachricht::kennung()
{
    QFETCH(QString, absender);
    QFETCH(QString, rechner);
    const QByteArray zeile = MailNachricht::KennungKopfzeile(absender);
    const QRegularExpression muster(QStringLiteral("^Message-ID: <[0-9a-f]{32}@")
        + QRegularExpression::escape(rechner) + QStringLiteral(">$"));
    QVERIFY2(muster.match(QString::fromLatin1(zeile)).hasMatch(), zeile.constData());
}

void TstMailNachricht::kennungIstJedesMalNeu()
{
    QVERIFY(MailNachricht::KennungKopfzeile(QStringLiteral("a@b.example"))
        != MailNachricht::KennungKopfzeile(QStringLiteral("a@b.example")));
}

void TstMailNachricht::anhang_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("erwartet");

    QTest::newRow("ASCII mit Leerzeichen") << "Noten Q1-M-LK2-ABC.zle"
                                           << QByteArray("Content-Disposition: attachment; "
                                                         "filename=\"Noten Q1-M-LK2-ABC.zle\"");
    QTest::newRow("Anführungszeichen und Backslash")
        << "a\"b\\c.zle"
        << QByteArray("Content-Disposition: attachment; filename=\"a\\\"b\\\\c.zle\"");
    QTest::newRow("Umlaut")
        << "Noten Q1-Mü.zle"
        << QByteArray("Content-Disposition: attachment; filename*=UTF-8''Noten%20Q1-M%C3%BC.zle");
    QTest::newRow("Umlaut mit Sonderzeichen")
        << "Mü's 50%*;\".zle"
        << QByteArray("Content-Disposition: attachment; "
                      "filename*=UTF-8''M%C3%BC%27s%2050%25%2A%3B%22.zle");
    QTest::newRow("Zeilenende")
        << "a\r\nX-Boese: 1.zle"
        << QByteArray("Content-Disposition: attachment; filename=\"aX-Boese: 1.zle\"");
}

void TstMailNachricht::anhang()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, erwartet);
    QCOMPARE(MailNachricht::AnhangKopfzeile(name), erwartet);
}

void TstMailNachricht::mailto_data()
{
    QTest::addColumn<QString>("empfaenger");
    QTest::addColumn<QString>("betreff");
    QTest::addColumn<QString>("erwartet");
    QTest::addColumn<QString>("adresse"); // what the mail program sees after decoding
    QTest::addColumn<QString>("stamm");

    QTest::newRow("Leerzeichen im Stamm")
        << "noten@schule.example"
        << "Noten Q1-M-LK2-ABC"
        << "mailto:noten@schule.example?subject=Noten%20Q1-M-LK2-ABC"
        << "noten@schule.example"
        << "Noten Q1-M-LK2-ABC";
    QTest::newRow("Umlaute")
        << "noten@schule.example"
        << "Noten Q1-Mü-GK1-MÜL"
        << "mailto:noten@schule.example?subject=Noten%20Q1-M%C3%BC-GK1-M%C3%9CL"
        << "noten@schule.example"
        << "Noten Q1-Mü-GK1-MÜL";
    QTest::newRow("Fragezeichen und Und in der Adresse")
        << "a?subject=x&body=y@schule.example"
        << "Noten A"
        << "mailto:a%3Fsubject%3Dx%26body%3Dy@schule.example?subject=Noten%20A"
        << "a?subject=x&body=y@schule.example"
        << "Noten A";
    QTest::newRow("Und und Gleich im Stamm")
        << "noten@schule.example"
        << "Noten A&body=B&cc=c@d"
        << "mailto:noten@schule.example?subject=Noten%20A%26body%3DB%26cc%3Dc%40d"
        << "noten@schule.example"
        << "Noten A&body=B&cc=c@d";
    QTest::newRow("Raute, Prozent und Plus")
        << "lehrer+noten@schule.example"
        << "Noten #1 100% +"
        << "mailto:lehrer%2Bnoten@schule.example?subject=Noten%20%231%20100%25%20%2B"
        << "lehrer+noten@schule.example"
        << "Noten #1 100% +";
    QTest::newRow("Zeilenende") << " noten@schule.example\r\n"
                                << "Noten A\r\nB"
                                << "mailto:noten@schule.example?subject=Noten%20AB"
                                << "noten@schule.example"
                                << "Noten AB";
}

void TstMailNachricht::mailto()
{
    QFETCH(QString, empfaenger);
    QFETCH(QString, betreff);
    QFETCH(QString, erwartet);
    QFETCH(QString, adresse);
    QFETCH(QString, stamm);

    const QUrl url = Mailversand::MailtoAdresse(empfaenger, betreff);
    QVERIFY(url.isValid());
    QCOMPARE(url.toString(QUrl::FullyEncoded), erwartet);
    QCOMPARE(QString::fromUtf8(url.toEncoded()), erwartet);
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(QUrl::FullyDecoded), adresse);
    const QUrlQuery abfrage(url);
    QCOMPARE(abfrage.queryItems().size(), 1);
    QCOMPARE(abfrage.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), stamm);
}

QTEST_GUILESS_MAIN(TstMailNachricht)
#include "tst_mailnachricht.moc"
