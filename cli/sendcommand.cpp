#include "sendcommand.h"

#include "cli/sendoutcome.h"
#include "contacts/bookcatalog.h"
#include "contacts/bookcontacts.h"
#include "core/clock.h"
#include "core/programstate.h"
#include "core/startupfiles.h"
#include "sending/batchplan.h"
#include "sending/scheduledrunner.h"
#include "sending/scheduledstore.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <optional>

namespace parlix::cli {

namespace {

struct SendOptions
{
    QString book;
    QString text;
    bool flash = false;
    SplitMode split = SplitMode::Fixed;
    std::optional<QDateTime> at;
};

std::optional<SendOptions> parseOptions(const QStringList& arguments, QTextStream& err)
{
    SendOptions options;
    bool hasText = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const bool takesValue =
            word == u"--book" || word == u"--text" || word == u"--split" || word == u"--at";
        if (takesValue && i + 1 >= arguments.size()) {
            err << "parlix-cli send: " << word << " vuole un valore\n";
            return std::nullopt;
        }
        if (word == u"--book") {
            options.book = arguments.at(++i);
        } else if (word == u"--text") {
            options.text = arguments.at(++i);
            hasText = true;
        } else if (word == u"--flash") {
            options.flash = true;
        } else if (word == u"--split") {
            const QString& mode = arguments.at(++i);
            if (mode != u"fixed" && mode != u"word") {
                err << "parlix-cli send: --split vuole fixed o word\n";
                return std::nullopt;
            }
            options.split = mode == u"word" ? SplitMode::Words : SplitMode::Fixed;
        } else if (word == u"--at") {
            const QDateTime at = QDateTime::fromString(arguments.at(++i), QStringLiteral("yyyy-MM-ddTHH:mm"));
            if (!at.isValid()) {
                err << "parlix-cli send: --at vuole data e ora come 2026-12-24T09:30\n";
                return std::nullopt;
            }
            options.at = at;
        } else {
            err << "parlix-cli send: argomento sconosciuto \"" << word << "\"\n";
            return std::nullopt;
        }
    }
    if (options.book.isEmpty() || !hasText) {
        err << "Uso: parlix-cli send --book NOME --text TESTO [--flash] [--split fixed|word] "
               "[--at AAAA-MM-GGTHH:MM]\n";
        return std::nullopt;
    }
    return options;
}

QString numbersOf(const BatchPlan& plan)
{
    QStringList numbers;
    numbers.reserve(plan.messages().size());
    for (const RecipientMessage& message : plan.messages())
        numbers << message.number;
    return numbers.join(u';');
}

} // namespace

int SendCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const std::optional<SendOptions> options = parseOptions(arguments, console.err);
    if (!options)
        return Usage;

    try {
        ProgramState state(folder);
        if (!BookCatalog(state).exists(options->book)) {
            console.err << "La rubrica \"" << options->book << "\" non esiste: nessun SMS inviato.\n";
            return Failed;
        }
        loadStartupFiles(state);
        const QString bookPath = folder.bookPath(options->book);
        auto plan =
            BatchPlan::make(options->text, contactsWithNumbers(*state.store, bookPath), options->split);
        if (const QString* refusal = std::get_if<QString>(&plan)) {
            console.err << *refusal << " Nessun SMS inviato.\n";
            return Failed;
        }
        const BatchPlan& batchPlan = std::get<BatchPlan>(plan);
        console.err << batchPlan.preview() << '\n';

        ScheduledBatch batch = ScheduledBatch::forPlan(batchPlan, options->at.value_or(services_.clock.now()),
                                                       QStringLiteral("<lista>"), numbersOf(batchPlan));
        batch.split = options->split;
        batch.flash = options->flash;
        batch.sender = state.intestazione;
        batch.immediate = !options->at;
        ScheduledStore store(*state.store, bookPath);
        const qint64 id = store.add(batch, batchPlan);
        if (options->at) {
            console.out << "Invio " << id << " programmato per il "
                        << options->at->toString(QStringLiteral("dd/MM/yyyy HH:mm")) << ": "
                        << batchPlan.messages().size() << " destinatari, " << batchPlan.smsCount()
                        << " SMS\n";
            return Done;
        }

        ScheduledRunner runner(folder, services_.factory, services_.clock);
        const RunOutcome outcome = runner.run(options->book, id);
        if (outcome.status == RunOutcome::Status::NotSent)
            store.cancel(id);
        return reportOutcome(outcome, store.refusals(id), console);
    } catch (const StoreError& error) {
        console.err << error.message() << " Nessun SMS inviato.\n";
        return Failed;
    }
}

} // namespace parlix::cli
