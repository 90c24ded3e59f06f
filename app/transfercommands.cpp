#include "transfercommands.h"

#include "app/exportwaitbox.h"
#include "app/importwaitbox.h"
#include "app/mainwindow.h"
#include "browser/archivelist.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "store/storeerror.h"
#include "transfer/csvexport.h"
#include "transfer/csvimport.h"
#include "transfer/ericsoftimport.h"
#include "transfer/ericsoftmessages.h"
#include "transfer/vcardexport.h"
#include "transfer/vcardimport.h"

#include <QApplication>
#include <QTreeWidget>

#include <optional>

namespace parlix {

namespace {

QString csvFilter()
{
    return QStringLiteral("File di testo (*.csv)");
}

QString vcardFilter()
{
    return QStringLiteral("Schede vCard (*.vcf *.vcard)");
}

// The contacts ticked in the list, in its order, read from the store; nothing,
// and the store's message said, when they cannot be read.
std::optional<std::vector<Contact>> tickedContacts(const ArchiveList& list, Dialogs& dialogs)
{
    std::vector<Contact> contacts;
    try {
        list.forEachTicked([&contacts](const ArchiveRow& row) {
            // The list's columns: number, first name, surname, e-mail.
            const auto& cells = row.cells;
            contacts.push_back({cells[1], cells[2], cells[0], cells[3], {}});
            return true;
        });
    } catch (const StoreError& error) {
        dialogs.message(error.message(), MessageIcon::Critical);
        return std::nullopt;
    }
    return contacts;
}

// The book named by the selected node (any node kind counts, as for the CSV import).
QString selectedBook(MainWindow& window)
{
    const QTreeWidgetItem* node = window.tree()->currentItem();
    return node ? node->text(0) : QString();
}

// The busy pointer for as long as it lives.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// What went wrong in a CSV or vCard import that read nothing, said alike for both.
template <typename Result> QString importFailureText(const Result& result, const QString& file)
{
    using Status = typename Result::Status;
    switch (result.status) {
    case Status::FileUnreadable:
        return userfile::unreadableMessage(file, result.detail);
    case Status::BookMissing:
        return QStringLiteral("Selezionare un archivio valido");
    default:
        return QStringLiteral("Importazione non riuscita, nessun contatto importato: ") + result.detail;
    }
}

} // namespace

TransferCommands::TransferCommands(MainWindow& window, AppContext context, QObject* parent)
    : QObject(parent), window_(window), context_(context)
{}

QString TransferCommands::askExportFile(const QString& title, const QString& filter)
{
    if (!MainWindow::nodeKey(window_.tree()->currentItem()).startsWith(u'r')) {
        context_.dialogs.message(QStringLiteral("Selezionare un archivio valido"), MessageIcon::Critical);
        return {};
    }
    return context_.dialogs.saveFile(title, {}, filter);
}

void TransferCommands::exportBook()
{
    const QString file = askExportFile(QStringLiteral("Esporta Contatti"), csvFilter());
    if (file.isEmpty())
        return;

    ExportWaitBox wait(&window_);
    wait.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto ticked = tickedContacts(*window_.archiveList(), context_.dialogs);
    if (!ticked)
        return;
    const std::vector<Contact>& contacts = *ticked;
    QString error;
    const bool written = writeContactsFile(file, contacts, &error);
    wait.finish();
    if (!written)
        context_.dialogs.message(userfile::unwritableMessage(file, error), MessageIcon::Critical);
    else if (contacts.empty())
        context_.dialogs.message(
            QStringLiteral("Nessun Contatto esportato\rSelezionare i contatti quindi ripetere il comando"),
            MessageIcon::Critical);
}

void TransferCommands::importCsv()
{
    const QString file =
        context_.dialogs.openFile(QStringLiteral("Esporta Indirizzi Da: per rubrica"), {}, csvFilter());
    if (file.isEmpty())
        return;
    const QString book = selectedBook(window_);

    CsvImportResult result;
    {
        ImportWaitBox wait(&window_);
        wait.start();
        result = CsvImport(context_.state).run(file, book, [&wait](int done, int total) {
            wait.setProgress(done, total);
        });
    }
    window_.archiveList()->scheduleReload();

    using Status = CsvImportResult::Status;
    switch (result.status) {
    case Status::Done:
        context_.dialogs.message(completedImportMessage(result, book), MessageIcon::Information);
        break;
    case Status::Stopped:
        context_.dialogs.message(stoppedImportMessage(result), MessageIcon::Exclamation);
        break;
    default:
        context_.dialogs.message(importFailureText(result, file), MessageIcon::Critical);
        break;
    }
}

void TransferCommands::exportVCard()
{
    const QString file = askExportFile(QStringLiteral("Esporta vCard"), vcardFilter());
    if (file.isEmpty())
        return;

    ExportWaitBox wait(&window_);
    wait.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto tickedRows = tickedContacts(*window_.archiveList(), context_.dialogs);
    if (!tickedRows)
        return;
    const std::vector<Contact>& ticked = *tickedRows;
    const QString book = selectedBook(window_);
    const VcardExportResult result = writeVcardFile(file, [&](const VcardSink& sink) {
        return ticked.empty() ? writeVcardBook(context_.state, book, sink) : writeVcardContacts(ticked, sink);
    });
    wait.finish();
    using Status = VcardExportResult::Status;
    switch (result.status) {
    case Status::Done:
        break;
    case Status::BookMissing:
        context_.dialogs.message(QStringLiteral("Selezionare un archivio valido"), MessageIcon::Critical);
        break;
    case Status::StoreFailed:
        context_.dialogs.message(QStringLiteral("Impossibile leggere la rubrica: ") + result.detail,
                                 MessageIcon::Critical);
        break;
    case Status::WriteFailed:
        context_.dialogs.message(userfile::unwritableMessage(file, result.detail), MessageIcon::Critical);
        break;
    }
}

void TransferCommands::importVCard()
{
    const QString file = context_.dialogs.openFile(QStringLiteral("Importa file vCard"), {}, vcardFilter());
    if (file.isEmpty())
        return;

    VcardImportResult result;
    {
        ImportWaitBox wait(&window_);
        wait.start();
        result = VcardImport(context_.state).run(file, selectedBook(window_), [&wait](int done, int total) {
            wait.setProgress(done, total);
        });
    }
    window_.archiveList()->scheduleReload();

    using Status = VcardImportResult::Status;
    switch (result.status) {
    case Status::Done:
        if (const QString report = vcardImportReport(result); !report.isEmpty())
            context_.dialogs.message(report, MessageIcon::Exclamation);
        break;
    case Status::NoCards:
        context_.dialogs.message(QStringLiteral("Il file non contiene schede vCard"), MessageIcon::Critical);
        break;
    default:
        context_.dialogs.message(importFailureText(result, file), MessageIcon::Critical);
        break;
    }
}

void TransferCommands::importEricsoft()
{
    ProgramState& state = context_.state;
    if (state.percorsoericsoft.isEmpty()) {
        context_.dialogs.message(ericsoft::folderNotSetText(), MessageIcon::None);
        iae();
        return;
    }

    EricsoftImportResult result;
    {
        ImportWaitBox wait(&window_);
        BusyCursor busy;
        wait.start();
        result = EricsoftImport(state).run(state.percorsoericsoft,
                                           [&wait](int done, int total) { wait.setProgress(done, total); });
    }
    // Books may have been made and contacts added even when the import failed part-way.
    window_.rebuildTree();
    if (QTreeWidgetItem* first = window_.node(1))
        first->setExpanded(true);
    window_.clickNode(window_.selectedNodeIndex());

    if (const QString unplaced = ericsoft::unplacedText(result);
        result.status == EricsoftImportResult::Status::Done && !unplaced.isEmpty())
        context_.dialogs.message(unplaced, MessageIcon::Exclamation);
    else if (result.status == EricsoftImportResult::Status::Done)
        context_.dialogs.message(ericsoft::completedText(), MessageIcon::None);
    else
        context_.dialogs.message(ericsoft::failureText(result), MessageIcon::Critical);
}

void TransferCommands::iae()
{
    window_.showEricsoftFolderDialog();
}

} // namespace parlix
