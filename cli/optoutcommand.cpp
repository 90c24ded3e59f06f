#include "optoutcommand.h"

#include "cli/report.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/optoutline.h"
#include "sending/optoutnumber.h"
#include "sending/optoutregister.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QJsonArray>
#include <QJsonObject>

namespace parlix::cli {

namespace {

struct Words
{
    QStringList plain; // the words that are no option
    QString note;
    QString search;
    bool all = false;
    bool yes = false;
    bool none = false;
};

std::optional<Words> parseWords(const QStringList& arguments)
{
    Words words;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == u"--note" || word == u"--search") {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            (word == u"--note" ? words.note : words.search) = arguments.at(++i);
        } else if (word == u"--all") {
            words.all = true;
        } else if (word == u"--yes") {
            words.yes = true;
        } else if (word == u"--none") {
            words.none = true;
        } else if (word.startsWith(u"--")) {
            return std::nullopt;
        } else {
            words.plain << word;
        }
    }
    return words;
}

QJsonObject entryJson(const OptOutEntry& entry)
{
    return {{QStringLiteral("number"), entry.number},  {QStringLiteral("typed"), entry.typed},
            {QStringLiteral("added"), entry.added},    {QStringLiteral("source"), entry.source},
            {QStringLiteral("file"), entry.file},      {QStringLiteral("note"), entry.note},
            {QStringLiteral("removed"), entry.removed}};
}

} // namespace

QString OptOutCommand::synopsis() const
{
    return QStringLiteral(
        "add NUMERO [--note TESTO] | remove NUMERO [--yes] | list [--all] [--search TESTO] | "
        "import FILE|- | line [TESTO|--none]");
}

QString OptOutCommand::description() const
{
    return QStringLiteral("il registro \"Numeri esclusi\": i numeri a cui nessun invio manda SMS");
}

CommandGrammar OptOutCommand::grammar() const
{
    const auto option = [](const char* name, const char* value, const char* help) {
        return OptionSpec{
            QString::fromLatin1(name), QString::fromLatin1(value), QString::fromUtf8(help), {}, {}};
    };
    const auto field = [](const char* name, const char* meaning) {
        return FieldSpec{QString::fromLatin1(name), QString::fromUtf8(meaning)};
    };
    return {1,
            2,
            {option("note", "TESTO", "con add: una nota sul numero"),
             option("yes", "", "con remove: toglie il numero senza chiedere conferma"),
             option("all", "", "con list: anche i numeri tolti dal registro"),
             option("search", "TESTO", "con list: solo i numeri o le note che contengono TESTO"),
             option("none", "", "con line: toglie la riga aggiunta agli SMS multipli")},
            {field("number", "con add e remove: il numero come lo tiene il registro (E.164)"),
             field("outcome", "con add e remove: added, restored (era stato tolto), present o removed"),
             field("numbers", "con list: un oggetto per numero, con number, typed (come scritto), added (la "
                              "data), source (digitato o importato), file, note e removed (la data in cui è "
                              "stato tolto)"),
             field("added", "con import: i numeri aggiunti"),
             field("present", "con import: i numeri che erano già nel registro"),
             field("skipped", "con import: le righe senza un numero, come \"riga N: testo\""),
             field("line", "con line: la riga aggiunta agli SMS multipli")}};
}

bool OptOutCommand::accepts(const QStringList& arguments, QTextStream&) const
{
    const std::optional<Words> words = parseWords(arguments);
    if (!words || words->plain.isEmpty())
        return false;
    const QString action = words->plain.constFirst();
    const qsizetype count = words->plain.size();
    return ((action == u"add" || action == u"remove" || action == u"import") && count == 2) ||
           (action == u"list" && count == 1) ||
           (action == u"line" && (count == 1 || (count == 2 && !words->none)));
}

int OptOutCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const Words words = parseWords(arguments).value_or(Words{});
    const QString action = words.plain.value(0);
    if (action == u"line")
        return line(folder, words.plain.mid(1), words.none, console);
    try {
        OptOutRegister optOut(*chooseStore(folder), folder.bookList());
        const QString argument = words.plain.value(1);
        if (action == u"add")
            return add(optOut, argument, words.note, console);
        if (action == u"remove")
            return remove(optOut, argument, words.yes, console);
        if (action == u"import")
            return import(optOut, argument, console);
        return list(optOut, words.search, words.all, console);
    } catch (const StoreError& error) {
        console.err << error.message() << '\n';
        return Failed;
    }
}

