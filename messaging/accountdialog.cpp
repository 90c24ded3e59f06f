#include "accountdialog.h"

#include "core/dialogs.h"
#include "core/programstate.h"
#include "ui/mnemonics.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlix {

AccountDialog::AccountDialog(AppContext context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("accountDialog"));
    setWindowTitle(QStringLiteral("Dati Account"));
    setModal(true);

    loginEdit_ = new QLineEdit(this);
    loginEdit_->setObjectName(QStringLiteral("login"));
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setObjectName(QStringLiteral("password"));
    passwordEdit_->setEchoMode(QLineEdit::Password);
    qualityCombo_ = new QComboBox(this);
    qualityCombo_->setObjectName(QStringLiteral("quality"));
    qualityCombo_->addItem(QStringLiteral("Alta"), 1);
    qualityCombo_->addItem(QStringLiteral("Normale"), 2);
    qualityCombo_->addItem(QStringLiteral("Economica"), 3);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Login"), loginEdit_);
    form->addRow(QStringLiteral("Password"), passwordEdit_);
    form->addRow(QStringLiteral("Qualità del servizio"), qualityCombo_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &AccountDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AccountDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const Account stored = Account::load(context_.state.folder);
    loginEdit_->setText(stored.login);
    passwordEdit_->setText(stored.password);
    qualityCombo_->setCurrentIndex(qualityCombo_->findData(stored.quality));
    mnemonics::assign(*this);
}

Account AccountDialog::account() const
{
    return {loginEdit_->text().trimmed(), passwordEdit_->text(), qualityCombo_->currentData().toInt()};
}

void AccountDialog::accept()
{
    if (const auto problem = account().problem()) {
        context_.dialogs.message(*problem, MessageIcon::Critical);
        return;
    }
    if (!account().save(context_.state.folder)) {
        context_.dialogs.message(QStringLiteral("Impossibile salvare i dati dell'account nella cartella ") +
                                     context_.state.folder.root(),
                                 MessageIcon::Critical);
        return;
    }
    QDialog::accept();
}

} // namespace parlix
