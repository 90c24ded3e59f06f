#include "transfercommands.h"

#include "app/exportwaitbox.h"
#include "app/importwaitbox.h"
#include "app/mainwindow.h"
#include "browser/archivelist.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "transfer/csvexport.h"
#include "transfer/csvimport.h"
#include "transfer/ericsoftimport.h"
#include "transfer/ericsoftmessages.h"

#include <QApplication>
#include <QTreeWidget>

namespace parlix {

namespace {

QString csvFilter()
{
    return QStringLiteral("File di testo (*.csv)");
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

} // namespace

TransferCommands::TransferCommands(MainWindow& window, AppContext context, QObject* parent)
    : QObject(parent), window_(window), context_(context)
{}

void TransferCommands::exru()
{
    if (!MainWindow::nodeKey(window_.tree()->currentItem()).startsWith(u'r')) {
        context_.dialogs.message(QStringLiteral("Selezionare un archivio valido"), MessageIcon::Critical);
        return;
    }
    const QString file = context_.dialogs.saveFile(QStringLiteral("Esporta Contatti"), {}, csvFilter());
    if (file.isEmpty())
        return;

    ExportWaitBox wait(&window_);
    wait.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const ArchiveList& list = *window_.archiveList();
    std::vector<Contact> contacts;
    for (int i = 0; i < list.rowCount(); ++i) {
        if (!list.isTicked(i))
            continue;
        // The list's columns: number, first name, surname, e-mail.
        const auto& cells = list.row(i).cells;
        contacts.push_back({cells[1], cells[2], cells[0], cells[3], {}});
    }
    const bool written = writeContactsFile(file, contacts);
    wait.finish();
    if (!written)
        context_.dialogs.message(QStringLiteral("Impossibile scrivere il file ") + file,
                                 MessageIcon::Critical);
    else if (contacts.empty())
        context_.dialogs.message(
            QStringLiteral("Nessun Contatto esportato\rSelezionare i contatti quindi ripetere il comando"),
            MessageIcon::Critical);
}

void TransferCommands::impcvs()
{
    const QString file =
        context_.dialogs.openFile(QStringLiteral("Esporta Indirizzi Da: per rubrica"), {}, csvFilter());
    if (file.isEmpty())
        return;
    const QTreeWidgetItem* node = window_.tree()->currentItem();
    const QString book = node ? node->text(0) : QString();

    CsvImportResult result;
    {
        ImportWaitBox wait(&window_);
        wait.start();
        result = CsvImport(context_.state).run(file, book, [&wait](int done, int total) {
            wait.setProgress(done, total);
        });
    }
    window_.archiveList()->sceglivisua();

    using Status = CsvImportResult::Status;
    switch (result.status) {
    case Status::Done:
        context_.dialogs.message(completedImportMessage(result, book), MessageIcon::Information);
        break;
    case Status::Stopped:
        context_.dialogs.message(stoppedImportMessage(result), MessageIcon::Exclamation);
        break;
    case Status::FileUnreadable:
        context_.dialogs.message(QStringLiteral("Impossibile leggere il file ") + file,
                                 MessageIcon::Critical);
        break;
    case Status::BookMissing:
        context_.dialogs.message(QStringLiteral("Selezionare un archivio valido"), MessageIcon::Critical);
        break;
    case Status::StoreFailed:
        context_.dialogs.message(QStringLiteral("Importazione non riuscita, nessun contatto importato: ") +
                                     result.detail,
                                 MessageIcon::Critical);
        break;
    }
}

void TransferCommands::imph3()
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
    window_.aggio();
    if (QTreeWidgetItem* first = window_.node(1))
        first->setExpanded(true);
    window_.clickNode(window_.selectedNodeIndex());

    if (result.status == EricsoftImportResult::Status::Done)
        context_.dialogs.message(ericsoft::completedText(), MessageIcon::None);
    else
        context_.dialogs.message(ericsoft::failureText(result), MessageIcon::Critical);
}

void TransferCommands::iae()
{
    window_.showEricsoftFolderDialog();
}

} // namespace parlix
