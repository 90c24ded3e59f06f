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

namespace {

struct ResendWords
{
    QString book;
    qint64 id = 0;
};

std::optional<ResendWords> parseWords(const QStringList& arguments)
{
    ResendWords words;
    for (qsizetype i = 0; i + 1 < arguments.size(); i += 2) {
        if (arguments.at(i) == u"--book")
            words.book = arguments.at(i + 1);
        else if (arguments.at(i) == u"--batch")
            words.id = arguments.at(i + 1).toLongLong();
    }
    if (arguments.size() != 4 || words.book.isEmpty() || words.id <= 0)
        return std::nullopt;
    return words;
}

} // namespace

CommandGrammar ResendCommand::grammar() const
{
    return {
        0,
        0,
        {bookOption(false),
         {QStringLiteral("batch"), QStringLiteral("NUMERO"), QStringLiteral("il numero dell'invio"), {}, {}}},
        {batchesField()}};
}

bool ResendCommand::accepts(const QStringList& arguments, QTextStream& err) const
{
    if (parseWords(arguments))
        return true;
    err << "parlix-cli resend: servono --book e --batch (un numero maggiore di zero)\n";
    return false;
}

int ResendCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    startBatchReport(console);
    const ResendWords words = *parseWords(arguments);
    const QString& book = words.book;
    const qint64 id = words.id;
    try {
        ScheduledStore store(*chooseStore(folder), folder.bookPath(book));
        const std::optional<qint64> again =
            store.resend(id, services_.clock.now(), Account::load(folder).login);
        if (!again) {
            console.err << "L'invio " << id << " della rubrica \"" << book
                        << "\" non ha destinatari rifiutati o mai tentati: nessun SMS inviato.\n";
            return Failed;
        }
        if (!console.json)
            console.out << "Rubrica " << book << ", invio " << *again << ": ";
        const StopSignals stopOnSignals;
        ScheduledRunner runner(folder, services_.factory, services_.clock);
        runner.setStopFlag(StopSignals::flag());
        runner.setProgress(sendProgress(console));
        const RunOutcome outcome = runner.run(book, *again);
        addBatchReport(console, store, book, *again, outcome);
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
