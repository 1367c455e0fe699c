#pragma once

#include <QString>

// The save dialog of a grade result file: "Kursdaten speichern" with the buttons
// "Speichern" and "Nicht speichern", filtered to the result file type, starting at the
// platform's default folder with the suggested file name.
class NotenSpeichernDialog {
public:
    explicit NotenSpeichernDialog(const QString& vorschlag);

    // Shows the dialog modally through the platform; the chosen file's path, or an empty
    // text when the teacher cancelled.
    QString Zeigen() const;

    QString Vorschlag() const { return zVorschlag; }

private:
    QString zVorschlag;
};
