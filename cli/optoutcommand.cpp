#include "optoutcommand.h"

#include "core/clock.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/optoutline.h"
#include "sending/optoutnumber.h"
#include "sending/optoutregister.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace parlix::cli {

namespace {

int usage(Console& console)
{
    console.err << "Uso: parlix-cli optout add NUMERO [--note TESTO] | remove NUMERO [--yes] | "
                   "list [--all] [--search TESTO] | import FILE|- | line [TESTO|--none]  [--json]\n";
    return Usage;
}

struct Words
{
    QStringList plain; // the words that are no option
    QString note;
    QString search;
    bool json = false;
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
        } else if (word == u"--json") {
            words.json = true;
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

void printJson(Console& console, const QJsonValue& value)
{
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    console.out << QString::fromUtf8(document.toJson(QJsonDocument::Compact)) << '\n';
}

QJsonObject entryJson(const OptOutEntry& entry)
{
    return {{QStringLiteral("numero"), entry.number},  {QStringLiteral("cellulare"), entry.typed},
            {QStringLiteral("aggiunto"), entry.added}, {QStringLiteral("origine"), entry.source},
            {QStringLiteral("file"), entry.file},      {QStringLiteral("nota"), entry.note},
            {QStringLiteral("rimosso"), entry.removed}};
}

} // namespace

QString OptOutCommand::synopsis() const
{
    return QStringLiteral(
        "add NUMERO [--note TESTO] | remove NUMERO [--yes] | list [--all] [--search TESTO] | "
        "import FILE|- | line [TESTO|--none]  [--json]");
}

QString OptOutCommand::description() const
{
    return QStringLiteral("il registro \"Numeri esclusi\": i numeri a cui nessun invio manda SMS");
}

int OptOutCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const std::optional<Words> words = parseWords(arguments);
    if (!words || words->plain.isEmpty())
        return usage(console);
    const QString action = words->plain.constFirst();
    const qsizetype count = words->plain.size();
    if (action == u"line")
        return count <= 2 ? line(folder, words->plain.mid(1), words->none, words->json, console)
                          : usage(console);
    const bool known = ((action == u"add" || action == u"remove" || action == u"import") && count == 2) ||
                       (action == u"list" && count == 1);
    if (!known)
        return usage(console);
    try {
        OptOutRegister optOut(*chooseStore(folder), folder.bookList());
        const QString& argument = words->plain.value(1);
        if (action == u"add")
            return add(optOut, argument, words->note, words->json, console);
        if (action == u"remove")
            return remove(optOut, argument, words->yes, words->json, console);
        if (action == u"import")
            return import(optOut, argument, words->json, console);
        return list(optOut, words->search, words->all, words->json, console);
    } catch (const StoreError& error) {
        console.err << error.message() << '\n';
        return Failed;
    }
}

int OptOutCommand::add(OptOutRegister& optOut, const QString& number, const QString& note, bool json,
                       Console& console)
{
    const OptOutRegister::Added added =
        optOut.add(number, OptOutRegister::Source::Typed, QString(), note, clock_.now());
    if (added == OptOutRegister::Added::NotANumber) {
        console.err << OptOutRegister::notANumberText(number) << '\n';
        return Failed;
    }
    const QString outcome = added == OptOutRegister::Added::AlreadyThere ? QStringLiteral("presente")
                            : added == OptOutRegister::Added::Restored   ? QStringLiteral("ripristinato")
                                                                         : QStringLiteral("aggiunto");
    const OptOutEntry entry = optOut.find(number).value_or(OptOutEntry{});
    if (json)
        printJson(console,
                  QJsonObject{{QStringLiteral("numero"), entry.number}, {QStringLiteral("esito"), outcome}});
    else if (added == OptOutRegister::Added::AlreadyThere)
        console.err << "Il numero " << entry.number << " è già nel registro dal " << entry.added << ".\n";
    else
        console.out << entry.number << '\n';
    return Done;
}

int OptOutCommand::remove(OptOutRegister& optOut, const QString& number, bool confirmed, bool json,
                          Console& console)
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
    if (json)
        printJson(console, QJsonObject{{QStringLiteral("numero"), entry->number},
                                       {QStringLiteral("esito"), QStringLiteral("rimosso")}});
    return Done;
}

int OptOutCommand::list(OptOutRegister& optOut, const QString& search, bool all, bool json, Console& console)
{
    const QList<OptOutEntry> entries = optOut.entries(search, all);
    if (json) {
        QJsonArray array;
        for (const OptOutEntry& entry : entries)
            array.append(entryJson(entry));
        printJson(console, array);
        return Done;
    }
    for (const OptOutEntry& entry : entries) {
        const QString source =
            entry.file.isEmpty() ? entry.source : QStringLiteral("%1 (%2)").arg(entry.source, entry.file);
        console.out << entry.number << '\t' << entry.added << '\t' << source << '\t' << entry.note << '\t'
                    << entry.removed << '\n';
    }
    return Done;
}

int OptOutCommand::import(OptOutRegister& optOut, const QString& file, bool json, Console& console)
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
    if (json) {
        printJson(console,
                  QJsonObject{{QStringLiteral("aggiunti"), tally.added},
                              {QStringLiteral("presenti"), tally.alreadyThere},
                              {QStringLiteral("scartate"), QJsonArray::fromStringList(tally.skipped)}});
    } else {
        console.out << tally.added << '\n';
        console.err << OptOutRegister::importText(tally) << '\n';
    }
    return tally.skipped.isEmpty() ? Done : Stopped;
}

int OptOutCommand::line(const DataFolder& folder, const QStringList& words, bool none, bool json,
                        Console& console)
{
    if (none && !words.isEmpty())
        return usage(console);
    QString text = OptOutLine::load(folder);
    if (none || !words.isEmpty()) {
        text = none ? QString() : words.constFirst().simplified();
        if (!OptOutLine::save(folder, text)) {
            console.err << "Il file \"" << OptOutLine::fileName() << "\" non può essere scritto.\n";
            return Failed;
        }
    }
    if (json)
        printJson(console, QJsonObject{{QStringLiteral("riga"), text}});
    else if (!text.isEmpty())
        console.out << text << '\n';
    return Done;
}

} // namespace parlix::cli
