#include "bookmanager.h"

#include "books/formbutton.h"
#include "contacts/bookcatalog.h"
#include "contacts/bookname.h"
#include "core/dialogs.h"
#include "store/storeerror.h"
#include "ui/mnemonics.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace parlix {

namespace {

const QString principale = QStringLiteral("Principale");
const QString errorTitle = QStringLiteral("Errore");
const QString infoTitle = QStringLiteral("Informazione");

QString damagedText(const QString& name)
{
    return QStringLiteral(
               "La riga \"%1\" dell'elenco delle rubriche è danneggiata: il nome non indica un file "
               "della cartella delle rubriche, quindi la rubrica non può essere eliminata né "
               "rinominata.")
        .arg(name);
}

} // namespace

BookManager::BookManager(AppContext context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Gestione Rubriche"));
    setModal(true);

    auto* caption = new QLabel(QStringLiteral("Rubriche Esistenti"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setAccessibleName(caption->text());
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_DirHomeIcon).pixmap(48, 48));

    auto* newButton = makeFormButton(QStringLiteral("Command1"), QStringLiteral("Nuova"),
                                     QStyle::SP_FileDialogNewFolder, this);
    auto* closeButton = makeFormButton(QStringLiteral("Command2"), QStringLiteral("Chiudi"),
                                       QStyle::SP_DialogCloseButton, this);
    deleteButton_ =
        makeFormButton(QStringLiteral("Command3"), QStringLiteral("Elimina"), QStyle::SP_TrashIcon, this);
    renameButton_ = makeFormButton(QStringLiteral("Command4"), QStringLiteral("Rinomina"),
                                   QStyle::SP_FileDialogDetailedView, this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(caption, 0, 0);
    layout->addWidget(list_, 1, 0, 5, 1);
    layout->addWidget(picture, 0, 1, Qt::AlignCenter);
    layout->addWidget(newButton, 1, 1);
    layout->addWidget(deleteButton_, 2, 1);
    layout->addWidget(renameButton_, 3, 1);
    layout->addWidget(closeButton, 5, 1);

    connect(newButton, &QPushButton::clicked, this, &BookManager::createBook);
    connect(closeButton, &QPushButton::clicked, this, &BookManager::reject);
    connect(deleteButton_, &QPushButton::clicked, this, &BookManager::deleteBook);
    connect(renameButton_, &QPushButton::clicked, this, &BookManager::renameBook);

    load();
    mnemonics::assign(*this);
}

void BookManager::load()
{
    try {
        BookCatalog catalog(context_.state);
        for (const QString& name : catalog.names()) {
            auto* item = new QListWidgetItem(name, list_);
            if (catalog.isDamaged(name)) {
                item->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
                item->setToolTip(damagedText(name));
            }
        }
    } catch (const StoreError& error) {
        showStoreError(error.message());
    }
    updateButtons();
}

void BookManager::done(int result)
{
    QDialog::done(result);
    emit booksChanged();
}

void BookManager::updateButtons()
{
    const bool any = list_->count() > 0;
    deleteButton_->setEnabled(any);
    renameButton_->setEnabled(any);
}

std::optional<QString> BookManager::selectedName() const
{
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return item->text();
}

void BookManager::removeEntry(const QString& name)
{
    const QList<QListWidgetItem*> found = list_->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        delete list_->takeItem(list_->row(found.first()));
}

void BookManager::showStoreError(const QString& message)
{
    context_.dialogs.message(message, MessageIcon::Critical);
}

bool BookManager::refuseName(BookCatalog::Outcome outcome, const QString& name)
{
    QString text;
    switch (outcome) {
    case BookCatalog::Outcome::Exists:
        text = QStringLiteral("Rubrica Esistente");
        break;
    case BookCatalog::Outcome::InvalidName:
        text = BookCatalog(context_.state).nameProblem(name).value_or(QString());
        break;
    case BookCatalog::Outcome::FileConflict:
        text = QStringLiteral(
                   "Nella cartella delle rubriche esiste già un file chiamato \"%1\": scegliere un altro "
                   "nome.")
                   .arg(name);
        break;
    default:
        return false;
    }
    context_.dialogs.message(text, MessageIcon::Critical, MessageButtons::Ok, errorTitle);
    return true;
}

void BookManager::createBook()
{
    const QString name =
        context_.dialogs
            .input(QStringLiteral("Inserisci il nome della Nuova Rubrica"), QStringLiteral("Nuova Rubrica"))
            .value_or(QString());
    try {
        const BookCatalog::Outcome outcome = BookCatalog(context_.state).create(name);
        if (outcome == BookCatalog::Outcome::Done)
            list_->addItem(name);
        else if (outcome == BookCatalog::Outcome::FileFailure)
            context_.dialogs.message(
                QStringLiteral("Impossibile creare il file della rubrica \"%1\".").arg(name),
                MessageIcon::Critical);
        else
            refuseName(outcome, name);
    } catch (const StoreError& error) {
        showStoreError(error.message());
    }
    updateButtons();
}

void BookManager::deleteBook()
{
    const std::optional<QString> name = selectedName();
    if (name == principale) {
        context_.dialogs.message(QStringLiteral("Impossibile eliminare la rubrica Principale"),
                                 MessageIcon::Critical);
        return;
    }
    if (!name) {
        context_.dialogs.message(QStringLiteral("Selezionare una delle Rubriche in elenco"),
                                 MessageIcon::Exclamation, MessageButtons::Ok, infoTitle);
        return;
    }
    if (BookCatalog(context_.state).isDamaged(*name)) {
        context_.dialogs.message(damagedText(*name), MessageIcon::Critical, MessageButtons::Ok, errorTitle);
        return;
    }
    if (context_.dialogs.message(QStringLiteral("Cancellare la Rubrica: ") + *name + u'?', MessageIcon::None,
                                 MessageButtons::OkCancelDefaultCancel,
                                 QStringLiteral("Cancella Rubrica")) != Answer::Ok)
        return;
    try {
        switch (BookCatalog(context_.state).remove(*name)) {
        case BookCatalog::Outcome::Done:
        case BookCatalog::Outcome::NoSuchBook: // gone meanwhile: the list catches up
            removeEntry(*name);
            break;
        case BookCatalog::Outcome::Damaged:
            context_.dialogs.message(damagedText(*name), MessageIcon::Critical, MessageButtons::Ok,
                                     errorTitle);
            break;
        default:
            context_.dialogs.message(
                QStringLiteral("Impossibile eliminare il file della rubrica \"%1\".").arg(*name),
                MessageIcon::Critical);
            break;
        }
    } catch (const StoreError& error) {
        showStoreError(error.message());
    }
    updateButtons();
}

void BookManager::renameBook()
{
    const std::optional<QString> oldName = selectedName();
    if (oldName == principale) {
        context_.dialogs.message(QStringLiteral("Impossibile modificare la rubrica Principale"),
                                 MessageIcon::Critical, MessageButtons::Ok, infoTitle);
        return;
    }
    if (!oldName) {
        context_.dialogs.message(QStringLiteral("Selezionare una delle Rubriche in elenco"),
                                 MessageIcon::Exclamation, MessageButtons::Ok, infoTitle);
        return;
    }
    if (BookCatalog(context_.state).isDamaged(*oldName)) {
        context_.dialogs.message(damagedText(*oldName), MessageIcon::Critical, MessageButtons::Ok,
                                 errorTitle);
        return;
    }
    const QString newName =
        context_.dialogs
            .input(QStringLiteral("Nuovo Nome Rubrica"), QStringLiteral("Modifica Rubrica"), *oldName)
            .value_or(QString());
    try {
        const BookCatalog::Outcome outcome = BookCatalog(context_.state).rename(*oldName, newName);
        if (refuseName(outcome, newName))
            return;
        switch (outcome) {
        case BookCatalog::Outcome::Done:
            removeEntry(*oldName);
            list_->addItem(newName);
            emit bookRenamed(*oldName, newName);
            break;
        case BookCatalog::Outcome::FileFailure:
            context_.dialogs.message(QStringLiteral("Impossibile modificare il Nome la Rubrica è in uso"),
                                     MessageIcon::Critical);
            break;
        case BookCatalog::Outcome::NoSuchBook:
            // Gone meanwhile: the list catches up.
            removeEntry(*oldName);
            updateButtons();
            break;
        case BookCatalog::Outcome::Damaged:
            context_.dialogs.message(damagedText(*oldName), MessageIcon::Critical, MessageButtons::Ok,
                                     errorTitle);
            break;
        default:
            break;
        }
    } catch (const StoreError& error) {
        showStoreError(error.message());
    }
}

} // namespace parlix
