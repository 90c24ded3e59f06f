#pragma once

#include "core/appcontext.h"

#include <QObject>

namespace parlix {

class MainWindow;

// The "File" menu's commands that move contacts in and out of the books:
// "Esporta Rubrica" (exru), "Esporta vCard" (exvcard), "Importa file csv"
// (impcvs), "Importa file vCard" (impvcard), "Importa da Ericsoft" (imph3)
// and "Imposta Archivi Ericsoft" (iae). The work is done by the transfer
// library; these ask, show the wait boxes and tell the outcome.
class TransferCommands : public QObject
{
    Q_OBJECT

public:
    TransferCommands(MainWindow& window, AppContext context, QObject* parent = nullptr);

    // Writes the ticked contacts of the list to a file the user names.
    void exportBook();
    // Appends the contacts of a file to the book of the selected node.
    void importCsv();
    // Writes the ticked contacts of the list, or the whole book of the
    // selected node when none is ticked, to a vCard file the user names.
    void exportVCard();
    // Appends the contacts of a vCard file to the book of the selected node.
    void importVCard();
    // Imports the Ericsoft register of the chosen folder.
    void importEricsoft();
    // Shows the Ericsoft folder dialog.
    void iae();

private:
    // The file to export to, asked only when a book's node is selected; empty
    // when the export is refused or the dialog cancelled.
    QString askExportFile(const QString& title, const QString& filter);

    MainWindow& window_;
    AppContext context_;
};

} // namespace parlix
