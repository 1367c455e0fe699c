// The course window: column widths dragged at the header's dividers, and column moves by a
// drop of a dragged column or by dragging a heading in the header.

#include "aufzeichnendeplattform.h"
#include "fenstertest.h"
#include "guitest.h"
#include "kurskopf.h"
#include "kurstabelle.h"
#include "kurstabellentest.h"

#include <QDrag>
#include <QHeaderView>
#include <QLineEdit>
#include <QMap>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace Kurstabellentest;

namespace {

const QString Typ = QStringLiteral("ravirireru.listenSpalten");

// Values of the course rows by course, student and caption.
using Werte = QMap<QString, QString>;
QString Schluessel(const QString& kurs, qint64 id, const QString& bezeichnung)
{
    return kurs + QLatin1Char('/') + QString::number(id) + QLatin1Char('/') + bezeichnung;
}

Werte WerteVon(const SchuelerKursliste& liste)
{
    Werte w;
    for (qint64 i = 1; i <= liste.AnzahlKurse(); ++i) {
        const SchuelerKursZeiger r = liste.ZeigePosition(i);
        for (qint64 j = 0; j < r->Eintraege.Anzahl(); ++j) {
            const KursEintrag& e = r->Eintraege.ZeigeKursEintrag(j);
            w.insert(Schluessel(r->FachKuerzel, r->ID, e.Bezeichnung), e.datum);
        }
    }
    return w;
}

QStringList Katalog(const Eintraege& e)
{
    QStringList namen;
    for (qint64 i = 0; i < e.Anzahl(); ++i)
        namen << e.Bezeichnung(i);
    return namen;
}

QStringList Ueberschriften(const Kursfenster& f, int ab)
{
    QStringList namen;
    const Kurstabelle* t = f.meineTabelle();
    for (int c = ab; c < t->columnCount(); ++c)
        namen << t->horizontalHeaderItem(c)->text();
    return namen;
}

// A mouse event straight to a widget, in its own coordinates.
void Maus(QWidget* w, QEvent::Type typ, QPoint p, Qt::MouseButton knopf = Qt::LeftButton,
    Qt::MouseButtons gehalten = Qt::LeftButton)
{
    QMouseEvent e(typ, QPointF(p), w->mapToGlobal(QPointF(p)), knopf, gehalten, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

QWidget* Kopf(const Kursfenster& f)
{
    return f.meineTabelle()->horizontalHeader()->viewport();
}

// Drops data on the table (or its header) of f with the mouse at the centre of column.
void Ablegen(Kursfenster& f, const QMimeData& daten, int column, bool aufKopf = false)
{
    Kurstabelle* t = f.meineTabelle();
    QWidget* ziel = aufKopf ? Kopf(f) : t->viewport();
    const int x = t->columnViewportPosition(column) + t->columnWidth(column) / 2;
    const QPoint p(
        x, aufKopf ? t->Kopfhoehe() / 2 : t->visualRect(t->model()->index(0, 0)).center().y());
    QDragEnterEvent eintritt(p, Qt::MoveAction, &daten, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ziel, &eintritt);
    QDropEvent ablage(QPointF(p), Qt::MoveAction, &daten, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ziel, &ablage);
}

} // namespace

class TestKursfensterSpalten : public Kursfenstertest {
    Q_OBJECT

private:
    QString pfad;
    Werte vorher;

    // Course list without "A" and "W": the first entry column is 3 ("Note"), then
    // "Fehlstunden" 4, "unentschuldigte Fehlstunden" 5, "Hinweis" 6, "Klausur" 7,
    // "Sonstiges" 8.
    void AnlegenOhneAundW()
    {
        const Datenbestand d = Kurslistenbauer().MarkAbitur(false).Warnung(false).Bauen();
        vorher = WerteVon(d.alleSchuelerKurse);
        pfad = Anlegen(ordner.path(), d);
        QVERIFY(!pfad.isEmpty());
        QCOMPARE(TabellenStruktur.ErsteSpalte, 3);
    }

    // Every row of the list in catalogue order, each value under its own caption.
    void ZeilenPruefen(const SchuelerKursliste& liste, const QStringList& katalog)
    {
        for (qint64 i = 1; i <= liste.AnzahlKurse(); ++i) {
            const SchuelerKursZeiger r = liste.ZeigePosition(i);
            QVERIFY(r->Eintraege.Anzahl() >= 2);
            for (qint64 j = 0; j < r->Eintraege.Anzahl(); ++j) {
                const KursEintrag& e = r->Eintraege.ZeigeKursEintrag(j);
                QCOMPARE(e.Bezeichnung, katalog.at(j));
                QCOMPARE(e.datum, vorher.value(Schluessel(r->FachKuerzel, r->ID, e.Bezeichnung)));
            }
        }
    }

    // The window's headings, tags, cells and row copies in catalogue order.
    void FensterPruefen(const Kursfenster& f, const QStringList& katalog)
    {
        const int erste = int(TabellenStruktur.ErsteSpalte);
        QCOMPARE(Ueberschriften(f, erste), katalog);
        const Kurstabelle* t = f.meineTabelle();
        for (int c = erste; c < t->columnCount(); ++c) {
            QVERIFY(f.Spalteneintrag(c));
            QCOMPARE(f.Spalteneintrag(c)->Bezeichnung, katalog.at(c - erste));
        }
        for (int i = 0; i < t->rowCount(); ++i) {
            const qint64 id = Zelltext(f, i, 0).toLongLong();
            for (int c = erste; c < t->columnCount(); ++c) {
                const QString& bez = katalog.at(c - erste);
                QCOMPARE(Sichtbar(f, i, c),
                    vorher.value(Schluessel(f.AngezeigterKurs()->Kuerzel, id, bez)));
            }
            if (const SchuelerKurs* r = f.Zeilenkopie(i)) {
                for (qint64 j = 0; j < r->Eintraege.Anzahl(); ++j)
                    QCOMPARE(r->Eintraege.ZeigeKursEintrag(j).Bezeichnung, katalog.at(j));
            }
        }
        // The header keeps the table's order.
        const QHeaderView* kopf = t->horizontalHeader();
        for (int c = 0; c < t->columnCount(); ++c)
            QCOMPARE(kopf->visualIndex(c), c);
    }

    void AllesPruefen(const QList<Kursfenster*>& fenster, const QStringList& katalog)
    {
        QCOMPARE(Katalog(Daten.alleEintraege), katalog);
        const int erste = int(TabellenStruktur.ErsteSpalte);
        QStringList struktur;
        for (qint64 c = erste; c < TabellenStruktur.SpaltenAnzahl; ++c)
            struktur << TabellenStruktur.Spalten.at(c).Ueberschrift;
        QCOMPARE(struktur, katalog);
        ZeilenPruefen(Daten.alleSchuelerKurse, katalog);
        for (const Kursfenster* f : fenster)
            FensterPruefen(*f, katalog);
    }

    static QStringList Namen(const char* liste)
    {
        QStringList n;
        for (const QString& kurz : QString::fromUtf8(liste).split(QLatin1Char(','))) {
            if (kurz == QLatin1String("N"))
                n << QStringLiteral("Note");
            else if (kurz == QLatin1String("F"))
                n << QStringLiteral("Fehlstunden");
            else if (kurz == QLatin1String("U"))
                n << QStringLiteral("unentschuldigte Fehlstunden");
            else if (kurz == QLatin1String("H"))
                n << QStringLiteral("Hinweis");
            else if (kurz == QLatin1String("K"))
                n << QStringLiteral("Klausur");
            else
                n << QStringLiteral("Sonstiges");
        }
        return n;
    }

private slots:
    // --- Widths -----------------------------------------------------------------------

    void trennerUndMauszeiger_data()
    {
        // Widths 0, 40, 200, then 60 for each entry column: the right edge of "Note" (3) is
        // at 300, of "Fehlstunden" (4) at 360, of the last column (8) at 600.
        QTest::addColumn<int>("x");
        QTest::addColumn<bool>("imKopf");
        QTest::addColumn<int>("spalte");
        QTest::newRow("Kante Note") << 300 << true << 3;
        QTest::newRow("2 links davon") << 298 << true << 3;
        QTest::newRow("2 rechts davon") << 302 << true << 3;
        QTest::newRow("3 links davon") << 297 << true << -1;
        QTest::newRow("3 rechts davon") << 303 << true << -1;
        QTest::newRow("Kante Name") << 240 << true << -1;
        QTest::newRow("Kante Nr.") << 40 << true << -1;
        QTest::newRow("Kante der Spalte 0") << 1 << true << -1;
        QTest::newRow("Kante Fehlstunden") << 361 << true << 4;
        QTest::newRow("Mitte einer Spalte") << 330 << true << -1;
        QTest::newRow("letzte Kante") << 598 << true << 8;
        QTest::newRow("unter dem Kopf") << 300 << false << 3;
    }

    void trennerUndMauszeiger()
    {
        QFETCH(int, x);
        QFETCH(bool, imKopf);
        QFETCH(int, spalte);
        AnlegenOhneAundW();
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        QCOMPARE(TabellenStruktur.BreitenString(), QStringLiteral("0,40,200,60,60,60,60,60,60"));
        Kurstabelle* t = f->meineTabelle();
        // Real mouse moves without a button over the header, or over the first row.
        QWidget* ziel = imKopf ? Kopf(*f) : t->viewport();
        const int y = imKopf ? t->Kopfhoehe() / 2 : 5;
        Maus(ziel, QEvent::MouseMove, QPoint(x, y), Qt::NoButton, Qt::NoButton);
        QCOMPARE(t->Kopf()->BreitenSpalte(), spalte);
        const bool teiler = imKopf && spalte >= 3;
        QCOMPARE(Kopf(*f)->testAttribute(Qt::WA_SetCursor), teiler);
        QCOMPARE(Kopf(*f)->cursor().shape(), teiler ? Qt::SplitHCursor : Qt::ArrowCursor);
        // Moving away shows the arrow again.
        if (teiler) {
            Maus(Kopf(*f), QEvent::MouseMove, QPoint(330, y), Qt::NoButton, Qt::NoButton);
            QCOMPARE(Kopf(*f)->cursor().shape(), Qt::ArrowCursor);
        }
    }

    void breiteZiehen_data()
    {
        QTest::addColumn<int>("druckX");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("spalte");
        QTest::addColumn<int>("breite");
        QTest::newRow("breiter") << 300 << 25 << 3 << 85;
        QTest::newRow("schmaler") << 301 << -30 << 3 << 30;
        QTest::newRow("bis 10") << 299 << -50 << 3 << 10;
        QTest::newRow("unter 10 bleibt 10") << 300 << -55 << 3 << 10;
        QTest::newRow("weit nach links") << 300 << -290 << 3 << 10;
        QTest::newRow("11") << 300 << -49 << 3 << 11;
        QTest::newRow("letzte Spalte") << 600 << 40 << 8 << 100;
        QTest::newRow("Kante Name: nichts") << 240 << 30 << -1 << 200;
    }

    void breiteZiehen()
    {
        QFETCH(int, druckX);
        QFETCH(int, dx);
        QFETCH(int, spalte);
        QFETCH(int, breite);
        AnlegenOhneAundW();
        QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
        Kurstabelle* t = f->meineTabelle();
        const int y = t->Kopfhoehe() / 2;
        const int geprueft = spalte >= 0 ? spalte : 2;
        Maus(Kopf(*f), QEvent::MouseButtonPress, QPoint(druckX, y), Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(t->Kopf()->BreiteWirdGezogen(), spalte >= 0);
        // In steps, as the mouse moves; the window's width follows at every step.
        for (int schritt = 1; schritt <= 4; ++schritt) {
            Maus(Kopf(*f), QEvent::MouseMove, QPoint(druckX + dx * schritt / 4, y), Qt::NoButton,
                Qt::LeftButton);
            QCOMPARE(f->width(), int(TabellenStruktur.Gesamtbreite()));
        }
        Maus(Kopf(*f), QEvent::MouseButtonRelease, QPoint(druckX + dx, y), Qt::LeftButton,
            Qt::NoButton);
        QVERIFY(!t->Kopf()->BreiteWirdGezogen());
        QCOMPARE(TabellenStruktur.Spalten.at(geprueft).Breite, breite);
        QCOMPARE(t->columnWidth(geprueft), breite);
        QCOMPARE(f->width(), int(TabellenStruktur.Gesamtbreite()));
        // The other columns keep their widths.
        for (int c = 0; c < t->columnCount(); ++c)
            QCOMPARE(t->columnWidth(c), int(TabellenStruktur.Spalten.at(c).Breite));
        QCOMPARE(TabellenStruktur.Gesamtbreite(), 600 - (spalte >= 0 ? 60 : 200) + breite);
        QCOMPARE(Daten.wurdeGeaendert(), spalte >= 0);
        QCOMPARE(Kopf(*f)->cursor().shape(), Qt::ArrowCursor);
        // A width drag moves no column.
        QCOMPARE(Katalog(Daten.alleEintraege), Namen("N,F,U,H,K,S"));
    }

    void breiteInAllenFensternUndInDerDatei()
    {
        AnlegenOhneAundW();
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("D"));
        const int y = a->meineTabelle()->Kopfhoehe() / 2;
        // "Fehlstunden" (4) of window a: 60 -> 95.
        Maus(Kopf(*a), QEvent::MouseButtonPress, QPoint(360, y));
        Maus(Kopf(*a), QEvent::MouseMove, QPoint(395, y), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(a->meineTabelle()->columnWidth(4), 95);
        // The other window follows on release.
        QCOMPARE(b->meineTabelle()->columnWidth(4), 60);
        Maus(Kopf(*a), QEvent::MouseButtonRelease, QPoint(395, y), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(b->meineTabelle()->columnWidth(4), 95);
        QCOMPARE(b->width(), 635);
        QCOMPARE(a->width(), 635);
        QVERIFY(a->zAnpassen);
        QVERIFY(b->zAnpassen);
        QVERIFY(Daten.wurdeGeaendert());
        // A window opened afterwards has the new width too.
        QPointer<Kursfenster> c = Oeffnen(QStringLiteral("M"));
        QCOMPARE(c->meineTabelle()->columnWidth(4), 95);

        // Saved with the course-list file.
        QVERIFY(Daten.Speichern());
        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        QCOMPARE(struktur.BreitenString(), QStringLiteral("0,40,200,60,95,60,60,60,60"));
    }

    // --- Moves ------------------------------------------------------------------------

    void verschieben_data()
    {
        QTest::addColumn<int>("von");
        QTest::addColumn<int>("nach");
        QTest::addColumn<bool>("aufKopf");
        QTest::addColumn<QStringList>("katalog");
        QTest::newRow("5 auf 3") << 5 << 3 << false << Namen("U,N,F,H,K,S");
        QTest::newRow("5 auf 3, auf den Kopf") << 5 << 3 << true << Namen("U,N,F,H,K,S");
        QTest::newRow("3 auf 5") << 3 << 5 << false << Namen("F,U,N,H,K,S");
        QTest::newRow("erste auf letzte") << 3 << 8 << false << Namen("F,U,H,K,S,N");
        QTest::newRow("letzte auf erste") << 8 << 3 << false << Namen("S,N,F,U,H,K");
        QTest::newRow("Nachbarn") << 6 << 7 << false << Namen("N,F,U,K,H,S");
    }

    void verschieben()
    {
        QFETCH(int, von);
        QFETCH(int, nach);
        QFETCH(bool, aufKopf);
        QFETCH(QStringList, katalog);
        AnlegenOhneAundW();
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("D"));
        std::unique_ptr<QMimeData> daten(Spaltenzug(von));
        Ablegen(*a, *daten, nach, aufKopf);
        AllesPruefen({ a, b }, katalog);
        QVERIFY(Daten.wurdeGeaendert());
        // A move changes no value of the table: nothing to save in the windows.
        QVERIFY(!a->LokalGeaendert());
        QVERIFY(!b->LokalGeaendert());
        QVERIFY(a->zAnpassen);
        QVERIFY(b->zAnpassen);
        // The widths moved with their columns (all entry columns are 60 wide here).
        QCOMPARE(TabellenStruktur.BreitenString(), QStringLiteral("0,40,200,60,60,60,60,60,60"));
    }

    void verschiebenUndSichern_data()
    {
        QTest::addColumn<bool>("zweitesFenster");
        QTest::addColumn<bool>("ablageImZweiten");
        QTest::newRow("Fenster der Ablage sichert") << false << false;
        QTest::newRow("anderes Fenster sichert") << true << false;
        QTest::newRow("Ablage im anderen Fenster, erstes sichert") << false << true;
    }

    void verschiebenUndSichern()
    {
        // Two windows over the same course, each with its own copies: moving "unentschuldigte
        // Fehlstunden" (5) onto "Note" (3) gives former 5, former 3, former 4; a value typed
        // afterwards and the values saved by either window stay under their own entries.
        QFETCH(bool, zweitesFenster);
        QFETCH(bool, ablageImZweiten);
        AnlegenOhneAundW();
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("M"));
        // Window b: an unchecked grade typed into "Note" of row 0 (student 11).
        Tippen(*b, QStringLiteral("9"));
        QCOMPARE(EditorZelle(*b), QPoint(3, 0));

        std::unique_ptr<QMimeData> daten(Spaltenzug(5));
        Ablegen(ablageImZweiten ? *b : *a, *daten, 3);
        const QStringList katalog = Namen("U,N,F,H,K,S");
        QCOMPARE(Katalog(Daten.alleEintraege), katalog);
        QCOMPARE(Ueberschriften(*a, 3).mid(0, 3), katalog.mid(0, 3));
        QCOMPARE(Ueberschriften(*b, 3).mid(0, 3), katalog.mid(0, 3));

        // The typed grade moved with "Note" to column 4 and is still unchecked there.
        QCOMPARE(EditorZelle(*b), QPoint(4, 0));
        QCOMPARE(Editor(*b)->text(), QStringLiteral("9"));
        QCOMPARE(b->AktiveSpalte(), 4);
        QCOMPARE(a->AktiveSpalte(), 4);
        QCOMPARE(Gespeichert(*b, 0, QStringLiteral("Note")), QStringLiteral("12"));
        QVERIFY(b->OffeneEingabe());
        // Tab checks it into "Note" and moves to "Fehlstunden".
        Taste(*b, Qt::Key_Tab);
        QCOMPARE(Gespeichert(*b, 0, QStringLiteral("Note")), QStringLiteral("9"));
        QCOMPARE(EditorZelle(*b), QPoint(5, 0));
        // Window a: hours typed into the moved "unentschuldigte Fehlstunden" (now 3) of row 1.
        Klick(*a, 1, 3);
        Tippen(*a, QStringLiteral("7"));
        Taste(*a, Qt::Key_Return);
        QCOMPARE(
            Gespeichert(*a, 1, QStringLiteral("unentschuldigte Fehlstunden")), QStringLiteral("7"));

        Kursfenster& sichert = zweitesFenster ? *b : *a;
        sichert.ToolbarWerkzeuge_Pressed(sichert.SichernAktion());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(plattform.meldungen, QStringList());

        Datenbestand gelesen;
        Spaltenstruktur struktur;
        QVERIFY(Lesen(pfad, gelesen, struktur));
        QCOMPARE(Katalog(gelesen.alleEintraege), katalog);
        QStringList spalten;
        for (qint64 c = struktur.ErsteSpalte; c < struktur.SpaltenAnzahl; ++c)
            spalten << struktur.Spalten.at(c).Ueberschrift;
        QCOMPARE(spalten, katalog);
        // The values the saving window changed; everything else as before.
        if (zweitesFenster)
            vorher.insert(
                Schluessel(QStringLiteral("M"), 11, QStringLiteral("Note")), QStringLiteral("9"));
        else
            vorher.insert(
                Schluessel(QStringLiteral("M"), 12, QStringLiteral("unentschuldigte Fehlstunden")),
                QStringLiteral("7"));
        // Student 13 had no row; the saving window created one for 13 only when it typed there.
        for (qint64 i = 1; i <= gelesen.alleSchuelerKurse.AnzahlKurse(); ++i) {
            const SchuelerKursZeiger r = gelesen.alleSchuelerKurse.ZeigePosition(i);
            for (qint64 j = 0; j < r->Eintraege.Anzahl(); ++j) {
                const KursEintrag& e = r->Eintraege.ZeigeKursEintrag(j);
                QCOMPARE(e.Bezeichnung, katalog.at(j));
                QCOMPARE(e.datum, vorher.value(Schluessel(r->FachKuerzel, r->ID, e.Bezeichnung)));
            }
        }
    }

    void kurzeZeileBehaeltIhreEintraege()
    {
        // Student 14's stored row holds only "Note" 7 and "Fehlstunden" 6. Moving
        // "unentschuldigte Fehlstunden" to the front fills the row up with the entries it
        // lacked (with their keys), so a value typed there later is stored under its entry.
        AnlegenOhneAundW();
        std::unique_ptr<QMimeData> daten(Spaltenzug(5));
        {
            QPointer<Kursfenster> a = Oeffnen(QStringLiteral("D"));
            Ablegen(*a, *daten, 3);
            a->close();
        }
        const SchuelerKursZeiger r = Daten.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 14);
        QVERIFY(r);
        QVERIFY(r->Eintraege.Anzahl() >= 3);
        const QStringList katalog = Namen("U,N,F,H,K,S");
        for (qint64 j = 0; j < r->Eintraege.Anzahl(); ++j)
            QCOMPARE(r->Eintraege.ZeigeKursEintrag(j).Bezeichnung, katalog.at(j));
        QCOMPARE(r->Eintraege.Zeigen(QString(), QStringLiteral("Note")), QStringLiteral("7"));
        QCOMPARE(
            r->Eintraege.Zeigen(QString(), QStringLiteral("Fehlstunden")), QStringLiteral("6"));

        QPointer<Kursfenster> m = Oeffnen(QStringLiteral("M"));
        Klick(*m, 3, 3);
        Tippen(*m, QStringLiteral("2"));
        Taste(*m, Qt::Key_Return);
        QCOMPARE(plattform.pieps, 0);
        QCOMPARE(
            Gespeichert(*m, 3, QStringLiteral("unentschuldigte Fehlstunden")), QStringLiteral("2"));
    }

    void nichtsVerschoben_data()
    {
        QTest::addColumn<QString>("typ");
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<int>("ziel");
        QTest::newRow("anderer Typ") << QStringLiteral("text/plain") << QByteArray("5") << 3;
        QTest::newRow("auf Name") << Typ << QByteArray("5") << 2;
        QTest::newRow("auf Nr.") << Typ << QByteArray("5") << 1;
        QTest::newRow("auf die versteckte Spalte") << Typ << QByteArray("5") << 0;
        QTest::newRow("auf sich selbst") << Typ << QByteArray("5") << 5;
        QTest::newRow("hinter die letzte Spalte") << Typ << QByteArray("5") << 9;
        QTest::newRow("keine Zahl") << Typ << QByteArray("fünf") << 3;
        QTest::newRow("Kennspalte als Quelle") << Typ << QByteArray("2") << 4;
        QTest::newRow("Quelle außerhalb") << Typ << QByteArray("12") << 4;
        QTest::newRow("negative Quelle") << Typ << QByteArray("-1") << 4;
    }

    void nichtsVerschoben()
    {
        QFETCH(QString, typ);
        QFETCH(QByteArray, inhalt);
        QFETCH(int, ziel);
        AnlegenOhneAundW();
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("D"));
        const Spaltenstruktur struktur = TabellenStruktur;
        QMimeData daten;
        daten.setData(typ, inhalt);
        Kurstabelle* t = a->meineTabelle();
        QPoint mitte;
        if (ziel < t->columnCount())
            mitte = QPoint(t->columnViewportPosition(ziel) + t->columnWidth(ziel) / 2, 30);
        else
            mitte = QPoint(int(TabellenStruktur.Gesamtbreite()) + 20, 30);
        QVERIFY(!a->meineTabelle_DropObject(&daten, mitte));
        if (ziel < t->columnCount() && ziel > 0)
            Ablegen(*a, daten, ziel);
        QVERIFY(TabellenStruktur == struktur);
        AllesPruefen({ a, b }, Namen("N,F,U,H,K,S"));
        QVERIFY(!Daten.wurdeGeaendert());
    }

