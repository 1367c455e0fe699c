// The fields of the file format one by one: what the writer makes of a text (against the
// plain rule: length byte, then toUtf8 of the text or of its scrambled form), what the reader
// makes of it again, that equal texts read come back shared, and where a device stands after
// reading. And the index of the student-course rows against a plain walk through the list.

#include "dateileser.h"
#include "dateischreiber.h"
#include "datenbestand.h"
#include "hilfsmittel.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>

namespace {

// The plain rule the format has always followed.
QByteArray PStringRegel(const QString& text, bool verschluesselt)
{
    const QByteArray utf8 = (verschluesselt ? Hilfsmittel::Chiffre(text) : text).toUtf8();
    if (utf8.size() > 255)
        return QByteArray("zu lang ") + QByteArray::number(utf8.size());
    return char(utf8.size()) + utf8;
}

QByteArray PStringGeschrieben(const QString& text, bool verschluesselt, DateiSchreiber& s)
{
    if (verschluesselt)
        s.SchreibeVerschluesselt(text, QStringLiteral("Feld"));
    else
        s.SchreibePString(text, QStringLiteral("Feld"));
    if (!s.ok())
        return QByteArray("zu lang ")
            + s.fehler()
                  .section(QStringLiteral(" Bytes"), 0, 0)
                  .section(QLatin1Char(' '), -1)
                  .toUtf8();
    return s.Entnehmen();
}

// A walk through the list as the rows are stored: the first row with the key wins.
qint64 PositionImDurchlauf(const SchuelerKursliste& l, const QString& fach, qint64 id)
{
    for (qint64 i = 1; i <= l.AnzahlKurse(); ++i) {
        const SchuelerKursZeiger z = l.ZeigePosition(i);
        if (z->ID == id && z->FachKuerzel.compare(fach, Qt::CaseInsensitive) == 0)
            return i;
    }
    return 0;
}

} // namespace

class TestFelder : public QObject {
    Q_OBJECT

private slots:
    void init() { GlobaleDatenZuruecksetzen(); }

