#pragma once

#include "datenbestand.h"

// A course-list file at the limits of its format, built in memory with the model classes:
// 3,000 students, 100 courses of 300 students each, 32,767 student-course rows (the most
// an Int16 count can hold) of 5 entries each, every optional set in use, the default
// column layout.
class Grossbestand {
public:
    static constexpr int AnzahlSchueler = 3000;
    static constexpr int AnzahlKurse = 100;
    static constexpr int SchuelerJeKurs = 300;
    static constexpr int AnzahlZeilen = 32767;

    static void Erzeugen(Datenbestand& daten, Spaltenstruktur& struktur);
};
