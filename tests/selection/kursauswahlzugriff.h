#pragma once

// Shared set-up of the course selection window tests: global data with a few courses,
// access to the window's parts by their names, and reading a dot from the rendered list.

#include "datenbestand.h"
#include "kursauswahl.h"

#include <QAction>
#include <QColor>
#include <QImage>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

namespace Testdaten {

struct Flaggen {
    bool geaendert = false;
    bool gespeichert = false;
    bool gesendet = false;
};

inline KursZeiger NeuerKurs(const QString& kuerzel, const QString& fach, const QString& art,
    qint64 nr, const QString& lehrer, const QString& schueler, Flaggen flaggen = {})
{
    auto kurs = std::make_shared<Kurs>();
    kurs->Kuerzel = kuerzel;
    kurs->Fach = fach;
    kurs->KursArt = art;
    kurs->kNr = nr;
    kurs->Lehrer = lehrer;
    kurs->Schueler = Menge(schueler);
    kurs->geaendert = flaggen.geaendert;
    kurs->gespeichert = flaggen.gespeichert;
    kurs->gesendet = flaggen.gesendet;
    return kurs;
}

// Global data of a half-year list with two graded entries, three students and no courses.
inline void Grunddaten()
{
    GlobaleDatenZuruecksetzen();
    Daten.istAbiturListe = false;
    Daten.Halbjahr = 3;
    Daten.HalbjahrKuerzel = QStringLiteral("Q1");
    Daten.Halbjahrbezeichnung = QStringLiteral("Qualifikationsphase 1.1");
    Daten.alleEintraege.Anfuegen(Eintrag(QStringLiteral("N"), QStringLiteral("Note")));
    Daten.alleEintraege.Anfuegen(Eintrag(QStringLiteral("F"), QStringLiteral("Fehlstunden")));
    Daten.mitDaten = true;
    Daten.alleSchueler.Anfuegen(Schueler(1, QStringLiteral("Ahrens, Anna"), QStringLiteral("g-1")));
    Daten.alleSchueler.Anfuegen(Schueler(2, QStringLiteral("Böhm, Jörg"), QStringLiteral("g-2")));
    Daten.alleSchueler.Anfuegen(Schueler(3, QStringLiteral("Celik, Deniz"), QStringLiteral("g-3")));
    Daten.EMailAdresse = QStringLiteral("noten@schule.example");
    Daten.Absender = QStringLiteral("lehrer@schule.example");
    Daten.Server = QStringLiteral("mail.schule.example");
    Daten.Benutzer = QStringLiteral("abc");
    Daten.Pass = QStringLiteral("geheim");
    Daten.Unterschrift = QStringLiteral("Frau Müller");
}

inline QTableWidget* Liste(Kursauswahl& fenster)
{
    return fenster.findChild<QTableWidget*>(QStringLiteral("Liste"));
}

inline QAction* Knopf(Kursauswahl& fenster, const QString& name)
{
    return fenster.findChild<QAction*>(name);
}

inline QToolBar* Werkzeuge(Kursauswahl& fenster)
{
    return fenster.findChild<QToolBar*>(QStringLiteral("ToolbarWerkzeuge"));
}

// Presses a toolbar item with the mouse, as the teacher does.
inline void Druecken(Kursauswahl& fenster, const QString& name)
{
    QToolBar* leiste = Werkzeuge(fenster);
    QWidget* knopf = leiste ? leiste->widgetForAction(Knopf(fenster, name)) : nullptr;
    QVERIFY2(knopf, qPrintable(name));
    QTest::mouseClick(knopf, Qt::LeftButton);
}

// The colour at a point of a row's dot cell, read from the rendered list (the dot's box
// is 10 x 10 at (5, 5) of the cell, so (10, 10) is its centre).
inline QColor FarbeInZelle(Kursauswahl& fenster, int zeile, QPoint punkt = QPoint(10, 10))
{
    QTableWidget* liste = Liste(fenster);
    const QImage bild = liste->viewport()->grab().toImage();
    const QRect zelle = liste->visualRect(liste->model()->index(zeile, 0));
    const qreal faktor = bild.devicePixelRatio();
    const QPoint ort = (zelle.topLeft() + punkt) * faktor;
    return bild.pixelColor(ort);
}

} // namespace Testdaten
