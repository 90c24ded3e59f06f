#include "contacteditor.h"

#include "contacts/contactstore.h"
#include "contacts/prefixlist.h"
#include "core/dialogs.h"
#include "core/numbers.h"
#include "core/programstate.h"
#include "store/storeerror.h"
#include "ui/mnemonics.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <cmath>

namespace parlix {

namespace {

const QString prefixPlaceholder = QStringLiteral("Prefisso");
// The picture every contact stored here gets.
const QString defaultPicture = QStringLiteral("4");

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* makeEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

ContactEditor::ContactEditor(AppContext context, QString book, QWidget* parent)
    : ContactEditor(context, std::move(book), std::nullopt, parent)
{}

ContactEditor::ContactEditor(AppContext context, QString book, RowSelection edited, QWidget* parent)
    : ContactEditor(context, std::move(book), std::optional<RowSelection>(std::move(edited)), parent)
{}

ContactEditor::ContactEditor(AppContext context, QString book, std::optional<RowSelection> edited,
                             QWidget* parent)
    : QDialog(parent), context_(context), book_(std::move(book)), edited_(std::move(edited))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Gestione Contatti"));

    nameEdit_ = makeEdit(QStringLiteral("Text1"), this);
    surnameEdit_ = makeEdit(QStringLiteral("Text2"), this);
    prefixBox_ = new QComboBox(this);
    prefixBox_->setObjectName(QStringLiteral("Combo1"));
    prefixBox_->setEditable(true);
    prefixBox_->setInsertPolicy(QComboBox::NoInsert);
    numberEdit_ = makeEdit(QStringLiteral("Text3"), this);
    emailEdit_ = makeEdit(QStringLiteral("Text4"), this);
    pictureIndex_ = makeLabel(QStringLiteral("Label7"), defaultPicture, this);
    pictureIndex_->hide();

