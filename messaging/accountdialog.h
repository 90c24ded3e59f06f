#pragma once

#include "core/appcontext.h"
#include "sending/account.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace parlix {

// "Dati Account": the gateway login, password and quality class that the
// send batch and the credit refresh use, stored in the data folder.
class AccountDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AccountDialog(AppContext context, QWidget* parent = nullptr);

    // The account as the fields show it.
    Account account() const;

public:
    // Writes the account and closes; stays open after telling the user when
    // the file cannot be written.
    void accept() override;

private:
    AppContext context_;
    QLineEdit* loginEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QComboBox* qualityCombo_ = nullptr;
};

} // namespace parlix
