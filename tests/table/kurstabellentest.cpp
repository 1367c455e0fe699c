#include "kurstabellentest.h"

#include "kurstabelle.h"

#include <QLineEdit>
#include <QMimeData>
#include <QTableWidgetItem>
#include <QTest>

namespace Kurstabellentest {

QPointer<Kursfenster> DruckKurs(
    const QString& ordner, int weitere, bool mitDefiziten, const QString& langerName)
{
    Kurslistenbauer liste;
    liste.Defizite(mitDefiziten)
        .Wert(QStringLiteral("M"), 12, QStringLiteral("Hinweis"), QStringLiteral("3"))
        .Wert(QStringLiteral("M"), 12, QStringLiteral("Klausur"), QStringLiteral("2"))
        .WeitereSchueler(QStringLiteral("M"), 101, weitere);
    if (!langerName.isEmpty())
        liste.Schueler(99, langerName, QStringLiteral("M"));
    if (liste.Anlegen(ordner).isEmpty())
        return nullptr;
    QPointer<Kursfenster> f = Oeffnen(QStringLiteral("M"));
    f->meineTabelle()->EditorSchliessen();
    return f;
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
