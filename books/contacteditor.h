#pragma once

#include "core/appcontext.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace parlix {

// "Gestione Contatti" (Form4): adds a contact to a book, or, when the program
// state asks for edit mode (modificacontatto) at creation, edits the contact
// whose number is cellularesel. Closing it in any way leaves edit mode.
class ContactEditor : public QDialog
{
    Q_OBJECT

public:
    ContactEditor(AppContext context, QString book, QWidget* parent = nullptr);

    bool editMode() const { return editMode_; }

    // OK (Command1): checks and stores; the form closes only once stored.
    void store();

signals:
    // A contact was stored: the archive list should reload.
    void contactStored();

protected:
    void done(int result) override;

private:
    void load();
    bool storeNew();
    bool storeEdited();
    QString number() const;
    bool fail(const QString& text);

    AppContext context_;
    QString book_;
    bool editMode_;
    QString editedNumber_; // the number the edited contact was loaded by
    QLineEdit* nameEdit_;
    QLineEdit* surnameEdit_;
    QComboBox* prefixBox_;
    QLineEdit* numberEdit_;
    QLineEdit* emailEdit_;
    QLabel* pictureIndex_;
};

} // namespace parlix