    void mitteDesAbgelegtenRechtecks_data()
    {
        // The target is the column under the centre of the dropped rectangle: "Note" spans
        // x 240 .. 299, "Fehlstunden" 300 .. 359.
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("ziel");
        QTest::newRow("erster Punkt von Note") << 240 << 3;
        QTest::newRow("letzter Punkt von Note") << 299 << 3;
        QTest::newRow("erster Punkt von Fehlstunden") << 300 << 4;
        QTest::newRow("letzter Punkt von Name") << 239 << -1;
    }

    void mitteDesAbgelegtenRechtecks()
    {
        QFETCH(int, x);
        QFETCH(int, ziel);
        AnlegenOhneAundW();
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        std::unique_ptr<QMimeData> daten(Spaltenzug(7));
        QCOMPARE(a->meineTabelle_DropObject(daten.get(), QPoint(x, 40)), ziel >= 0);
        if (ziel == 3)
            QCOMPARE(Katalog(Daten.alleEintraege), Namen("K,N,F,U,H,S"));
        else if (ziel == 4)
            QCOMPARE(Katalog(Daten.alleEintraege), Namen("N,K,F,U,H,S"));
        else
            QCOMPARE(Katalog(Daten.alleEintraege), Namen("N,F,U,H,K,S"));
    }

