#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

// The line under a course window's table: the course's figures, and for a few seconds the
// reason why a value was refused (so that a teacher on a muted computer sees what the beep
// meant). A lasting warning on the right says when the recovery journal cannot be written.
class Kursstatuszeile : public QStatusBar {
    Q_OBJECT
public:
    explicit Kursstatuszeile(QWidget* parent = nullptr);

    // How long a refusal's reason stands in place of the figures.
    static constexpr int GrundMs = 6000;

    // The figures: the long text where the line is wide enough, else the short one (the long
    // one stays the tooltip).
    void ZahlenZeigen(const QString& lang, const QString& kurz);
    // The reason of a refusal, for GrundMs; a new one replaces it and starts anew.
    void GrundZeigen(const QString& grund);
    // A warning that stays until it is taken back with an empty text.
    void WarnungZeigen(const QString& warnung);

    // The figures in full, and as the line shows them now.
    QString Zahlen() const { return zLang; }
    QString SichtbareZahlen() const;
    // The reason shown now, empty while the figures show.
    QString Grund() const;
    QString Warnung() const;

signals:
    // A click on the figures (the course window opens its overview of the grades).
    void ZahlenGeklickt();

protected:
    void resizeEvent(QResizeEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void GrundAusblenden();
    void ZahlenEinpassen();

    QString zLang;
    QString zKurz;

    QLabel* zZahlen = nullptr;
    QLabel* zGrund = nullptr;
    QLabel* zWarnung = nullptr;
    QTimer* zUhr = nullptr;
};
