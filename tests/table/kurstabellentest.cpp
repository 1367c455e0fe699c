#include "kurstabellentest.h"

#include "kurstabelle.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTableWidgetItem>
#include <QTest>

namespace Kurstabellentest {

Datenbestand Kursdaten(const Optionen& o)
{
    Datenbestand d;
    d.istAbiturListe = o.istAbiturListe;
    d.Halbjahr = 3;
    d.HalbjahrKuerzel = QStringLiteral("12.1");
    d.Halbjahrbezeichnung = QStringLiteral("Jahrgang 12, 1. Halbjahr");
    d.mitMarkAbitur = o.mitMarkAbitur;
    d.mitMarkKlausur = true;
    d.mitDefiziten = o.mitDefiziten;
    d.DefizitgrenzeEPH = 4;
    d.DefizitgrenzeQ = 4;
    d.mitWarnung = o.mitWarnung;
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Note")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("unentschuldigte Fehlstunden")));
    d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Hinweis")));
    if (o.mitWeiterenEintraegen) {
        d.alleEintraege.Anfuegen(Eintrag(QStringLiteral("KL"), QStringLiteral("Klausur")));
        d.alleEintraege.Anfuegen(Eintrag(QString(), QStringLiteral("Sonstiges")));
    }
    d.mitDaten = true;
    for (int p = 15; p >= 0; --p)
        d.zNoten.append(
            Note(QString::number(p), QStringLiteral("%1 Punkte").arg(p), p, QString::number(p)));
    d.zNoten.append(Note(QStringLiteral("E"), QStringLiteral("entschuldigt"), -1, QString()));
    d.NotenPass = QStringLiteral("Geheim");
    d.EMailAdresse = QStringLiteral("noten@schule.example");
    d.Absender = QStringLiteral("lehrer@schule.example");
    d.Server = QStringLiteral("mail.schule.example");
    d.Benutzer = QStringLiteral("lehrer");
    d.Pass = QStringLiteral("Kennwort");
    d.alleSchueler.Anfuegen(Schueler(11, QStringLiteral("Albers, Anna"), QStringLiteral("g-11")));
    d.alleSchueler.Anfuegen(Schueler(12, QStringLiteral("Brandt, Ben"), QStringLiteral("g-12")));
    d.alleSchueler.Anfuegen(Schueler(13, QStringLiteral("Cordes, Clara"), QStringLiteral("g-13")));
    d.alleSchueler.Anfuegen(Schueler(14, QStringLiteral("Dahl, Dennis"), QStringLiteral("g-14")));
    d.alleSchueler.Anfuegen(Schueler(15, QStringLiteral("Ernst, Emil"), QStringLiteral("g-15")));

    auto m = std::make_shared<::Kurs>();
    m->kNr = 2;
    m->KursArt = QStringLiteral("LK");
    m->Fach = QStringLiteral("Mathematik");
    m->Lehrer = QStringLiteral("Mü");
    m->Kuerzel = QStringLiteral("M");
    m->Schueler = Menge(QStringLiteral("14,13,12,11"));
    m->DrittesFachSchueler = Menge(QStringLiteral("11,13"));
    m->ViertesFachSchueler = Menge(QStringLiteral("12,13"));
    m->KlausurSchueler = Menge(QStringLiteral("11,13"));
    m->GewarntSchueler = Menge(QStringLiteral("12"));
    d.alleKurse.Anfuegen(m);

    auto de = std::make_shared<::Kurs>();
    de->kNr = 1;
    de->KursArt = QStringLiteral("GK");
    de->Fach = QStringLiteral("Deutsch");
    de->Lehrer = QStringLiteral("Mü");
    de->Kuerzel = QStringLiteral("D");
    de->Schueler = Menge(QStringLiteral("12,15"));
    d.alleKurse.Anfuegen(de);

    const qint64 anzahl = d.alleEintraege.Anzahl();
    auto zeile = [&](const QString& fach, qint64 id, const QStringList& werte, qint64 laenge) {
        auto z = std::make_shared<SchuelerKurs>(fach, id);
        KursEintraege eintraege;
        for (qint64 i = 0; i < laenge; ++i) {
            const Eintrag& e = d.alleEintraege.ZeigeEintrag(i);
            eintraege.Anfuegen(
                KursEintrag(e.ID, e.Bezeichnung, i < werte.size() ? werte.at(i) : QString()));
        }
        z->Eintraege = eintraege;
        d.alleSchuelerKurse.Anfuegen(z);
    };
    const QStringList werte11 = { QStringLiteral("12"), QStringLiteral("4"), QStringLiteral("2"),
        QStringLiteral("Facharbeit"), QStringLiteral("11"), QStringLiteral("x") };
    const QStringList werte12 = { QStringLiteral("3"), QStringLiteral("10"), QStringLiteral("0"),
        QStringLiteral("Attest fehlt"), QStringLiteral("E"), QString() };
    zeile(QStringLiteral("M"), 11, werte11, anzahl);
    zeile(QStringLiteral("M"), 12, werte12, anzahl);
    zeile(QStringLiteral("M"), 14, { QStringLiteral("7"), QStringLiteral("6") }, 2);
    zeile(QStringLiteral("D"), 12, { QStringLiteral("9") }, anzahl);
    return d;
}

void SchuelerHinzufuegen(
    Datenbestand& d, const QString& kuerzel, qint64 ab, int anzahl, bool mitZeilen)
{
    KursZeiger kurs;
    for (qint64 i = 1; i <= d.alleKurse.AnzahlKurse(); ++i)
        if (d.alleKurse.Zeigen(i)->Kuerzel == kuerzel)
            kurs = d.alleKurse.Zeigen(i);
    if (!kurs)
        return;
    for (int n = 0; n < anzahl; ++n) {
        const qint64 id = ab + n;
        d.alleSchueler.Anfuegen(
            Schueler(id, QStringLiteral("Schüler %1").arg(id), QStringLiteral("g-%1").arg(id)));
        kurs->Schueler.Einfuegen(id);
        if (!mitZeilen)
            continue;
        auto z = std::make_shared<SchuelerKurs>(kuerzel, id);
        KursEintraege eintraege;
        for (qint64 i = 0; i < d.alleEintraege.Anzahl(); ++i) {
            const Eintrag& e = d.alleEintraege.ZeigeEintrag(i);
            QString wert;
            if (e.Bezeichnung == QLatin1String("Note"))
                wert = QStringLiteral("10");
            else if (e.Bezeichnung == QLatin1String("Fehlstunden"))
                wert = QStringLiteral("2");
            eintraege.Anfuegen(KursEintrag(e.ID, e.Bezeichnung, wert));
        }
        z->Eintraege = eintraege;
        d.alleSchuelerKurse.Anfuegen(z);
    }
}

QPointer<Kursfenster> DruckKurs(
    const QString& ordner, int weitere, bool mitDefiziten, const QString& langerName)
{
    Optionen o;
    o.mitDefiziten = mitDefiziten;
    Datenbestand d = Kursdaten(o);
    const SchuelerKursZeiger r = d.alleSchuelerKurse.Zeigen(QStringLiteral("M"), 12);
    r->Eintraege.ZeigeKursEintrag(3).datum = QStringLiteral("3");
    r->Eintraege.ZeigeKursEintrag(4).datum = QStringLiteral("2");
    SchuelerHinzufuegen(d, QStringLiteral("M"), 101, weitere, true);
    if (!langerName.isEmpty()) {
        d.alleSchueler.Anfuegen(Schueler(99, langerName, QStringLiteral("g-99")));
        d.alleKurse.Zeigen(1)->Schueler.Einfuegen(qint64(99));
    }
    if (Anlegen(ordner, d).isEmpty())
        return nullptr;
    QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
    f->meineTabelle()->EditorSchliessen();
    return f;
}

QString Anlegen(const QString& ordner, const Datenbestand& daten, const QString& name)
{
    Spaltenstruktur struktur;
    struktur.KurslistenInit(daten);
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    QString meldung;
    if (!Datenbestand::Schreiben(puffer, daten, struktur, meldung)) {
        qWarning("Kursliste nicht geschrieben: %s", qPrintable(meldung));
        return {};
    }
    const QString pfad = QDir(ordner).filePath(name);
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || datei.write(bytes) != bytes.size())
        return {};
    datei.close();
    GlobaleDatenZuruecksetzen();
    return Daten.LadeDatei(pfad) ? pfad : QString();
}

