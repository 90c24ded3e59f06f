#include "formlauncher.h"

#include "app/mainwindow.h"
#include "browser/archivelist.h"
#include "browser/contactsearchform.h"
#include "store/forms/bookmanager.h"
#include "store/forms/contacteditor.h"
#include "store/forms/prefixeditor.h"

#include <QAction>

namespace parlix {

FormLauncher::FormLauncher(MainWindow& window, AppContext context)
    : QObject(&window), window_(window), context_(context)
{}

void FormLauncher::connectAction(const char* name, void (FormLauncher::*slot)())
{
    QAction* action = window_.action(QString::fromLatin1(name));
    if (!action)
        return;
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, slot);
}

void FormLauncher::install()
{
    connectAction("nr", &FormLauncher::openBookManager);
    connectAction("inru", &FormLauncher::openContactEditor);
    connectAction("cececo", &FormLauncher::openContactSearch);
    connectAction("newpref", &FormLauncher::openPrefixEditor);

    PanelHooks hooks = window_.panelHooks();
    hooks.editContact = [this] { editSelectedContact(); };
    window_.setPanelHooks(std::move(hooks));
}

void FormLauncher::openBookManager()
{
    BookManager form(context_, &window_);
    connect(&form, &BookManager::booksChanged, &window_, &MainWindow::aggio);
    form.exec();
}

void FormLauncher::openContactEditor()
{
    if (!window_.checkValidArchive())
        return;
    ContactEditor form(context_, window_.archiveList()->currentBook(), &window_);
    connect(&form, &ContactEditor::contactStored, window_.archiveList(), &ArchiveList::sceglivisua);
    form.exec();
}

void FormLauncher::editSelectedContact()
{
    // Not modal: the list stays usable while the contact is edited.
    auto* form = new ContactEditor(context_, window_.archiveList()->currentBook(), &window_);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &ContactEditor::contactStored, window_.archiveList(), &ArchiveList::sceglivisua);
    form->show();
}

void FormLauncher::openContactSearch()
{
    if (!window_.checkValidArchive())
        return;
    ContactSearchForm form(context_, window_.archiveList()->currentBook(), &window_);
    form.exec();
}

void FormLauncher::openPrefixEditor()
{
    PrefixEditor form(context_, &window_);
    form.exec();
}

} // namespace parlix
