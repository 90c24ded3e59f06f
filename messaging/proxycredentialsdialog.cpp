#include "proxycredentialsdialog.h"

#include "ui/mnemonics.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlix {

ProxyCredentialsDialog::ProxyCredentialsDialog(const QString& userName, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ProxyCredentials"));
    setWindowTitle(QStringLiteral("Autenticazione proxy"));
    setModal(true);

    auto* explanation =
        new QLabel(QStringLiteral("Il server proxy richiede un nome utente e una password per collegarsi "
                                  "al servizio SMS."),
                   this);
    explanation->setWordWrap(true);

    userNameEdit_ = new QLineEdit(userName, this);
    userNameEdit_->setObjectName(QStringLiteral("userName"));
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setObjectName(QStringLiteral("password"));
    passwordEdit_->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nome utente"), userNameEdit_);
    form->addRow(QStringLiteral("Password"), passwordEdit_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ProxyCredentialsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProxyCredentialsDialog::reject);
    connect(userNameEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { okButton_->setEnabled(!text.isEmpty()); });
    okButton_->setEnabled(!userName.isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(buttons);

    // The user name is usually the same as last time: the password is what
    // is typed.
    (userName.isEmpty() ? userNameEdit_ : passwordEdit_)->setFocus();
    mnemonics::assign(*this);
}

ProxyLogin ProxyCredentialsDialog::login() const
{
    return {userNameEdit_->text(), passwordEdit_->text()};
}

std::optional<ProxyLogin> askProxyLogin(const QString& userName)
{
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    ProxyCredentialsDialog dialog(userName, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.login();
}

} // namespace parlix