    auto* okButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setDefault(true); // Enter in any field stores the contact
    okButton->setAutoDefault(false);
    auto* cancelButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                         QStringLiteral("Annulla"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    cancelButton->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(makeLabel(QStringLiteral("Label1"), QStringLiteral("Nome"), this), 0, 0);
    layout->addWidget(nameEdit_, 0, 1, 1, 2);
    layout->addWidget(makeLabel(QStringLiteral("Label2"), QStringLiteral("Cognome"), this), 1, 0);
    layout->addWidget(surnameEdit_, 1, 1, 1, 2);
    // An example above the two number boxes: prefix 123, number 1234467.
    layout->addWidget(makeLabel(QStringLiteral("Label5"), QStringLiteral("esempio"), this), 2, 0);
    layout->addWidget(makeLabel(QStringLiteral("Label6"), QStringLiteral("123"), this), 2, 1);
    layout->addWidget(makeLabel(QStringLiteral("Label8"), QStringLiteral("1234467"), this), 2, 2);
    layout->addWidget(makeLabel(QStringLiteral("Label3"), QStringLiteral("Cellulare"), this), 3, 0);
    layout->addWidget(prefixBox_, 3, 1);
    layout->addWidget(numberEdit_, 3, 2);
    layout->addWidget(makeLabel(QStringLiteral("Label4"), QStringLiteral("Email"), this), 4, 0);
    layout->addWidget(emailEdit_, 4, 1, 1, 2);
    layout->addWidget(pictureIndex_, 5, 0);
    layout->addWidget(okButton, 5, 1);
    layout->addWidget(cancelButton, 5, 2);
    layout->setColumnStretch(2, 1);

    connect(okButton, &QPushButton::clicked, this, &ContactEditor::store);
    connect(cancelButton, &QPushButton::clicked, this, &ContactEditor::reject);
    // What a screen reader says for each field.
    nameEdit_->setAccessibleName(QStringLiteral("Nome"));
    surnameEdit_->setAccessibleName(QStringLiteral("Cognome"));
    numberEdit_->setAccessibleName(QStringLiteral("Cellulare"));
    emailEdit_->setAccessibleName(QStringLiteral("Email"));

    load();
    mnemonics::assign(*this);
}

void ContactEditor::load()
{
    prefixBox_->addItems(prefixes::read(context_.state.folder));
    prefixBox_->setCurrentIndex(-1);
    prefixBox_->setEditText(prefixPlaceholder);
    if (!edited_)
        return;
    try {
        const auto contact = ContactStore(context_.state).find(book_, edited_->rowid);
        if (!contact)
            return; // OK tells the user; there is nothing to show.
        nameEdit_->setText(contact->nome);
        surnameEdit_->setText(contact->cognome);
        prefixBox_->setEditText(contact->cellulare.left(3));
        numberEdit_->setText(contact->cellulare.mid(3));
        emailEdit_->setText(contact->email);
    } catch (const StoreError&) {
        // The same failure comes back, with its message, when OK stores.
    }
}

QString ContactEditor::number() const
{
    return prefixBox_->currentText() + numberEdit_->text();
}

bool ContactEditor::fail(const QString& text)
{
    context_.dialogs.message(text, MessageIcon::None);
    return false;
}

void ContactEditor::store()
{
    if (!(edited_ ? storeEdited() : storeNew()))
        return;
    nameEdit_->clear();
    surnameEdit_->clear();
    numberEdit_->clear();
    emailEdit_->clear();
    emit contactStored();
    accept();
}

bool ContactEditor::refuseDuplicate()
{
    context_.dialogs.message(QStringLiteral("Numero di cellulare Esistente"), MessageIcon::Critical);
    return false;
}

bool ContactEditor::storeNew()
{
    const QString prefix = prefixBox_->currentText();
    if (prefix == prefixPlaceholder || prefix.isEmpty() || prefix == u" ")
        return fail(QStringLiteral("Selezionare un Prefisso Valido"));
    if (numberEdit_->text().isEmpty())
        return fail(QStringLiteral("Inserire un numero telefonico valido"));
    // Empty name and e-mail are stored as one blank.
    if (nameEdit_->text().isEmpty())
        nameEdit_->setText(QStringLiteral(" "));
    if (emailEdit_->text().isEmpty())
        emailEdit_->setText(QStringLiteral(" "));
    if (surnameEdit_->text().isEmpty())
        return fail(QStringLiteral("Cognome obbligatorio"));

    const QString invalidNumber = QStringLiteral("inserire un numero telefonico valido");
    // The number must read as a decimal number; it is stored as typed, blanks included.
    const auto value = numbers::parse(numberEdit_->text());
    if (!value || !std::isfinite(*value))
        return fail(invalidNumber);
    const Contact contact{nameEdit_->text(), surnameEdit_->text(), number(), emailEdit_->text(),
                          pictureIndex_->text()};
    try {
        if (ContactStore(context_.state).add(book_, contact) == ContactStore::AddOutcome::Duplicate)
            return refuseDuplicate();
    } catch (const StoreError& error) {
        // The store says what went wrong (a book gone, a server out of
        // reach): the number was fine.
        context_.dialogs.message(error.message(), MessageIcon::Critical);
        return false;
    }
    return true;
}

bool ContactEditor::storeEdited()
{
    const Contact contact{nameEdit_->text(), surnameEdit_->text(), number(), emailEdit_->text(),
                          pictureIndex_->text()};
    try {
        switch (ContactStore(context_.state).replace(book_, edited_->rowid, contact)) {
        case ContactStore::ReplaceOutcome::Replaced:
            break;
        case ContactStore::ReplaceOutcome::Duplicate:
            return refuseDuplicate();
        case ContactStore::ReplaceOutcome::Gone:
            context_.dialogs.message(
                QStringLiteral("Il contatto con il numero \"%1\" non è più presente nella rubrica: nessuna "
                               "modifica salvata.")
                    .arg(edited_->cellulare),
                MessageIcon::Exclamation);
            return false;
        }
    } catch (const StoreError& error) {
        context_.dialogs.message(error.message(), MessageIcon::Critical);
        return false;
    }
    return true;
}

} // namespace parlix