    void pstring_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("verschluesselt");
        const QList<QPair<const char*, QString>> texte = {
            { "leer", QString() },
            { "ASCII", QStringLiteral("Attest liegt vor") },
            { "Umlaute", QStringLiteral("Müller, Jürgen") },
            { "U+FEFF am Anfang", QStringLiteral("\uFEFFQ1") },
            { "außerhalb der BMP", QStringLiteral("😀 gut") },
            { "einzelnes hohes Surrogat", QString(QChar(0xD83D)) + QStringLiteral("x") },
            { "einzelnes tiefes Surrogat am Ende", QStringLiteral("x") + QChar(0xDE00) },
            { "nahe U+FFFF, verschlüsselt außerhalb der BMP", QString(3, QChar(0xFFFC)) },
            { "255 Bytes", QString(255, QLatin1Char('a')) },
            { "256 Bytes", QString(256, QLatin1Char('a')) },
            { "85 Zeichen zu drei Bytes", QString(85, QChar(0x4E00)) },
            { "86 Zeichen zu drei Bytes", QString(86, QChar(0x4E00)) },
            { "Steuerzeichen", QStringLiteral("a\nb\tc\x01") },
        };
        for (const auto& [name, text] : texte) {
            QTest::newRow(name) << text << false;
            if (Hilfsmittel::ChiffreMoeglich(text))
                QTest::newRow(QByteArray(name) + " verschlüsselt") << text << true;
        }
    }
    void pstring()
    {
        QFETCH(QString, text);
        QFETCH(bool, verschluesselt);
        // Into memory and into a device, the same bytes as the plain rule, or the same refusal
        // with the same length.
        DateiSchreiber imSpeicher;
        QCOMPARE(PStringGeschrieben(text, verschluesselt, imSpeicher),
            PStringRegel(text, verschluesselt));
        QByteArray bytes;
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::WriteOnly);
        DateiSchreiber inGeraet(puffer);
        const QByteArray fehler = PStringGeschrieben(text, verschluesselt, inGeraet);
        QCOMPARE(fehler.startsWith("zu lang") ? fehler : bytes, PStringRegel(text, verschluesselt));
        if (fehler.startsWith("zu lang"))
            return;

        // Read back: a text that UTF-8 can carry comes back as it was.
        DateiLeser leser(bytes);
        const QString gelesen
            = verschluesselt ? leser.LeseVerschluesselt("Feld") : leser.LesePString("Feld");
        QVERIFY(leser.ok());
        if (text.isValidUtf16())
            QCOMPARE(gelesen, text);
        QCOMPARE(leser.Rest(), qint64(0));
    }

    void mengentextWieBisher()
    {
        // A set: Int16 length and toUtf8 of its text, up to 32,767 bytes.
        for (const QString& text :
            { QStringLiteral(","), QStringLiteral(",1,2,"), QStringLiteral(",ä,😀,"),
                QStringLiteral(",") + QString(32765, QLatin1Char('7')) + QStringLiteral(","),
                QStringLiteral(",") + QString(32766, QLatin1Char('7')) + QStringLiteral(",") }) {
            DateiSchreiber s;
            const qsizetype laenge = s.SchreibeLangtext(text, 32767);
            const QByteArray utf8 = text.toUtf8();
            QCOMPARE(laenge, utf8.size());
            const QByteArray erwartet = utf8.size() > 32767
                ? QByteArray()
                : char((utf8.size() >> 8) & 0xFF) + QByteArray(1, char(utf8.size() & 0xFF)) + utf8;
            QCOMPARE(s.Entnehmen(), erwartet);
        }
    }

    void geraetStehtHinterDemGelesenen()
    {
        // What follows the last field stays unread, as when every field was read on its own.
        QByteArray bytes = QByteArray("\x00\x05", 2) + "Hallo" + "danach";
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::ReadOnly);
        puffer.seek(1);
        {
            DateiLeser leser(puffer);
            QCOMPARE(leser.position(), qint64(1));
            QCOMPARE(leser.LesePString(), QStringLiteral("Hallo"));
            QCOMPARE(leser.position(), qint64(7));
        }
        QCOMPARE(puffer.pos(), qint64(7));
        QCOMPARE(puffer.readAll(), QByteArray("danach"));

        // A device not opened for reading gives nothing.
        QBuffer nurSchreiben(&bytes);
        nurSchreiben.open(QIODevice::WriteOnly);
        DateiLeser leer(nurSchreiben);
        leer.LeseBoolean();
        QVERIFY(!leer.ok());
    }

    void dateiendeUndFehlerBleibenBestehen()
    {
        DateiLeser leser(QByteArray("\x01\x00", 2));
        QVERIFY(leser.LeseBoolean());
        QCOMPARE(leser.LeseInt16(), qint64(0));
        QVERIFY(!leser.ok());
        QCOMPARE(leser.fehler(), QStringLiteral("Dateiende nach Byte 2"));
        // Later reads give zero values and keep the first reason.
        QCOMPARE(leser.LeseInt32(), qint64(0));
        QCOMPARE(leser.LesePString(), QString());
        QCOMPARE(leser.fehler(), QStringLiteral("Dateiende nach Byte 2"));
    }

    void gleicheTexteWerdenGeteilt()
    {
        // The catalogue's ID and caption, a course code and a value repeated in every row come
        // back as one shared text: memory and freeing shrink with them. Writing them back
        // gives the same bytes.
        Datenbestand d;
        d.alleEintraege.Anfuegen(Eintrag(QStringLiteral("KL"), QStringLiteral("Klausur")));
        d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
        Daten.alleEintraege = d.alleEintraege;
        for (int i = 0; i < 50; ++i) {
            auto z = std::make_shared<SchuelerKurs>(QStringLiteral("K001"), 100 + i);
            z->Eintraege.ZeigeKursEintrag(0).datum = QStringLiteral("12");
            // Remarks of their own, longer than the texts that are shared.
            z->Eintraege.ZeigeKursEintrag(1).datum
                = QStringLiteral("Eine Bemerkung, die nur diese Zeile hat: %1").arg(i);
            d.alleSchuelerKurse.Anfuegen(z);
        }
        Spaltenstruktur s;
        s.KurslistenInit(d);
        QByteArray bytes;
        QString m;
        QVERIFY(Datenbestand::Kodieren(d, s, bytes, m));
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::ReadOnly);
        Datenbestand g;
        Spaltenstruktur gs;
        QVERIFY2(Datenbestand::Lesen(puffer, g, gs, m), qPrintable(m));
        const Eintrag& katalog = g.alleEintraege.ZeigeEintrag(0);
        const SchuelerKursZeiger erste = g.alleSchuelerKurse.ZeigePosition(1);
        for (qint64 i = 1; i <= g.alleSchuelerKurse.AnzahlKurse(); ++i) {
            const SchuelerKursZeiger z = g.alleSchuelerKurse.ZeigePosition(i);
            const KursEintrag& e = std::as_const(z->Eintraege).ZeigeKursEintrag(0);
            QVERIFY(e.ID.isSharedWith(katalog.ID));
            QVERIFY(e.Bezeichnung.isSharedWith(katalog.Bezeichnung));
            QVERIFY(
                e.datum.isSharedWith(std::as_const(erste->Eintraege).ZeigeKursEintrag(0).datum));
            QVERIFY(z->FachKuerzel.isSharedWith(erste->FachKuerzel));
            QVERIFY(std::as_const(z->Eintraege).ZeigeKursEintrag(1).ID.isNull());
        }
        // A change to one row's shared text changes that row alone.
        g.alleSchuelerKurse.ZeigePosition(2)->Eintraege.ZeigeKursEintrag(0).datum
            = QStringLiteral("3");
        QCOMPARE(std::as_const(erste->Eintraege).ZeigeKursEintrag(0).datum, QStringLiteral("12"));
        QByteArray wieder;
        g.alleSchuelerKurse.ZeigePosition(2)->Eintraege.ZeigeKursEintrag(0).datum
            = QStringLiteral("12");
        QVERIFY(Datenbestand::Kodieren(g, gs, wieder, m));
        QCOMPARE(wieder, bytes);
    }

    void gleicheZeilenTeilenIhreEintraege()
    {
        // Rows whose entries are byte for byte alike (all empty at the start of a half-year)
        // share one list; a change, a column move and writing back treat each row as its own.
        Datenbestand d;
        d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
        d.alleEintraege.Anfuegen(Eintrag(QStringLiteral("KL"), QStringLiteral("Klausur")));
        Daten.alleEintraege = d.alleEintraege;
        for (int i = 0; i < 30; ++i) {
            auto z = std::make_shared<SchuelerKurs>(QStringLiteral("K%1").arg(i % 3), 100 + i);
            if (i % 10 == 9)
                z->Eintraege.ZeigeKursEintrag(0).datum = QStringLiteral("12");
            d.alleSchuelerKurse.Anfuegen(z);
        }
        Spaltenstruktur s;
        s.KurslistenInit(d);
        QByteArray bytes;
        QString m;
        QVERIFY(Datenbestand::Kodieren(d, s, bytes, m));
        QBuffer puffer(&bytes);
        puffer.open(QIODevice::ReadOnly);
        Datenbestand g;
        Spaltenstruktur gs;
        QVERIFY2(Datenbestand::Lesen(puffer, g, gs, m), qPrintable(m));
        const auto eintraege = [&](qint64 position) {
            return &std::as_const(g.alleSchuelerKurse.ZeigePosition(position)->Eintraege)
                        .ZeigeKursEintrag(0);
        };
        QCOMPARE(eintraege(2), eintraege(1));
        QCOMPARE(eintraege(30), eintraege(10));
        QVERIFY(eintraege(10) != eintraege(1));

        g.alleSchuelerKurse.ZeigePosition(2)->Eintraege.ZeigeKursEintrag(0).datum
            = QStringLiteral("3");
        QCOMPARE(eintraege(1)->datum, QString());
        QCOMPARE(eintraege(2)->datum, QStringLiteral("3"));
        g.alleSchuelerKurse.ZeigePosition(2)->Eintraege.ZeigeKursEintrag(0).datum = QString();

        // Every row's entries move once.
        g.alleSchuelerKurse.SpalteVerschieben(0, 1);
        d.alleSchuelerKurse.SpalteVerschieben(0, 1);
        for (qint64 i = 1; i <= 30; ++i)
            QCOMPARE(std::as_const(g.alleSchuelerKurse.ZeigePosition(i)->Eintraege)
                         .ZeigeKursEintrag(0)
                         .ID,
                QStringLiteral("KL"));
        QByteArray erwartet, wieder;
        QVERIFY(Datenbestand::Kodieren(d, s, erwartet, m));
        QVERIFY(Datenbestand::Kodieren(g, gs, wieder, m));
        QCOMPARE(wieder, erwartet);
    }

    void geteilteZeilenWieEinzelne()
    {
        // The writer encodes a list shared by many rows once and copies its bytes for the
        // others. Rows changed on their own copy in between, rows sharing another list and
        // lists of other lengths come out as their own values: the same bytes as writing
        // field by field into a device, which copies nothing.
        KursEintraege leer;
        leer.Anfuegen(KursEintrag(QString(), QStringLiteral("Note"), QString()));
        leer.Anfuegen(KursEintrag(QStringLiteral("KL"), QStringLiteral("Klausur"), QString()));
        KursEintraege kurz;
        kurz.Anfuegen(KursEintrag(QString(), QStringLiteral("Note"), QStringLiteral("7")));
        SchuelerKursliste liste;
        QList<SchuelerKursZeiger> zeilen;
        for (int i = 0; i < 5000; ++i) {
            auto z = std::make_shared<SchuelerKurs>(QStringLiteral("K%1").arg(i % 3), 100 + i);
            z->Eintraege = i % 7 == 3 ? kurz : leer;
            if (i % 11 == 5)
                z->Eintraege.ZeigeKursEintrag(0).datum = QString::number(i % 16);
            // A list shared by this row alone once the one before was changed.
            if (i % 13 == 6)
                z->Eintraege = z->Eintraege.Clone();
            zeilen.append(z);
            liste.Anfuegen(z);
        }
        // A row late in the list changes its copy; the rows before and after still share.
        zeilen[4001]->Eintraege.ZeigeKursEintrag(1).datum = QStringLiteral("Attest");

        DateiSchreiber imSpeicher;
        liste.Speichern(imSpeicher);
        QVERIFY(imSpeicher.ok());
        const QByteArray kopiert = imSpeicher.Entnehmen();
        QByteArray einzeln;
        QBuffer puffer(&einzeln);
        puffer.open(QIODevice::WriteOnly);
        DateiSchreiber inGeraet(puffer);
        liste.Speichern(inGeraet);
        QVERIFY(inGeraet.ok());
        QCOMPARE(kopiert.size(), einzeln.size());
        QVERIFY(kopiert == einzeln);

        // Read back, the changed row has its value and its neighbours have none.
        DateiLeser leser(kopiert);
        SchuelerKursliste gelesen(leser);
        QVERIFY(leser.ok());
        const auto wert = [&](qint64 position, qint64 eintrag) {
            return std::as_const(gelesen.ZeigePosition(position)->Eintraege)
                .ZeigeKursEintrag(eintrag)
                .datum;
        };
        QCOMPARE(wert(4002, 1), QStringLiteral("Attest"));
        QCOMPARE(wert(4003, 1), QString());
        QCOMPARE(wert(4000, 1), QString());
        QCOMPARE(wert(6, 0), QStringLiteral("5"));
        QCOMPARE(wert(6, 1), QString());
    }

    // --- The index of the rows ----------------------------------------------------------------

    void indexWieDerDurchlauf()
    {
        // Random Anfuegen, Loeschen and column moves on a list read from a file that holds keys
        // twice and course codes in other letter case (Ä/ä, ß/ẞ, K/k and the Kelvin sign):
        // every look-up finds the row a walk through the list finds.
        const QStringList kuerzel = { QStringLiteral("M"), QStringLiteral("m"),
            QStringLiteral("Ä1"), QStringLiteral("ä1"), QStringLiteral("straße"),
            QStringLiteral("STRAẞE"), QStringLiteral("k"), QString(QChar(0x212A)), QString() };
        Daten.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
        Daten.alleEintraege.Anfuegen(Eintrag(QStringLiteral("K1"), QStringLiteral("Klausur")));
        QRandomGenerator zufall(20261210);
        DateiSchreiber s;
        s.SchreibeInt16(300);
        for (int i = 0; i < 300; ++i) {
            SchuelerKurs z(kuerzel.at(zufall.bounded(kuerzel.size())), zufall.bounded(40));
            z.Eintraege.ZeigeKursEintrag(0).datum = QString::number(i);
            z.Speichern(s);
        }
        DateiLeser leser(s.Entnehmen());
        SchuelerKursliste l(leser);
        QVERIFY(leser.ok());
        QCOMPARE(l.AnzahlKurse(), qint64(300));

        const auto allePruefen = [&](int schritt) {
            for (const QString& fach : kuerzel) {
                for (qint64 id = -1; id <= 41; ++id) {
                    const qint64 p = PositionImDurchlauf(l, fach, id);
                    const SchuelerKursZeiger z = l.Zeigen(fach, id);
                    if (p == 0)
                        QVERIFY2(!z,
                            qPrintable(QStringLiteral("Schritt %1: %2/%3")
                                           .arg(schritt)
                                           .arg(fach)
                                           .arg(id)));
                    else
                        QVERIFY2(z == l.ZeigePosition(p),
                            qPrintable(QStringLiteral("Schritt %1: %2/%3")
                                           .arg(schritt)
                                           .arg(fach)
                                           .arg(id)));
                }
            }
        };
        allePruefen(0);
        for (int schritt = 1; schritt <= 400; ++schritt) {
            const QString fach = kuerzel.at(zufall.bounded(kuerzel.size()));
            const qint64 id = zufall.bounded(45);
            switch (zufall.bounded(4)) {
            case 0:
            case 1: {
                // Every copy of a key takes the new values; the first is the row itself.
                auto neu = std::make_shared<SchuelerKurs>(fach, id);
                neu->Eintraege.ZeigeKursEintrag(0).datum = QStringLiteral("neu %1").arg(schritt);
                const qint64 vorher = l.AnzahlKurse();
                const qint64 p = PositionImDurchlauf(l, fach, id);
                l.Anfuegen(neu);
                QCOMPARE(l.AnzahlKurse(), vorher + (p == 0 ? 1 : 0));
                QCOMPARE(l.ZeigePosition(p == 0 ? l.AnzahlKurse() : p), neu);
                for (qint64 i = 1; i <= l.AnzahlKurse(); ++i) {
                    const SchuelerKursZeiger z = l.ZeigePosition(i);
                    if (z->ID == id && z->FachKuerzel.compare(fach, Qt::CaseInsensitive) == 0)
                        QCOMPARE(std::as_const(z->Eintraege).ZeigeKursEintrag(0).datum,
                            QStringLiteral("neu %1").arg(schritt));
                }
                break;
            }
            case 2: {
                const qint64 vorher = l.AnzahlKurse();
                const qint64 p = PositionImDurchlauf(l, fach, id);
                const SchuelerKursZeiger danach
                    = p > 0 && p < vorher ? l.ZeigePosition(p + 1) : nullptr;
                l.Loeschen(fach, id);
                QCOMPARE(l.AnzahlKurse(), vorher - (p == 0 ? 0 : 1));
                if (danach)
                    QCOMPARE(l.ZeigePosition(p), danach);
                break;
            }
            case 3:
                // Moves entries inside the rows, not the rows.
                l.SpalteVerschieben(0, 1);
                break;
            }
            allePruefen(schritt);
        }
        // A copy has an index of its own.
        SchuelerKursliste kopie = l.Kopie();
        l.Loeschen(l.ZeigePosition(1)->FachKuerzel, l.ZeigePosition(1)->ID);
        for (qint64 i = 1; i <= kopie.AnzahlKurse(); ++i) {
            const SchuelerKursZeiger z = kopie.ZeigePosition(i);
            if (PositionImDurchlauf(kopie, z->FachKuerzel, z->ID) == i)
                QVERIFY(kopie.Zeigen(z->FachKuerzel, z->ID) == z);
        }
    }
};

QTEST_GUILESS_MAIN(TestFelder)
#include "tst_felder.moc"
