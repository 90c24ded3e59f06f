#pragma once

#include "core/appcontext.h"
#include "core/archivetree.h"
#include "sending/smsgateway.h"
#include "sending/usertimer.h"
#include "sending/waitingbatches.h"

#include <QObject>

namespace parlix {

class MainWindow;
class ScheduledDispatcher;
struct RunOutcome;
struct ComposerPreset;
struct RowSelection;
enum class ArchiveKind;

// Opens the program's forms from the main window's menus, toolbar, list and
// panel, and connects what they tell back (the books changed, a contact was
// stored, a message should be written) to where it belongs. The main window
// routes to the actions; this decides which form each action shows.
class FormLauncher : public QObject
{
    Q_OBJECT

public:
    // `gateway` makes the gateway connections of the composer's batches and of
    // the credit refresh.
    FormLauncher(MainWindow& window, AppContext context, GatewayFactory gateway);

    // Switches on the menu entries, toolbar buttons and panel commands whose
    // forms exist, and connects them.
    void install();

    void openBookManager();                    // "Gestione Rubriche"
    void openContactEditor();                  // "Inserisci Contatto"
    void editContact(const RowSelection& row); // the panel's "Modifica Contatto"
    void openContactSearch();                  // "Cerca Contatto"
    void openPrefixEditor();                   // "Nuovi Prefissi"
    void openAccountDialog();                  // "Dati Account"

    void sendSingle();           // "Invia SMS Singoli"
    void sendMultiple();         // "Invia SMS Multipli"
    void openScheduledBatches(); // "Invii Programmati"
    void openOptOutRegister();   // "Numeri esclusi"
    void openStatistics();       // "Statistiche"
    void showSentOutcome();      // "Esito Invio": each recipient of the sent message selected
    // At start: tells of each batch cut short last time and offers its text
    // to the recipients it never reached.
    void offerInterruptedBatches();
    // At start: asks about each batch kept for later whose time went by long
    // ago; until answered, none of them is sent.
    void offerOverdueBatches();
    // Before the program ends: says when the batches still to go will leave
    // and offers to turn on the user timer that sends them; false to stay open.
    bool confirmClose();
    // The timer offered at closing (systemd's by default).
    void setUserTimer(UserTimer timer) { userTimer_ = std::move(timer); }
    // A double click in the list: a contact, or a saved message to send again.
    void composeFromRow(ArchiveKind kind, const RowSelection& row);
    // Shows the composer modally with this preset, over the selected node's book.
    void openComposer(const ComposerPreset& preset);
    // The composer as if `node` were the tree's selection.
    void openComposerFor(const ComposerPreset& preset, const ArchiveNode& node);

private:
    void connectAction(QLatin1String name, void (FormLauncher::*slot)());
    // "Esporta Rubrica", "Importa file csv" and "Importa da Ericsoft".
    void installTransferCommands();
    void openContactSearchFor(const QString& book);

    void scheduledBatchFinished(const RunOutcome& outcome);
    // Keeps the dispatcher off the batches long overdue until they are answered.
    void holdOverdueBatches();
    // A round now, or as soon as the one under way is over.
    void runScheduledNow();

    MainWindow& window_;
    AppContext context_;
    GatewayFactory gateway_;
    // Sends the batches kept for later while the program runs.
    ScheduledDispatcher* dispatcher_ = nullptr;
    QList<BookBatch> overdue_;
    UserTimer userTimer_;
};

} // namespace parlix
