#include "accountform.h"

#include "core/dialogs.h"
#include "core/programstate.h"
#include "ui/mnemonics.h"
#include "users/accesslevel.h"
#include "users/loginsession.h"
#include "users/usermessages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parlix {

namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// `buddy`: the field the label names, for the keyboard and screen readers.
QLabel* label(const char* name, const QString& text, QWidget* parent, QWidget* buddy = nullptr)
{
    QLabel* made = named(new QLabel(text, parent), name);
    made->setBuddy(buddy);
    return made;
}

// No button of the form answers the Enter key: typing a name and pressing
// Enter must not start a new user or a delete.
QPushButton* button(const char* name, const QString& text, QWidget* parent)
{
    QPushButton* button = named(new QPushButton(text, parent), name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

AccountForm::AccountForm(AppContext context, const LoginSession& session, QWidget* parent)
    : QDialog(parent), context_(context), session_(session), accounts_(context.state.folder)
{
    setObjectName(QStringLiteral("confaccount"));
    setWindowTitle(QStringLiteral("Configurazione Account"));

    selectedName_ = named(new QLineEdit(this), "Text1");
    selectedName_->setReadOnly(true);
    selectedLevel_ = label("Label3", {}, this);
    list_ = named(new QListWidget(this), "List1");
    list_->setAccessibleName(QStringLiteral("Utenti"));
    newButton_ = button("Command1", QStringLiteral("Nuovo Utente"), this);
    changeButton_ = button("Command4", QStringLiteral("Modifica Utente"), this);
    deleteButton_ = button("Command3", QStringLiteral("Cancella Utente"), this);
    closeButton_ = button("Command2", QStringLiteral("Annulla"), this);

    editArea_ = named(new QGroupBox(this), "Frame2");
    nameEdit_ = named(new QLineEdit(editArea_), "Text2");
    passwordEdit_ = named(new QLineEdit(editArea_), "Text3");
    levelBox_ = named(new QComboBox(editArea_), "Combo1");
    levelBox_->setEditable(true);
    levelBox_->setInsertPolicy(QComboBox::NoInsert);
    levelBox_->addItems(accesslevel::names());
    levelBox_->setCurrentIndex(0);
    okButton_ = button("Command5", QStringLiteral("OK"), editArea_);

    auto* edit = new QGridLayout(editArea_);
    edit->addWidget(label("Label4", QStringLiteral("Nome Utente"), editArea_, nameEdit_), 0, 0);
    edit->addWidget(nameEdit_, 0, 1);
    edit->addWidget(label("Label5", QStringLiteral("Password"), editArea_, passwordEdit_), 1, 0);
    edit->addWidget(passwordEdit_, 1, 1);
    edit->addWidget(label("Label6", QStringLiteral("Livello di Accesso"), editArea_, levelBox_), 2, 0);
    edit->addWidget(levelBox_, 2, 1);
    edit->addWidget(okButton_, 3, 1, Qt::AlignRight);
    editArea_->hide();

    auto* shown = new QGridLayout;
    shown->addWidget(label("Label1", QStringLiteral("Nome Utente"), this, selectedName_), 0, 0);
    shown->addWidget(selectedName_, 0, 1);
    shown->addWidget(label("Label2", QStringLiteral("Livello di Accesso"), this), 1, 0);
    shown->addWidget(selectedLevel_, 1, 1);

    auto* commands = new QVBoxLayout;
    commands->addWidget(newButton_);
    commands->addWidget(changeButton_);
    commands->addWidget(deleteButton_);
    commands->addStretch();
    commands->addWidget(closeButton_);

    auto* listAndCommands = new QHBoxLayout;
    listAndCommands->addWidget(list_, 1);
    listAndCommands->addLayout(commands);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(shown);
    layout->addLayout(listAndCommands, 1);
    layout->addWidget(editArea_);

    connect(list_, &QListWidget::currentRowChanged, this, &AccountForm::selectEntry);
    connect(newButton_, &QPushButton::clicked, this, &AccountForm::startNew);
    connect(changeButton_, &QPushButton::clicked, this, &AccountForm::startChange);
    connect(deleteButton_, &QPushButton::clicked, this, &AccountForm::deleteSelected);
    connect(okButton_, &QPushButton::clicked, this, &AccountForm::saveEdit);
    connect(closeButton_, &QPushButton::clicked, this, &AccountForm::reject);
    connect(nameEdit_, &QLineEdit::textChanged, this, &AccountForm::enableOkForTexts);
    connect(passwordEdit_, &QLineEdit::textChanged, this, &AccountForm::enableOkForTexts);
    connect(levelBox_, &QComboBox::activated, this, &AccountForm::enableOkForTexts);
    connect(levelBox_->lineEdit(), &QLineEdit::textEdited, this, &AccountForm::enableOkForTypedLevel);

    okButton_->setEnabled(false);
    mnemonics::assign(*this);
    caricaaccount();
}

void AccountForm::caricaaccount()
{
    const AccountFile::Status status = accounts_.load();
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        list_->addItems(accounts_.names());
        list_->setCurrentRow(accounts_.count() > 0 ? 0 : -1);
    }
    if (accounts_.count() > 0)
        selectEntry(0);
    if (status == AccountFile::Status::Unreadable)
        refuse(usermessages::unreadableFile(accounts_.path()));
    if (accounts_.damaged() > 0 && !damageReported_) {
        damageReported_ = true;
        context_.dialogs.message(usermessages::damagedEntries(accounts_.damaged()), MessageIcon::Exclamation);
    }
}

void AccountForm::selectEntry(int position)
{
    if (position < 0 || position >= accounts_.count())
        return;
    const UserAccount& account = accounts_.at(position);
    selectedName_->setText(account.name);
    if (modalita_ == QStringLiteral("nuovo"))
        return;
    nameEdit_->setText(account.name);
    passwordEdit_->setText(account.password);
    showLevel(account.level);
}

void AccountForm::showLevel(const QString& code)
{
    selectedLevel_->setText(accesslevel::captionOfCode(code));
    const QString name = accesslevel::nameOfCode(code);
    levelBox_->setCurrentIndex(levelBox_->findText(name));
    levelBox_->setEditText(name);
}

void AccountForm::startNew()
{
    editArea_->show();
    nameEdit_->clear();
    passwordEdit_->clear();
    levelBox_->setCurrentIndex(-1);
    levelBox_->clearEditText();
    modalita_ = QStringLiteral("nuovo");
}

void AccountForm::startChange()
{
    if (accounts_.count() == 0) {
        refuse(usermessages::noUsers());
        return;
    }
    editArea_->show();
    modalita_ = QStringLiteral("modifica");
    selectEntry(list_->currentRow());
}

void AccountForm::enableOkForTexts()
{
    okButton_->setEnabled(!nameEdit_->text().isEmpty() && !passwordEdit_->text().isEmpty());
}

void AccountForm::enableOkForTypedLevel()
{
    okButton_->setEnabled(!nameEdit_->text().isEmpty() && !passwordEdit_->text().isEmpty() &&
                          !levelBox_->currentText().isEmpty());
}

void AccountForm::saveEdit()
{
    const UserAccount edited{nameEdit_->text(), passwordEdit_->text(),
                             accesslevel::codeOfName(levelBox_->currentText())};
    if (modalita_ == QStringLiteral("nuovo")) {
        if (const auto refusal = accounts_.add(edited)) {
            refuse(*refusal);
            return;
        }
    } else if (modalita_ == QStringLiteral("modifica")) {
        if (const auto refusal = accounts_.change(list_->currentRow(), edited)) {
            refuse(*refusal);
            return;
        }
        showLevel(edited.level);
        nameEdit_->setText(edited.name);
        passwordEdit_->setText(edited.password);
    }
    caricaaccount();
    modalita_.clear();
    editArea_->hide();
    okButton_->setEnabled(false);
}

void AccountForm::deleteSelected()
{
    modalita_ = QStringLiteral("cancella");
    const Answer answer = context_.dialogs.message(usermessages::deleteQuestion(selectedName_->text()),
                                                   MessageIcon::None, MessageButtons::OkCancel);
    if (answer != Answer::Ok)
        return;
    const int position = list_->currentRow();
    // Only someone who logged in during this run counts as the current user.
    if (session_.user && position >= 0 && accounts_.at(position).name == *session_.user) {
        refuse(usermessages::currentUserKept());
        return;
    }
    if (accounts_.count() == 0 || position < 0)
        return;
    if (const auto refusal = accounts_.remove(position)) {
        refuse(*refusal);
        return;
    }
    delete list_->takeItem(position);
    caricaaccount();
}

void AccountForm::refuse(const QString& text)
{
    context_.dialogs.message(text, MessageIcon::Critical);
}

} // namespace parlix