int OptOutCommand::add(OptOutRegister& optOut, const QString& number, const QString& note, Console& console)
{
    const OptOutRegister::Added added =
        optOut.add(number, OptOutRegister::Source::Typed, QString(), note, clock_.now());
    if (added == OptOutRegister::Added::NotANumber) {
        console.err << OptOutRegister::notANumberText(number) << '\n';
        return Failed;
    }
    const bool there = added == OptOutRegister::Added::AlreadyThere;
    const OptOutEntry entry = optOut.find(number).value_or(OptOutEntry{});
    if (there)
        console.err << "Il numero " << entry.number << " è già nel registro dal " << entry.added << ".\n";
    const QString outcome = there                                      ? QStringLiteral("present")
                            : added == OptOutRegister::Added::Restored ? QStringLiteral("restored")
                                                                       : QStringLiteral("added");
    report(console, {{QStringLiteral("number"), entry.number}, {QStringLiteral("outcome"), outcome}},
           there ? QString() : entry.number + u'\n');
    return Done;
}

int OptOutCommand::remove(OptOutRegister& optOut, const QString& number, bool confirmed, Console& console)
{
    const std::optional<OptOutEntry> entry = optOut.find(number);
    if (!entry || !entry->honoured()) {
        if (!optOutKey(number))
            console.err << OptOutRegister::notANumberText(number) << '\n';
        else if (entry)
            console.err << "Il numero " << entry->number << " è stato tolto dal registro il "
                        << entry->removed << ".\n";
        else
            console.err << "Il numero " << number << " non è nel registro \""
                        << OptOutRegister::registerName() << "\".\n";
        return Failed;
    }
    if (!confirmed) {
        console.err << OptOutRegister::removalQuestion(entry->number) << " [s/N] " << Qt::flush;
        const QString answer = console.in.readLine().trimmed().toLower();
        if (answer != u"s" && answer != u"si" && answer != u"sì") {
            console.err << "Nessuna modifica.\n";
            return Failed;
        }
    }
    optOut.remove(number, clock_.now());
    report(
        console,
        {{QStringLiteral("number"), entry->number}, {QStringLiteral("outcome"), QStringLiteral("removed")}},
        {});
    return Done;
}

int OptOutCommand::list(OptOutRegister& optOut, const QString& search, bool all, Console& console)
{
    QJsonArray numbers;
    QString text;
    for (const OptOutEntry& entry : optOut.entries(search, all)) {
        numbers.append(entryJson(entry));
        const QString source =
            entry.file.isEmpty() ? entry.source : QStringLiteral("%1 (%2)").arg(entry.source, entry.file);
        text += QStringList{entry.number, entry.added, source, entry.note, entry.removed}.join(u'\t') + u'\n';
    }
    report(console, {{QStringLiteral("numbers"), numbers}}, text);
    return Done;
}

int OptOutCommand::import(OptOutRegister& optOut, const QString& file, Console& console)
{
    std::optional<QStringList> lines;
    if (file == u"-") {
        QStringList read;
        while (!console.in.atEnd())
            read << console.in.readLine();
        lines = read;
    } else {
        lines = OptOutRegister::readFile(file);
    }
    if (!lines) {
        console.err << "Il file \"" << file << "\" non può essere letto: nessun numero importato.\n";
        return Failed;
    }
    const OptOutRegister::ImportTally tally =
        optOut.import(*lines, file == u"-" ? QStringLiteral("standard input") : file, clock_.now());
    report(console,
           {{QStringLiteral("added"), tally.added},
            {QStringLiteral("present"), tally.alreadyThere},
            {QStringLiteral("skipped"), QJsonArray::fromStringList(tally.skipped)}},
           QString::number(tally.added) + u'\n');
    console.err << OptOutRegister::importText(tally) << '\n';
    return tally.skipped.isEmpty() ? Done : Stopped;
}

int OptOutCommand::line(const DataFolder& folder, const QStringList& words, bool none, Console& console)
{
    QString text = OptOutLine::load(folder);
    if (none || !words.isEmpty()) {
        text = none ? QString() : words.constFirst().simplified();
        if (!OptOutLine::save(folder, text)) {
            console.err << "Il file \"" << OptOutLine::fileName() << "\" non può essere scritto.\n";
            return Failed;
        }
    }
    report(console, {{QStringLiteral("line"), text}}, text.isEmpty() ? QString() : text + u'\n');
    return Done;
}

} // namespace parlix::cli
