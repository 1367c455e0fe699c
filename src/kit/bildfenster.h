#pragma once

#include <QDialog>

class QLabel;

// The design shared by the splash and the about window: a plain frameless box of 400 × 316
// with the program's picture as backdrop, the version and the rights notice.
class Bildfenster : public QDialog {
    Q_OBJECT
public:
    explicit Bildfenster(const QString& titel, QWidget* parent = nullptr);

    QLabel* txtVersion = nullptr;
    QLabel* copyright = nullptr;

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    // The press is taken so that the release reaches the window.
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    // A click (release) into the window.
    virtual void Geklickt() = 0;
};
