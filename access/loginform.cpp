#include "loginform.h"

#include "access/accountform.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "ui/mnemonics.h"
#include "users/loginsession.h"
#include "users/useraccounts.h"
#include "users/usermessages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlix {

LoginForm::LoginForm(AppContext context, LoginSession& session, QWidget* parent)
    : QDialog(parent), context_(context), session_(session)
{
    setObjectName(QStringLiteral("Accesso"));
    setWindowTitle(QStringLiteral("Accesso"));

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    nameEdit_ = new QLineEdit(frame);
    nameEdit_->setObjectName(QStringLiteral("uid"));
    passwordEdit_ = new QLineEdit(frame);
    passwordEdit_->setObjectName(QStringLiteral("pws"));
    passwordEdit_->setEchoMode(QLineEdit::Password);
    // One "*" for each character typed, whatever the style's own mask.
    passwordEdit_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    auto* fields = new QFormLayout(frame);
    fields->addRow(QStringLiteral("Nome utente"), nameEdit_);
    fields->addRow(QStringLiteral("Password"), passwordEdit_);

    okButton_ = new QPushButton(QStringLiteral("Ok"), this);
    okButton_->setObjectName(QStringLiteral("Command1"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &LoginForm::logIn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(okButton_, 0, Qt::AlignRight);
    mnemonics::assign(*this);
}

void LoginForm::logIn()
{
    UserAccounts accounts(context_.state.folder);
    switch (accounts.load()) {
    case AccountFile::Status::Missing:
        // A first start: the user enters the first account, no message.
        accounts.createEmpty();
        openAccountForm();
        return;
    case AccountFile::Status::Unreadable:
        return;
    case AccountFile::Status::Read:
        break;
    }
    const QString user = nameEdit_->text();
    if (accounts.matches(user, passwordEdit_->text())) {
        session_.user = user;
        emit loggedIn(user);
        accept();
        return;
    }
    if (accounts.damaged() > 0)
        context_.dialogs.message(usermessages::damagedEntries(accounts.damaged()), MessageIcon::Exclamation);
    context_.dialogs.message(usermessages::wrongLogin(), MessageIcon::Critical);
}

void LoginForm::openAccountForm()
{
    if (!accountForm_) {
        // A window of its own, yet a child of this one, so that it takes input
        // while this form waits modally.
        accountForm_ = new AccountForm(context_, session_, this);
        accountForm_->setWindowFlag(Qt::Window);
        accountForm_->setAttribute(Qt::WA_DeleteOnClose);
    }
    accountForm_->show();
    accountForm_->raise();
    accountForm_->activateWindow();
}

} // namespace parlix