    void kopfZiehen_data()
    {
        QTest::addColumn<int>("von");
        QTest::addColumn<int>("nachX");
        QTest::addColumn<QStringList>("katalog");
        // The edge the drop marker shows before the release: "L" the left edge of column
        // ziel, "R" its right edge, "" no marker.
        QTest::addColumn<int>("ziel");
        QTest::addColumn<QString>("kante");
        // The section under the mouse past its middle becomes the target.
        QTest::newRow("5 auf 3") << 5 << 250 << Namen("U,N,F,H,K,S") << 3 << "L";
        QTest::newRow("3 auf 7") << 3 << 530 << Namen("F,U,H,K,N,S") << 7 << "R";
        QTest::newRow("3 nur bis 6") << 3 << 470 << Namen("F,U,H,N,K,S") << 6 << "R";
        QTest::newRow("5 nach rechts bis ganz hinten")
            << 5 << 595 << Namen("N,F,H,K,S,U") << 8 << "R";
        QTest::newRow("5 auf Name: nichts") << 5 << 100 << Namen("N,F,U,H,K,S") << -1 << "";
        QTest::newRow("5 kaum bewegt: nichts") << 5 << 340 << Namen("N,F,U,H,K,S") << -1 << "";
        QTest::newRow("Name ziehen: nichts") << 2 << 400 << Namen("N,F,U,H,K,S") << -1 << "";
        QTest::newRow("Nr. ziehen: nichts") << 1 << 400 << Namen("N,F,U,H,K,S") << -1 << "";
    }

