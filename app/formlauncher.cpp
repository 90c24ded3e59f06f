#include "formlauncher.h"

#include "app/mainwindow.h"
#include "app/menuentries.h"
#include "app/transfercommands.h"
#include "books/bookmanager.h"
#include "books/contacteditor.h"
#include "books/prefixeditor.h"
#include "browser/archivelist.h"
#include "browser/contactsearchform.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "core/storechoice.h"
#include "messaging/accountdialog.h"
#include "messaging/composer.h"
#include "messaging/composerpreset.h"
#include "messaging/optoutwindow.h"
#include "messaging/scheduledbatcheswindow.h"
#include "messaging/smscommands.h"
#include "messaging/statisticswindow.h"
#include "sending/account.h"
#include "sending/creditquery.h"
#include "sending/interruptedbatches.h"
#include "sending/scheduleddispatcher.h"
#include "sending/scheduledstore.h"
#include "sending/sentoutcome.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QTreeWidget>

#include <optional>
#include <utility>

#include <QAction>

namespace parlix {

FormLauncher::FormLauncher(MainWindow& window, AppContext context, GatewayFactory gateway)
    : QObject(&window), window_(window), context_(context), gateway_(std::move(gateway))
{}

void FormLauncher::connectAction(QLatin1String name, void (FormLauncher::*slot)())
{
    QAction* action = window_.action(name);
    if (!action)
        return;
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, slot);
}

void FormLauncher::install()
{
    connectAction(menuentry::bookManager, &FormLauncher::openBookManager);
    connectAction(menuentry::newContact, &FormLauncher::openContactEditor);
    connectAction(menuentry::contactSearch, &FormLauncher::openContactSearch);
    connectAction(menuentry::prefixes, &FormLauncher::openPrefixEditor);
    connectAction(menuentry::accountData, &FormLauncher::openAccountDialog);
    connectAction(menuentry::sendSingle, &FormLauncher::sendSingle);
    connectAction(menuentry::sendMultiple, &FormLauncher::sendMultiple);
    installTransferCommands();
    connectAction(menuentry::scheduledBatches, &FormLauncher::openScheduledBatches);
    connectAction(menuentry::optOutRegister, &FormLauncher::openOptOutRegister);
    connectAction(menuentry::sentOutcome, &FormLauncher::showSentOutcome);
    connectAction(menuentry::statistics, &FormLauncher::openStatistics);

    dispatcher_ = new ScheduledDispatcher(context_.state.folder, gateway_, context_.clock, this);
    connect(dispatcher_, &ScheduledDispatcher::batchFinished, this,
            [this](const QString&, const RunOutcome& outcome) { scheduledBatchFinished(outcome); });
    holdOverdueBatches();
    dispatcher_->start();
    window_.setCloseCheck([this] { return confirmClose(); });

    PanelHooks hooks = window_.panelHooks();
    hooks.editContact = [this](const RowSelection& row) { editContact(row); };
    hooks.sendSingleSms = [this](const RowSelection& row) {
        openComposer(ComposerPreset::single(row.cellulare, row.cognome));
    };
    hooks.excludeFromSending = [this](const QStringList& numbers) {
        excludeFromSending(context_, window_.archiveList()->currentBook(), numbers);
    };
    window_.setPanelHooks(std::move(hooks));
    connect(window_.archiveList(), &ArchiveList::rowDoubleClicked, this, &FormLauncher::composeFromRow);

    const DataFolder folder = context_.state.folder;
    window_.setCreditQuery([folder, gateway = gateway_] { return queryCredit(folder, gateway); });
    // Without an account the gateway is not even asked: say where to set it
    // rather than blaming the connection.
    window_.setCreditPrecheck([this, folder] {
        if (Account::load(folder).usable())
            return true;
        context_.dialogs.message(missingAccountText(), MessageIcon::Exclamation);
        return false;
    });
}

void FormLauncher::installTransferCommands()
{
    auto* transfer = new TransferCommands(window_, context_, this);
    const auto wire = [&](QLatin1String name, void (TransferCommands::*command)(), bool enabled) {
        QAction* action = window_.action(name);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, transfer, command);
    };
    wire(menuentry::exportBook, &TransferCommands::exportBook, true);
    wire(menuentry::importCsv, &TransferCommands::importCsv, true);
    wire(menuentry::exportVCard, &TransferCommands::exportVCard, true);
    wire(menuentry::importVCard, &TransferCommands::importVCard, true);
    // The Ericsoft import stays switched off in the menu; "Imposta Archivi
    // Ericsoft" is connected by the window itself.
    wire(menuentry::importEricsoft, &TransferCommands::importEricsoft, false);
}

