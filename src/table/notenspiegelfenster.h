#pragma once

#include "notenspiegel.h"

#include <QWidget>

class Notenbalken;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The small window "Notenspiegel" of a course window: the distribution of a grade column as
// a bar chart, the same numbers as a table, the figures in one line, and "Kopieren", which
// puts the table on the clipboard as tab-separated text. With more than one grade column (an
// exam grade) a list chooses the column. Non-modal; it follows the table while it is open.
class Notenspiegelfenster : public QWidget {
    Q_OBJECT
public:
    explicit Notenspiegelfenster(QWidget* parent = nullptr);

    // The course's title and the distribution of each grade column; the column chosen stays
    // chosen while it is there.
    void Zeigen(const QString& titel, const QList<Notenspiegel>& spiegel);

    // The column shown and its distribution.
    int Spalte() const;
    void SpalteWaehlen(int index);
    const Notenspiegel* Aktuell() const;
    // What "Kopieren" puts on the clipboard.
    QString Text() const;
    void Kopieren();

    QComboBox* Spaltenwahl() const { return zSpaltenwahl; }
    Notenbalken* Balken() const { return zBalken; }
    QTableWidget* Tabelle() const { return zTabelle; }
    QLabel* Zusammenfassung() const { return zZusammenfassung; }
    QPushButton* KopierenKnopf() const { return zKopieren; }

protected:
    void keyPressEvent(QKeyEvent* ereignis) override;

private:
    void SpalteZeigen();

    QString zTitel;
    QList<Notenspiegel> zSpiegel;
    QLabel* zKopf = nullptr;
    QLabel* zSpaltenText = nullptr;
    QComboBox* zSpaltenwahl = nullptr;
    Notenbalken* zBalken = nullptr;
    QTableWidget* zTabelle = nullptr;
    QLabel* zZusammenfassung = nullptr;
    QLabel* zKopiert = nullptr;
    QPushButton* zKopieren = nullptr;
};
