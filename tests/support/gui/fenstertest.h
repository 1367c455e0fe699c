#pragma once

// The base of the window tests: what every one of them sets up and tears down, so that a
// test class holds only what it is about.
//
//   class TestKursfensterSichern : public Kursfenstertest {
//       Q_OBJECT
//   private slots:
//       void sichern() { QVERIFY(!Kurslistenbauer().Anlegen(ordner.path()).isEmpty()); ... }
//   };
//
// A test class that needs more in a step defines the slot itself and calls the step's
// function first (init: Grundzustand(), cleanup: Aufraeumen()).

#include "aufzeichnendeplattform.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTest>

class Fenstertest : public QObject {
    Q_OBJECT

protected:
    // Answers every dialog from its queues and records what was shown (installed while the
    // test object lives; before every test function its record is emptied and the answers a
    // test left queued are dropped, so that no test answers another's dialogs).
    AufzeichnendePlattform plattform;
    // A folder of the test run for the files of the tests.
    QTemporaryDir ordner;

    // Back to the start (GuiTest::Zuruecksetzen: no window, fresh global data and menu), an
    // empty recording and no queued answers.
    void Grundzustand();
    // Every window closed, the global data reset.
    void Aufraeumen();

private slots:
    void initTestCase() { QVERIFY(ordner.isValid()); }
    void init() { Grundzustand(); }
    void cleanup() { Aufraeumen(); }
};

// The base of the course window tests: as Fenstertest, on a screen of 1600 x 1200 pixels
// (where the course window places and sizes itself).
class Kursfenstertest : public Fenstertest {
    Q_OBJECT

private slots:
    void initTestCase();
};
