#pragma once

#include "contacts/archiverow.h"
#include "core/appcontext.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace parlix {

// "Gestione Contatti" (Form4): adds a contact to a book, or edits the contact
// of a list row, found by the row's key (several contacts may share a number).
class ContactEditor : public QDialog
{
    Q_OBJECT

public:
    // A new contact.
    ContactEditor(AppContext context, QString book, QWidget* parent = nullptr);
    // Edits the contact the list showed in `edited`.
    ContactEditor(AppContext context, QString book, RowSelection edited, QWidget* parent = nullptr);

    bool editMode() const { return edited_.has_value(); }

    // OK (Command1): checks and stores; the form closes only once stored.
    void store();

signals:
    // A contact was stored: the archive list should reload.
    void contactStored();

private:
    ContactEditor(AppContext context, QString book, std::optional<RowSelection> edited, QWidget* parent);

    void load();
    bool storeNew();
    bool storeEdited();
    QString number() const;
    bool fail(const QString& text);
    bool refuseDuplicate();

    AppContext context_;
    QString book_;
    std::optional<RowSelection> edited_;
    QLineEdit* nameEdit_;
    QLineEdit* surnameEdit_;
    QComboBox* prefixBox_;
    QLineEdit* numberEdit_;
    QLineEdit* emailEdit_;
    QLabel* pictureIndex_;
};

} // namespace parlix