void FormLauncher::openBookManager()
{
    BookManager form(context_, &window_);
    connect(&form, &BookManager::bookRenamed, &window_, &MainWindow::bookRenamed);
    connect(&form, &BookManager::booksChanged, &window_, &MainWindow::rebuildTree);
    form.exec();
}

void FormLauncher::openContactEditor()
{
    if (!window_.checkValidArchive())
        return;
    ContactEditor form(context_, window_.archiveList()->currentBook(), &window_);
    connect(&form, &ContactEditor::contactStored, window_.archiveList(), &ArchiveList::scheduleReload);
    form.exec();
}

void FormLauncher::editContact(const RowSelection& row)
{
    // Not modal: the list stays usable while the contact is edited.
    auto* form = new ContactEditor(context_, window_.archiveList()->currentBook(), row, &window_);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &ContactEditor::contactStored, window_.archiveList(), &ArchiveList::scheduleReload);
    form->show();
}

void FormLauncher::openContactSearch()
{
    if (!window_.checkValidArchive())
        return;
    openContactSearchFor(window_.archiveList()->currentBook());
}

void FormLauncher::openContactSearchFor(const QString& book)
{
    ContactSearchForm form(context_, book, &window_);
    std::optional<ComposerPreset> chosen;
    connect(&form, &ContactSearchForm::composeRequested, &form,
            [&form, &chosen](const QString& number, const QString& surname) {
                chosen = ComposerPreset::single(number, surname);
                form.accept();
            });
    form.exec();
    if (chosen)
        openComposer(*chosen);
}

void FormLauncher::openPrefixEditor()
{
    PrefixEditor form(context_, &window_);
    form.exec();
}

} // namespace parlix

namespace parlix {

void FormLauncher::openAccountDialog()
{
    AccountDialog dialog(context_, &window_);
    dialog.exec();
}

void FormLauncher::sendSingle()
{
    const auto values = [](const RowSelection& row) {
        return ListRowValues{row.cellulare, row.cognome, row.testo, row.data};
    };
    std::vector<ListRowValues> rows;
    for (const RowSelection& row : window_.archiveList()->tickedRows())
        rows.push_back(values(row));
    openComposer(singleSendPreset(rows, values(window_.archiveList()->selection().value_or(RowSelection{}))));
}

void FormLauncher::sendMultiple()
{
    QStringList numbers;
    for (const RowSelection& row : window_.archiveList()->tickedRows())
        numbers << row.cellulare;
    const QString key = MainWindow::nodeKey(window_.tree()->currentItem());
    if (const auto preset = multipleSendPreset(context_, key, numbers))
        openComposer(*preset);
}

void FormLauncher::openScheduledBatches()
{
    ScheduledBatchesWindow form(context_, &window_);
    form.follow(*dispatcher_);
    form.exec();
}

void FormLauncher::openOptOutRegister()
{
    OptOutWindow form(context_, &window_);
    form.exec();
}

void FormLauncher::openStatistics()
{
    StatisticsWindow form(context_, &window_);
    form.exec();
}

void FormLauncher::scheduledBatchFinished(const RunOutcome& outcome)
{
    if (outcome.remaining >= 0) {
        context_.state.credito = outcome.remaining;
        window_.showCredit();
    }
    window_.archiveList()->scheduleReload();
}

void FormLauncher::composeFromRow(ArchiveKind kind, const RowSelection& row)
{
    if (kind == ArchiveKind::Saved)
        openComposer(ComposerPreset::saved(row.cellulare, row.cognome, row.testo));
    else
        openComposer(ComposerPreset::single(row.cellulare, row.cognome));
}

void FormLauncher::offerInterruptedBatches()
{
    for (const InterruptedBatch& batch : findInterruptedBatches(context_.state.folder)) {
        const QString text = interruptedBatchText(batch);
        const bool offer = !batch.unserved.isEmpty();
        const Answer answer =
            offer ? context_.dialogs.message(text, MessageIcon::Question, MessageButtons::YesNo)
                  : context_.dialogs.message(text, MessageIcon::Information);
        try {
            closeInterruptedBatch(context_.state.folder, batch);
        } catch (const StoreError&) {
            // Asked again at the next start; nothing is sent twice either way.
        }
        if (offer && answer == Answer::Yes) {
            ComposerPreset preset = ComposerPreset::multiple(batch.unserved);
            preset.text = batch.testo;
            openComposerFor(preset, ArchiveNode{QStringLiteral("r"), batch.book});
        }
    }
}

void FormLauncher::showSentOutcome()
{
    const ArchiveList& list = *window_.archiveList();
    const int current = list.currentRow();
    if (list.currentKind() != ArchiveKind::Sent || current < 0) {
        context_.dialogs.message(QStringLiteral("Selezionare un messaggio in \"SMS Inviati\"."),
                                 MessageIcon::Exclamation);
        return;
    }
    const RowSelection row = rowSelection(ArchiveKind::Sent, list.row(current));
    QStringList lines;
    try {
        // The journal reads through a connection of its own, as it is written.
        lines = sentOutcomeLines(*chooseStore(context_.state.folder),
                                 context_.state.folder.bookPath(list.currentBook()), row.rowid, row.data,
                                 row.testo);
    } catch (const StoreError&) {
        // A book that cannot be read has no outcome to show.
    }
    if (lines.isEmpty())
        context_.dialogs.message(
            QStringLiteral("Per questo messaggio non è registrato l'esito dei singoli destinatari."),
            MessageIcon::Information);
    else
        context_.dialogs.message(sentOutcomeText(lines), MessageIcon::Information, MessageButtons::Ok,
                                 QStringLiteral("Esito Invio"));
}

void FormLauncher::openComposer(const ComposerPreset& preset)
{
    const QTreeWidgetItem* selected = window_.tree()->currentItem();
    ArchiveNode node;
    node.key = MainWindow::nodeKey(selected);
    node.text = selected ? selected->text(0) : QString();
    openComposerFor(preset, node);
}

void FormLauncher::openComposerFor(const ComposerPreset& preset, const ArchiveNode& node)
{
    Composer composer(context_, gateway_, node, &window_);
    composer.preset(preset);
    connect(&composer, &Composer::creditChanged, &window_, [this] { window_.showCredit(); });
    connect(&composer, &Composer::archiveChanged, window_.archiveList(), &ArchiveList::scheduleReload);
    connect(&composer, &Composer::batchScheduled, dispatcher_, &ScheduledDispatcher::runDue);
    bool searchRequested = false;
    connect(&composer, &Composer::contactSearchRequested, &composer,
            [&searchRequested] { searchRequested = true; });
    composer.exec();
    // Closing the composer leaves no row selected in the list.
    window_.archiveList()->selectRow(-1);
    // The magnifying glass closes the composer and opens the contact search
    // of the same book.
    if (searchRequested && window_.checkValidArchive())
        openContactSearchFor(node.text);
}

} // namespace parlix