    void kopfZiehen()
    {
        QFETCH(int, von);
        QFETCH(int, nachX);
        QFETCH(QStringList, katalog);
        QFETCH(int, ziel);
        QFETCH(QString, kante);
        AnlegenOhneAundW();
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        QPointer<Kursfenster> b = Oeffnen(QStringLiteral("D"));
        Kurstabelle* t = a->meineTabelle();
        const int y = t->Kopfhoehe() / 2;
        const int startX = t->columnViewportPosition(von) + t->columnWidth(von) / 2;
        int erwartet = -1;
        if (ziel >= 0)
            erwartet = t->viewport()->x() + t->columnViewportPosition(ziel)
                + (kante == QLatin1String("R") ? t->columnWidth(ziel) : 0);
        Maus(Kopf(*a), QEvent::MouseButtonPress, QPoint(startX, y));
        // Moved in steps, as a hand does.
        for (int schritt = 1; schritt <= 5; ++schritt)
            Maus(Kopf(*a), QEvent::MouseMove, QPoint(startX + (nachX - startX) * schritt / 5, y),
                Qt::NoButton, Qt::LeftButton);
        // While dragging, the marker stands where the column will land, over the header and
        // the rows.
        QWidget* marke = t->Ablagemarke();
        QCOMPARE(marke && marke->isVisible(), erwartet >= 0);
        if (erwartet >= 0) {
            QCOMPARE(marke->geometry().center().x(), erwartet);
            QCOMPARE(marke->height(), t->height());
        }
        Maus(Kopf(*a), QEvent::MouseButtonRelease, QPoint(nachX, y), Qt::LeftButton, Qt::NoButton);
        QVERIFY(!marke || !marke->isVisible());
        AllesPruefen({ a, b }, katalog);
        QCOMPARE(Daten.wurdeGeaendert(), katalog != Namen("N,F,U,H,K,S"));
        // A click on a heading does nothing either.
        const QStringList jetzt = Katalog(Daten.alleEintraege);
        Maus(Kopf(*a), QEvent::MouseButtonPress, QPoint(startX, y));
        Maus(Kopf(*a), QEvent::MouseButtonRelease, QPoint(startX, y), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(Katalog(Daten.alleEintraege), jetzt);
    }

    void optionZiehenStartetSpaltenziehen()
    {
        // A press with the Option key on an entry cell and a move with the button held start
        // the drag of that column: its index under the column type, the open hand.
        AnlegenOhneAundW();
        QPointer<Kursfenster> a = Oeffnen(QStringLiteral("M"));
        Kurstabelle* t = a->meineTabelle();
        const QPoint druck = t->visualRect(t->model()->index(1, 6)).center();
        QTest::mousePress(t->viewport(), Qt::LeftButton, Qt::AltModifier, druck);
        QVERIFY(EditorZelle(*a) != QPoint(6, 1));
        QMouseEvent zug(QEvent::MouseMove, QPointF(druck + QPoint(-40, 3)),
            t->viewport()->mapToGlobal(QPointF(druck + QPoint(-40, 3))), Qt::NoButton,
            Qt::LeftButton, Qt::AltModifier);
        QCoreApplication::sendEvent(t->viewport(), &zug);
        // The drag has ended at once here (no window system that carries it); Qt deletes
        // the drag object later.
        QDrag* ziehen = t->findChild<QDrag*>();
        QVERIFY(ziehen);
        QVERIFY(ziehen->mimeData());
        QCOMPARE(ziehen->mimeData()->data(Typ), QByteArray("6"));
        QVERIFY(!ziehen->dragCursor(Qt::MoveAction).isNull());
        QTest::mouseRelease(t->viewport(), Qt::LeftButton, Qt::AltModifier, druck);
        // Nothing moved.
        QCOMPARE(Katalog(Daten.alleEintraege), Namen("N,F,U,H,K,S"));
        // Dropping the same data back on the table afterwards is an ordinary drop.
        Ablegen(*a, *ziehen->mimeData(), 8);
        QCOMPARE(Katalog(Daten.alleEintraege), Namen("N,F,U,K,S,H"));
    }
};

RAVIRIRERU_GUI_TEST_MAIN(TestKursfensterSpalten)
#include "tst_kursfenster_spalten.moc"
