#include "runscheduledcommand.h"

#include "cli/listedbooks.h"
#include "cli/sendoutcome.h"
#include "cli/stopsignals.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/scheduledrunner.h"
#include "sending/scheduledstore.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix::cli {

CommandGrammar RunScheduledCommand::grammar() const
{
    return {0, 0, {}, {batchesField()}};
}

int RunScheduledCommand::execute(const DataFolder& folder, const QStringList&, Console& console)
{
    startBatchReport(console);
    const std::optional<QStringList> books = listedBooks(folder, console);
    if (!books)
        return Failed;
    int status = Done;
    const StopSignals stopOnSignals;
    ScheduledRunner runner(folder, services_.factory, services_.clock);
    runner.setStopFlag(StopSignals::flag());
    runner.setProgress(sendProgress(console));
    const std::shared_ptr<Store> store = chooseStore(folder);
    for (const QString& book : *books) {
        QList<qint64> due;
        try {
            due = ScheduledStore(*store, folder.bookPath(book)).due(services_.clock.now());
        } catch (const StoreError& error) {
            console.err << "Rubrica \"" << book << "\": " << error.message() << '\n';
            status = worseStatus(status, Failed);
            continue;
        }
        for (const qint64 id : due) {
            const RunOutcome outcome = runner.run(book, id);
            if (outcome.status == RunOutcome::Status::Nothing ||
                outcome.status == RunOutcome::Status::OtherAccount)
                continue;
            if (!console.json)
                console.out << "Rubrica " << book << ", invio " << id << ": ";
            BatchLeftovers leftovers{
                {},
                {},
                QStringLiteral("parlix-cli run-scheduled"),
                QStringLiteral("parlix-cli resend --book \"%1\" --batch %2").arg(book).arg(id)};
            try {
                ScheduledStore journal(*store, folder.bookPath(book));
                leftovers.refusals = journal.refusals(id);
                leftovers.inDoubt = journal.inDoubt(id);
                addBatchReport(console, journal, book, id, outcome);
            } catch (const StoreError&) {
            }
            status = worseStatus(status, reportOutcome(outcome, leftovers, console));
            if (outcome.end == SendTally::End::Stopped)
                return worseStatus(status, Stopped);
        }
    }
    return status;
}

} // namespace parlix::cli
