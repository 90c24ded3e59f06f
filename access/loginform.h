#pragma once

#include "core/appcontext.h"

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QPushButton;

namespace parlix {

class AccountForm;
struct LoginSession;

// "Accesso": checks a name and password against the account file. On a match
// it records the user in the session, says so with loggedIn (the caller then
// shows the main window) and closes. Without an account file it creates one,
// empty, and opens the account form so that a first user can be entered.
class LoginForm : public QDialog
{
    Q_OBJECT
public:
    LoginForm(AppContext context, LoginSession& session, QWidget* parent = nullptr);

    // The account form this form opened, while it is open.
    AccountForm* accountForm() const { return accountForm_; }

signals:
    void loggedIn(const QString& user);

private:
    void logIn(); // "Ok"
    void openAccountForm();

    AppContext context_;
    LoginSession& session_;
    QLineEdit* nameEdit_ = nullptr;     // uid
    QLineEdit* passwordEdit_ = nullptr; // pws
    QPushButton* okButton_ = nullptr;   // Command1
    QPointer<AccountForm> accountForm_;
};

} // namespace parlix