bool Lesen(const QString& pfad, Datenbestand& daten, Spaltenstruktur& struktur)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    QString meldung;
    return Datenbestand::Lesen(datei, daten, struktur, meldung);
}

KursZeiger Kurs(const QString& kuerzel)
{
    for (qint64 i = 1; i <= Daten.alleKurse.AnzahlKurse(); ++i)
        if (Daten.alleKurse.Zeigen(i)->Kuerzel == kuerzel)
            return Daten.alleKurse.Zeigen(i);
    return nullptr;
}

QPointer<Kursfenster> Oeffnen(const QString& kuerzel)
{
    QPointer<Kursfenster> fenster = new Kursfenster(Kurs(kuerzel));
    fenster->show();
    return fenster;
}

int Spalte(const QString& bezeichnung)
{
    for (qint64 i = 0; i < Daten.alleEintraege.Anzahl(); ++i)
        if (Daten.alleEintraege.Bezeichnung(i) == bezeichnung)
            return int(TabellenStruktur.ErsteSpalte + i);
    return -1;
}

QLineEdit* Editor(const Kursfenster& fenster)
{
    return fenster.meineTabelle()->Editor();
}

QPoint EditorZelle(const Kursfenster& fenster)
{
    const Kurstabelle* t = fenster.meineTabelle();
    return t->Editor() ? QPoint(t->EditorSpalte(), t->EditorZeile()) : QPoint(-1, -1);
}