namespace parlix {

void FormLauncher::holdOverdueBatches()
{
    try {
        overdue_ = overdueBatches(waitingBatches(*context_.state.store, context_.state.folder),
                                  context_.clock.now());
    } catch (const StoreError&) {
        overdue_.clear(); // no book list: nothing to send either
    }
    for (const BookBatch& late : std::as_const(overdue_))
        dispatcher_->hold(late.book, late.batch.id);
}

void FormLauncher::offerOverdueBatches()
{
    Dialogs& dialogs = context_.dialogs;
    bool release = false;
    for (const BookBatch& late : std::exchange(overdue_, {})) {
        switch (dialogs.message(overdueQuestion(late, context_.clock.now()), MessageIcon::Question,
                                MessageButtons::YesNoCancel)) {
        case Answer::Yes:
            dispatcher_->release(late.book, late.batch.id);
            release = true;
            break;
        case Answer::No:
            try {
                if (!ScheduledStore(*context_.state.store, context_.state.folder.bookPath(late.book))
                         .cancel(late.batch.id))
                    dialogs.message(QStringLiteral("L'invio è già partito: non si può più annullare."),
                                    MessageIcon::Exclamation);
            } catch (const StoreError& error) {
                dialogs.message(error.message(), MessageIcon::Critical);
            }
            break;
        default:
            break; // kept, and held until the next start
        }
    }
    if (release)
        runScheduledNow();
}

void FormLauncher::runScheduledNow()
{
    if (dispatcher_->busy())
        connect(dispatcher_, &ScheduledDispatcher::roundFinished, dispatcher_, &ScheduledDispatcher::runDue,
                Qt::SingleShotConnection);
    else
        dispatcher_->runDue();
}

bool FormLauncher::confirmClose()
{
    QList<BookBatch> waiting;
    try {
        waiting = waitingBatches(*context_.state.store, context_.state.folder);
    } catch (const StoreError&) {
        return true; // no book list, no batch to tell of
    }
    if (waiting.isEmpty())
        return true;
    Dialogs& dialogs = context_.dialogs;
    if (userTimer_.enabled())
        return dialogs.message(closingNotice(waiting, context_.clock.now(), true), MessageIcon::Information,
                               MessageButtons::OkCancel) == Answer::Ok;
    switch (dialogs.message(closingNotice(waiting, context_.clock.now(), false), MessageIcon::Question,
                            MessageButtons::YesNoCancel)) {
    case Answer::No:
        return true;
    case Answer::Yes:
        if (const std::optional<QString> failure = userTimer_.enable()) {
            dialogs.message(UserTimer::failureText(*failure), MessageIcon::Critical);
            return false;
        }
        return true;
    default:
        return false;
    }
}

} // namespace parlix
