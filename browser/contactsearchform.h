#pragma once

#include "core/appcontext.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace parlix {

// "Cerca Contatto" (Form3): finds contacts of one book by the beginning of
// their surname, number, first name or e-mail. List1 shows the numbers; the
// hidden List2, List3 and List4 hold the first names, e-mails and surnames of
// the same rows. A double click on a number hands it to the composer.
class ContactSearchForm : public QDialog
{
    Q_OBJECT

public:
    ContactSearchForm(AppContext context, QString book, QWidget* parent = nullptr);

    void search();               // Command1
    void showContact(int row);   // click on a number
    void chooseContact(int row); // double click on a number

signals:
    // The user chose this contact to write to.
    void composeRequested(const QString& number, const QString& surname);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearLists();

    AppContext context_;
    QString book_;
    QLineEdit* surnameEdit_; // Text1
    QLineEdit* numberEdit_;  // Text2
    QLineEdit* nameEdit_;    // Text3
    QLineEdit* emailEdit_;   // Text4
    QListWidget* numbers_;   // List1
    QListWidget* names_;     // List2
    QListWidget* emails_;    // List3
    QListWidget* surnames_;  // List4
};

} // namespace parlix
