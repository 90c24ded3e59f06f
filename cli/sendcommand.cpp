#include "sendcommand.h"

#include "cli/listedbooks.h"
#include "cli/sendoutcome.h"
#include "cli/stopsignals.h"
#include "contacts/bookcatalog.h"
#include "contacts/bookcontacts.h"
#include "core/clock.h"
#include "core/numbers.h"
#include "core/programstate.h"
#include "core/startupfiles.h"
#include "core/storechoice.h"
#include "sending/account.h"
#include "sending/batchplan.h"
#include "sending/scheduledrunner.h"
#include "sending/scheduledstore.h"
#include "sending/windows1252check.h"
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
    bool acceptReplacements = false;
    bool resume = false;
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
        } else if (word == u"--accept-replacements") {
            options.acceptReplacements = true;
        } else if (word == u"--resume") {
            options.resume = true;
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
    if (options.resume ? hasText || options.at : options.book.isEmpty() || !hasText) {
        err << "Uso: parlix-cli send --book NOME --text TESTO [--flash] [--split fixed|word] "
               "[--at AAAA-MM-GGTHH:MM] [--accept-replacements]\n"
               "     parlix-cli send --resume [--book NOME]\n";
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

// The text as the gateway will carry it: every character Windows-1252 lacks becomes "?".
QString asSent(QString text, const QStringList& missing)
{
    for (const QString& character : missing)
        text.replace(character, QStringLiteral("?"));
    return text;
}

QString resumeCommand(const QString& book)
{
    return QStringLiteral("parlix-cli send --resume --book \"%1\"").arg(book);
}

BatchLeftovers leftoversOf(ScheduledStore& store, qint64 id, const QString& book)
{
    const QString resume = resumeCommand(book);
    const QString resend = QStringLiteral("parlix-cli resend --book \"%1\" --batch %2").arg(book).arg(id);
    try {
        return {store.refusals(id), store.inDoubt(id), resume, resend};
    } catch (const StoreError&) {
        return {{}, {}, resume, resend}; // the run has told why the journal failed
    }
}

} // namespace

CommandGrammar SendCommand::grammar() const
{
    const auto option = [](const char* name, const char* value, const char* help) {
        return OptionSpec{
            QString::fromLatin1(name), QString::fromLatin1(value), QString::fromUtf8(help), {}, {}};
    };
    return {
        0,
        0,
        {option("book", "NOME", "la rubrica dei destinatari (con --resume: solo questa rubrica)"),
         option("text", "TESTO",
                "il testo, con i campi {Nome} {Cognome} {Cellulare} {Email}; \"-\": lo "
                "standard input"),
         option("flash", "", "SMS flash, mostrati subito e non salvati dal telefono"),
         option("split", "MODO",
                "come dividere un testo lungo: fixed (a 160 caratteri) o word (fra le "
                "parole)"),
         option("at", "AAAA-MM-GGTHH:MM", "non ora ma a quell'ora, con run-scheduled"),
         option("accept-replacements", "", "invia comunque i caratteri che gli SMS non portano, come \"?\""),
         option("resume", "", "riprende gli invii interrotti, solo verso i destinatari mai tentati")},
        {batchesField()}};
}

bool SendCommand::accepts(const QStringList& arguments, QTextStream& err) const
{
    const std::optional<SendOptions> options = parseOptions(arguments, err);
    if (!options)
        return false;
    if (options->at && *options->at <= services_.clock.now()) {
        err << "L'ora indicata (" << options->at->toString(QStringLiteral("dd/MM/yyyy HH:mm"))
            << ") è già passata: nessun invio programmato.\n";
        return false;
    }
    return true;
}

int SendCommand::resume(const DataFolder& folder, const QString& onlyBook, Console& console)
{
    QStringList books{onlyBook};
    if (onlyBook.isEmpty()) {
        const std::optional<QStringList> listed = listedBooks(folder, console);
        if (!listed)
            return Failed;
        books = *listed;
    }
    const StopSignals stopOnSignals;
    ScheduledRunner runner(folder, services_.factory, services_.clock);
    runner.setStopFlag(StopSignals::flag());
    runner.setProgress(sendProgress(console));
    const std::shared_ptr<Store> shared = chooseStore(folder);
    int status = Done;
    int resumed = 0;
    for (const QString& book : books) {
        try {
            ScheduledStore store(*shared, folder.bookPath(book));
            for (const ScheduledBatch& batch : store.interrupted()) {
                if (store.counts(batch.id).waiting == 0) {
                    store.close(batch.id);
                    continue;
                }
                ++resumed;
                if (!console.json)
                    console.out << "Rubrica " << book << ", invio " << batch.id << ": ";
                const RunOutcome outcome = runner.run(book, batch.id);
                status =
                    worseStatus(status, reportOutcome(outcome, leftoversOf(store, batch.id, book), console));
                addBatchReport(console, store, book, batch.id, outcome);
                if (outcome.end == SendTally::End::Stopped)
                    return Stopped;
            }
        } catch (const StoreError& error) {
            console.err << "Rubrica \"" << book << "\": " << error.message() << '\n';
            status = worseStatus(status, Failed);
        }
    }
    if (resumed == 0)
        console.err << "Nessun invio interrotto da riprendere.\n";
    return status;
}

int SendCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    startBatchReport(console);
    std::optional<SendOptions> options = parseOptions(arguments, console.err);
    if (!options)
        return Usage;
    if (options->text == u'-') {
        // The text from standard input, without the line end that closes it.
        options->text = console.in.readAll();
        if (options->text.endsWith(u'\n'))
            options->text.chop(options->text.endsWith(QStringLiteral("\r\n")) ? 2 : 1);
    }
    if (options->resume)
        return resume(folder, options->book, console);
    const QStringList missing = charactersWithoutWindows1252(options->text);
    if (!missing.isEmpty() && !options->acceptReplacements) {
        console.err << "Il testo contiene caratteri che gli SMS non possono trasmettere: "
                    << missing.join(u' ')
                    << ". Verrebbero inviati come \"?\": correggere il testo, o ripetere il comando con "
                       "--accept-replacements per inviarlo così. Nessun SMS inviato.\n";
        return Failed;
    }

    try {
        ProgramState state(folder);
        if (!BookCatalog(state).exists(options->book)) {
            console.err << "La rubrica \"" << options->book << "\" non esiste: nessun SMS inviato.\n";
            return Failed;
        }
        loadStartupFiles(state);
        const QString bookPath = folder.bookPath(options->book);
        // What is kept, split and previewed is the text as it goes out.
        auto plan = BatchPlan::make(asSent(options->text, missing),
                                    contactsWithNumbers(*state.store, bookPath), options->split);
        if (const QString* refusal = std::get_if<QString>(&plan)) {
            console.err << *refusal << " Nessun SMS inviato.\n";
            return Failed;
        }
        const BatchPlan& batchPlan = std::get<BatchPlan>(plan);
        if (!console.quiet)
            console.err << batchPlan.preview() << '\n';

        ScheduledBatch batch = ScheduledBatch::forPlan(batchPlan, options->at.value_or(services_.clock.now()),
                                                       QStringLiteral("<lista>"), numbersOf(batchPlan));
        batch.split = options->split;
        batch.flash = options->flash;
        batch.sender = state.intestazione;
        batch.immediate = !options->at;
        batch.account = Account::load(folder).login;
        ScheduledStore store(*state.store, bookPath);
        const qint64 id = store.add(batch, batchPlan);
        if (options->at) {
            if (console.json) {
                addBatchReport(console, store, options->book, id, RunOutcome{});
                return Done;
            }
            console.out << "Invio " << id << " programmato per il "
                        << options->at->toString(QStringLiteral("dd/MM/yyyy HH:mm")) << ": "
                        << numbers::counted(batchPlan.messages().size(), QStringLiteral("destinatario"),
                                            QStringLiteral("destinatari"))
                        << ", " << batchPlan.smsCount() << " SMS\n";
            return Done;
        }

        const StopSignals stopOnSignals;
        ScheduledRunner runner(folder, services_.factory, services_.clock);
        runner.setStopFlag(StopSignals::flag());
        runner.setProgress(sendProgress(console));
        const RunOutcome outcome = runner.run(options->book, id);
        if (outcome.status == RunOutcome::Status::NotSent && outcome.attempted == 0) {
            try {
                store.cancel(id);
                store.close(id);
            } catch (const StoreError&) {
            }
        }
        const int status = reportOutcome(outcome, leftoversOf(store, id, options->book), console);
        addBatchReport(console, store, options->book, id, outcome);
        return status;
    } catch (const StoreError& error) {
        console.err << error.message() << " Nessun SMS inviato.\n";
        return Failed;
    }
}

} // namespace parlix::cli
