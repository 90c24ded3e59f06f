#include "resendcommand.h"

#include "cli/sendoutcome.h"
#include "cli/stopsignals.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/account.h"
#include "sending/scheduledrunner.h"
#include "sending/scheduledstore.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix::cli {

int ResendCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    QString book;
    qint64 id = 0;
    for (qsizetype i = 0; i + 1 < arguments.size(); i += 2) {
        if (arguments.at(i) == u"--book")
            book = arguments.at(i + 1);
        else if (arguments.at(i) == u"--batch")
            id = arguments.at(i + 1).toLongLong();
    }
    if (arguments.size() != 4 || book.isEmpty() || id <= 0) {
        console.err << "Uso: parlix-cli resend --book NOME --batch NUMERO\n";
        return Usage;
    }
    try {
        ScheduledStore store(*chooseStore(folder), folder.bookPath(book));
        const std::optional<qint64> again =
            store.resend(id, services_.clock.now(), Account::load(folder).login);
        if (!again) {
            console.err << "L'invio " << id << " della rubrica \"" << book
                        << "\" non ha destinatari rifiutati o mai tentati: nessun SMS inviato.\n";
            return Failed;
        }
        console.out << "Rubrica " << book << ", invio " << *again << ": ";
        const StopSignals stopOnSignals;
        ScheduledRunner runner(folder, services_.factory, services_.clock);
        runner.setStopFlag(StopSignals::flag());
        const RunOutcome outcome = runner.run(book, *again);
        return reportOutcome(
            outcome,
            {store.refusals(*again), store.inDoubt(*again),
             QStringLiteral("parlix-cli send --resume --book \"%1\"").arg(book),
             QStringLiteral("parlix-cli resend --book \"%1\" --batch %2").arg(book).arg(*again)},
            console);
    } catch (const StoreError& error) {
        console.err << error.message() << " Nessun SMS inviato.\n";
        return Failed;
    }
}

} // namespace parlix::cli
