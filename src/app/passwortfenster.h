#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The login window: asks for the security password of the loaded course-list file and,
// when the file has entries to fill in, for the teacher's name. "OK" with the right input
// opens the course selection window; "Abbrechen" quits the program.
class Passwortfenster : public QDialog {
    Q_OBJECT
public:
    // Builds the window from the global data; DatenLaden shows it with exec().
    explicit Passwortfenster(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* TextFieldPasswort = nullptr;
    QLabel* LabelPasswort = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* TextFieldName = nullptr;
    QLabel* LabelName = nullptr;
    QPushButton* PushBeenden = nullptr;
    QPushButton* PushOK = nullptr;

    void PushOK_Pressed();
    void PushBeenden_Pressed();

public slots:
    // Escape, and any other way of closing the window, count as "Abbrechen".
    void reject() override;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};
