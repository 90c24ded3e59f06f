#include "contactsearchform.h"

#include "contacts/contactsearch.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "store/storeerror.h"
#include "ui/mnemonics.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace parlix {

namespace {

QLineEdit* makeEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QListWidget* makeList(const QString& name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    return list;
}

QLabel* makeLabel(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

void selectRow(QListWidget* list, int row)
{
    list->setCurrentRow(row);
}

QString textAt(const QListWidget* list, int row)
{
    const QListWidgetItem* item = list->item(row);
    return item ? item->text() : QString();
}

} // namespace

ContactSearchForm::ContactSearchForm(AppContext context, QString book, QWidget* parent)
    : QDialog(parent), context_(context), book_(std::move(book))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Cerca Contatto"));

    surnameEdit_ = makeEdit(QStringLiteral("Text1"), this);
    numberEdit_ = makeEdit(QStringLiteral("Text2"), this);
    nameEdit_ = makeEdit(QStringLiteral("Text3"), this);
    emailEdit_ = makeEdit(QStringLiteral("Text4"), this);
    numbers_ = makeList(QStringLiteral("List1"), this);
    names_ = makeList(QStringLiteral("List2"), this);
    emails_ = makeList(QStringLiteral("List3"), this);
    surnames_ = makeList(QStringLiteral("List4"), this);
    names_->hide();
    emails_->hide();
    surnames_->hide();

    auto* searchButton = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                         QStringLiteral("Cerca"), this);
    searchButton->setObjectName(QStringLiteral("Command1"));
    searchButton->setDefault(true); // Enter in the search field searches
    searchButton->setAutoDefault(false);
    auto* closeButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Chiudi"), this);
    closeButton->setObjectName(QStringLiteral("Command2"));
    closeButton->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(makeLabel(QStringLiteral("Cognome"), this), 0, 0);
    layout->addWidget(surnameEdit_, 0, 1);
    layout->addWidget(makeLabel(QStringLiteral("Nome"), this), 1, 0);
    layout->addWidget(nameEdit_, 1, 1);
    layout->addWidget(makeLabel(QStringLiteral("Email"), this), 2, 0);
    layout->addWidget(emailEdit_, 2, 1);
    layout->addWidget(makeLabel(QStringLiteral("Cellulare"), this), 3, 0);
    layout->addWidget(numberEdit_, 3, 1);
    layout->addWidget(searchButton, 4, 0);
    layout->addWidget(closeButton, 4, 1, Qt::AlignRight);
    layout->addWidget(makeLabel(QStringLiteral("Contatti Trovati"), this), 0, 2);
    layout->addWidget(numbers_, 1, 2, 4, 1);

    for (QLineEdit* edit : {surnameEdit_, numberEdit_, nameEdit_, emailEdit_})
        edit->installEventFilter(this);
    connect(searchButton, &QPushButton::clicked, this, &ContactSearchForm::search);
    connect(closeButton, &QPushButton::clicked, this, &ContactSearchForm::reject);
    connect(numbers_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showContact(numbers_->row(item)); });
    connect(numbers_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { chooseContact(numbers_->row(item)); });
    // What a screen reader says for each field.
    surnameEdit_->setAccessibleName(QStringLiteral("Cognome"));
    nameEdit_->setAccessibleName(QStringLiteral("Nome"));
    emailEdit_->setAccessibleName(QStringLiteral("Email"));
    numberEdit_->setAccessibleName(QStringLiteral("Cellulare"));
    numbers_->setAccessibleName(QStringLiteral("Contatti Trovati"));
    mnemonics::assign(*this);
}

bool ContactSearchForm::eventFilter(QObject* watched, QEvent* event)
{
    // Pressing into a box leaves text in that box only.
    if (event->type() == QEvent::MouseButtonPress) {
        for (QLineEdit* edit : {surnameEdit_, numberEdit_, nameEdit_, emailEdit_}) {
            if (edit != watched)
                edit->clear();
        }
        clearLists();
    }
    return QDialog::eventFilter(watched, event);
}

void ContactSearchForm::clearLists()
{
    for (QListWidget* list : {numbers_, names_, emails_, surnames_})
        list->clear();
}

void ContactSearchForm::search()
{
    const SearchBoxes boxes{surnameEdit_->text(), numberEdit_->text(), nameEdit_->text(), emailEdit_->text()};
    if (!searchCriterion(boxes))
        return;
    clearLists();
    std::vector<Contact> found;
    try {
        found = ContactSearch(context_.state).find(book_, boxes);
    } catch (const StoreError& error) {
        context_.dialogs.message(error.message(), MessageIcon::Critical);
        return;
    }
    for (const Contact& contact : found) {
        names_->addItem(contact.nome);
        numbers_->addItem(contact.cellulare);
        emails_->addItem(contact.email);
        surnames_->addItem(contact.cognome);
    }
}

void ContactSearchForm::showContact(int row)
{
    if (row < 0 || row >= numbers_->count())
        return;
    for (QListWidget* list : {numbers_, names_, emails_, surnames_})
        selectRow(list, row);
    surnameEdit_->setText(textAt(surnames_, row));
    nameEdit_->setText(textAt(names_, row));
    emailEdit_->setText(textAt(emails_, row));
    numberEdit_->setText(textAt(numbers_, row));
}

void ContactSearchForm::chooseContact(int row)
{
    if (row < 0 || row >= numbers_->count())
        return;
    const QString number = textAt(numbers_, row);
    // The surname is the one in its box, which the click before the double
    // click has filled from this row.
    const QString surname = surnameEdit_->text();
    accept();
    emit composeRequested(number, surname);
}

} // namespace parlix
