#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace parlix {

class DataFolder;
class Dialogs;

// "Form9", the disclaimer: the program's first window when "mostra.txt" asks
// for it. "Accetto" switches it off for the next starts and accepts the
// dialog; "Rifiuto" (or closing it) rejects it and the program ends.
class DisclaimerDialog : public QDialog
{
    Q_OBJECT

public:
    // `dialogs` says when the choice cannot be saved.
    DisclaimerDialog(const DataFolder& folder, Dialogs& dialogs, QWidget* parent = nullptr);

    QString text() const;
    void accetto();
    void rifiuto();

private:
    const DataFolder& folder_;
    Dialogs& dialogs_;
    QPlainTextEdit* text_;
};

} // namespace parlix