QString Sichtbar(const Kursfenster& fenster, int row, int column)
{
    const Kurstabelle* t = fenster.meineTabelle();
    if (t->Editor() && t->EditorZeile() == row && t->EditorSpalte() == column)
        return t->Editor()->text();
    return Zelltext(fenster, row, column);
}

QString Zelltext(const Kursfenster& fenster, int row, int column)
{
    const QTableWidgetItem* zelle = fenster.meineTabelle()->item(row, column);
    return zelle ? zelle->text() : QString();
}

QMimeData* Spaltenzug(int column)
{
    auto* daten = new QMimeData;
    daten->setData(Kursfenster::SpaltenTyp, QByteArray::number(column));
    return daten;
}

bool Gewarnt(const Kursfenster& fenster, int row)
{
    if (!Daten.mitWarnung)
        return false;
    const QTableWidgetItem* zelle
        = fenster.meineTabelle()->item(row, int(TabellenStruktur.ErsteSpalte) - 1);
    return zelle && zelle->checkState() == Qt::Checked;
}

void Tippen(Kursfenster& fenster, const QString& text)
{
    QLineEdit* editor = Editor(fenster);
    QVERIFY(editor);
    if (text.isEmpty()) {
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        return;
    }
    for (const QChar zeichen : text) {
        if (zeichen.unicode() < 0x80) {
            QTest::keyClick(editor, zeichen.toLatin1());
        } else {
            // Beyond ASCII: a key with its text, as a keyboard layout delivers it.
            const auto taste = zeichen.unicode() <= 0xFF ? Qt::Key(zeichen.toUpper().unicode())
                                                         : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, editor, taste, QString(zeichen), Qt::NoModifier);
        }
    }
}

void Taste(Kursfenster& fenster, Qt::Key taste, Qt::KeyboardModifiers mod)
{
    QLineEdit* editor = Editor(fenster);
    QVERIFY(editor);
    QTest::keyClick(editor, taste, mod);
}

void Klick(Kursfenster& fenster, int row, int column, Qt::KeyboardModifiers mod)
{
    Kurstabelle* t = fenster.meineTabelle();
    const QRect zelle = t->visualRect(t->model()->index(row, column));
    QTest::mouseClick(t->viewport(), Qt::LeftButton, mod, zelle.center());
}

QString Gespeichert(const Kursfenster& fenster, int row, const QString& bezeichnung)
{
    const SchuelerKurs* r = fenster.Zeilenkopie(row);
    if (!r)
        return QStringLiteral("<keine Zeile>");
    for (qint64 i = 0; i < r->Eintraege.Anzahl(); ++i)
        if (r->Eintraege.ZeigeKursEintrag(i).Bezeichnung == bezeichnung)
            return r->Eintraege.ZeigeKursEintrag(i).datum;
    return QStringLiteral("<kein Eintrag>");
}

} // namespace Kurstabellentest
