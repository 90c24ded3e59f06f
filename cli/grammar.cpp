#include "grammar.h"

#include "cli/linegrammar.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#ifndef PARLIX_VERSION
#error "PARLIX_VERSION must be defined by the build"
#endif

namespace parlix::cli {

namespace {

const QString program = QStringLiteral("parlix-cli");

const QList<NoteSpec>& exitStatuses()
{
    static const QList<NoteSpec> statuses = {
        {QStringLiteral("0"), QStringLiteral("fatto")},
        {QStringLiteral("1"),
         QStringLiteral("uso sbagliato (comando, opzione o argomento sconosciuto o mancante; "
                        "un'ora di --at già passata): nulla è stato creato né cambiato")},
        {QStringLiteral("2"), QStringLiteral("errore: non è stato fatto nulla (o nulla di più)")},
        {QStringLiteral("3"),
         QStringLiteral("il lavoro si è fermato a metà, o alcuni SMS sono stati rifiutati o sono "
                        "in dubbio; quanto fatto prima resta")},
        {QStringLiteral("4"), QStringLiteral("users check: la password non corrisponde")},
    };
    return statuses;
}

const QList<NoteSpec>& environment()
{
    static const QList<NoteSpec> variables = {
        {QStringLiteral("PARLIX_HOME"), QStringLiteral("la cartella dati, quando manca --home")},
        {QStringLiteral("XDG_DATA_HOME"),
         QStringLiteral("la cartella dati è $XDG_DATA_HOME/parlix quando mancano --home e PARLIX_HOME")},
        {QStringLiteral("XDG_CONFIG_HOME"),
         QStringLiteral(
             "il gateway.conf dell'utente è in $XDG_CONFIG_HOME/parlix (di solito ~/.config/parlix)")},
        {QStringLiteral("QWIRL_SEND_HOST"),
         QStringLiteral(
             "l'host del gateway per l'invio (host[:porta] o https://host[:porta]), sopra gateway.conf")},
        {QStringLiteral("QWIRL_NOTIFY_HOST"),
         QStringLiteral("l'host del gateway per le notifiche, sopra gateway.conf")},
        {QStringLiteral("QWIRL_CA_FILE"),
         QStringLiteral("le autorità di certificazione per https, sopra gateway.conf")},
        {QStringLiteral("http_proxy, no_proxy"), QStringLiteral("il proxy HTTP verso il gateway")},
    };
    return variables;
}

const QList<NoteSpec>& files()
{
    static const QList<NoteSpec> list = {
        {QStringLiteral("~/.local/share/parlix"), QStringLiteral("la cartella dati predefinita")},
        {QStringLiteral("CARTELLA/archivio"),
         QStringLiteral(
             "una riga con la stringa di connessione di un database PostgreSQL condiviso: le rubriche "
             "stanno lì invece che nei file della cartella dati")},
        {QStringLiteral("CARTELLA/tempaccesso"), QStringLiteral("gli utenti locali (users)")},
        {QStringLiteral("/etc/parlix/gateway.conf"),
         QStringLiteral("gli host del gateway dell'installazione (send-host, notify-host, ca-file)")},
        {QStringLiteral("~/.config/parlix/gateway.conf"),
         QStringLiteral("gli host del gateway dell'utente, sopra quelli "
                        "dell'installazione")},
        {QStringLiteral("/usr/lib/systemd/user/parlix-run-scheduled.timer"),
         QStringLiteral("il timer (spento) che esegue run-scheduled ogni minuto")},
        {QStringLiteral("/usr/share/doc/parlix/shared-database.md"),
         QStringLiteral("come condividere le rubriche fra più postazioni su un server PostgreSQL")},
    };
    return list;
}

const QList<NoteSpec>& examples()
{
    static const QList<NoteSpec> list = {
        {QStringLiteral("parlix-cli books --json"), QStringLiteral("le rubriche, come oggetto JSON")},
        {QStringLiteral("parlix-cli import-csv clienti.csv --book=Clienti"),
         QStringLiteral("importa un file csv nella rubrica Clienti")},
        {QStringLiteral("printf 'Ciao {Nome}' | parlix-cli send --book Clienti --text - -q"),
         QStringLiteral("invia il testo letto dallo standard input, senza anteprima né avanzamento")},
        {QStringLiteral("parlix-cli help send"), QStringLiteral("le opzioni di send")},
    };
    return list;
}

const QString exitField = QStringLiteral("exit");

Command* findCommand(const Commands& commands, const QString& name)
{
    for (const auto& command : commands)
        if (command->name() == name)
            return command.get();
    return nullptr;
}

const OptionSpec* findOption(const QList<OptionSpec>& options, const QString& name, bool isShort)
{
    for (const OptionSpec& option : options)
        if (isShort ? !option.shortName.isNull() && name == option.shortName : option.name == name)
            return &option;
    return nullptr;
}

QString optionLabel(const OptionSpec& option)
{
    QString label = QStringLiteral("--") + option.name;
    if (!option.valueName.isEmpty())
        label += u' ' + option.valueName;
    if (!option.shortName.isNull())
        label = u'-' + option.shortName + QStringLiteral(", ") + label;
    return label;
}

void appendColumns(QString& out, const QString& left, const QString& right)
{
    constexpr qsizetype column = 26;
    out += QStringLiteral("  ") + left;
    out += left.size() + 2 < column ? QString(column - left.size() - 2, u' ') : u'\n' + QString(column, u' ');
    out += right + u'\n';
}

QJsonArray optionsJson(const QList<OptionSpec>& options)
{
    QJsonArray array;
    for (const OptionSpec& option : options) {
        QJsonArray names{QStringLiteral("--") + option.name};
        if (option.name == u"help")
            names.append(QStringLiteral("-h"));
        else if (!option.shortName.isNull())
            names.append(u'-' + option.shortName);
        array.append(
            QJsonObject{{QStringLiteral("names"), names},
                        {QStringLiteral("value"), option.valueName.isEmpty() ? QJsonValue(QJsonValue::Null)
                                                                             : QJsonValue(option.valueName)},
                        {QStringLiteral("help"), option.help},
                        {QStringLiteral("repeatable"), false},
                        {QStringLiteral("complete"), option.complete}});
    }
    return array;
}

QJsonArray notesJson(const QList<NoteSpec>& notes, const QString& key)
{
    QJsonArray array;
    for (const NoteSpec& note : notes)
        array.append(QJsonObject{{key, note.name}, {QStringLiteral("meaning"), note.meaning}});
    return array;
}

// The command's own options, with --json when it reports.
QList<OptionSpec> optionsOf(const CommandGrammar& grammar)
{
    QList<OptionSpec> options = grammar.options;
    if (!grammar.json.isEmpty())
        options << jsonOption();
    return options;
}

} // namespace

const QList<OptionSpec>& globalOptions()
{
    static const QList<OptionSpec> options = {
        {QStringLiteral("home"),
         QStringLiteral("CARTELLA"),
         QStringLiteral("la cartella dati (altrimenti $PARLIX_HOME, altrimenti $XDG_DATA_HOME/parlix)"),
         QStringLiteral("directory"),
         {}},
        {QStringLiteral("quiet"),
         {},
         QStringLiteral("niente avanzamento né anteprima su standard error"),
         {},
         u'q'},
        {QStringLiteral("help"),
         {},
         QStringLiteral("mostra l'aiuto (del comando, se indicato) ed esce"),
         {},
         u'h'},
        {QStringLiteral("version"), {}, QStringLiteral("mostra la versione ed esce"), {}, {}},
    };
    return options;
}

OptionSpec jsonOption()
{
    return {QStringLiteral("json"),
            {},
            QStringLiteral("scrive il risultato come un solo oggetto JSON su una riga"),
            {},
            {}};
}

OptionSpec bookOption(bool principale)
{
    return {QStringLiteral("book"),
            QStringLiteral("NOME"),
            principale ? QStringLiteral("la rubrica (Principale se non indicata)")
                       : QStringLiteral("la rubrica"),
            {},
            {}};
}

CommandGrammar fileGrammar(const QList<FieldSpec>& json)
{
    return {1, 1, {bookOption()}, json};
}

std::optional<ParsedLine> parseLine(const QStringList& arguments, const Commands& commands, QString& error,
                                    Command*& command)
{
    ParsedLine line;
    command = nullptr;
    QList<OptionSpec> own;
    int minOperands = 0;
    int maxOperands = 0;
    const auto chosen = [&](const QString& name) {
        command = findCommand(commands, name);
        if (!command) {
            error = QStringLiteral("comando sconosciuto \"%1\"").arg(name);
            return false;
        }
        line.command = name;
        const CommandGrammar grammar = command->grammar();
        own = optionsOf(grammar);
        minOperands = grammar.minOperands;
        maxOperands = grammar.maxOperands;
        return true;
    };
    bool helpCommand = false;
    bool optionsEnded = false; // after "--" every word is an operand
    int operands = 0;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QStringLiteral("--") && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word == u'-' || !word.startsWith(u'-')) {
            if (command) {
                line.words << word;
                ++operands;
            } else if (word == u"help" && !helpCommand) {
                helpCommand = true;
                line.action = ParsedLine::Action::Help;
            } else if (!chosen(word)) {
                return std::nullopt;
            }
            continue;
        }
        const bool isShort = !word.startsWith(QStringLiteral("--"));
        const qsizetype equals = isShort ? -1 : word.indexOf(u'=');
        const QString name = word.mid(isShort ? 1 : 2, equals < 0 ? -1 : equals - 2);
        if (!isShort && name == u"dump-grammar" && equals < 0) {
            line.action = ParsedLine::Action::DumpGrammar;
            continue;
        }
        const OptionSpec* option = findOption(globalOptions(), name, isShort);
        const bool global = option != nullptr;
        if (!option && command)
            option = findOption(own, name, isShort);
        // --json may also come before the command; whether the command takes it is seen below.
        static const OptionSpec json = jsonOption();
        if (!option && !command && !isShort && name == json.name)
            option = &json;
        if (!option) {
            error = QStringLiteral("opzione sconosciuta \"%1\"").arg(equals < 0 ? word : word.left(equals));
            if (!command && !isShort && equals < 0)
                error += QStringLiteral(" (le opzioni di un comando vanno dopo il suo nome)");
            return std::nullopt;
        }
        QString value;
        if (option->valueName.isEmpty()) {
            if (equals >= 0) {
                error = QStringLiteral("l'opzione --%1 non vuole un valore").arg(name);
                return std::nullopt;
            }
        } else if (equals >= 0) {
            value = word.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            error = QStringLiteral("manca il valore di --%1 (%2)").arg(option->name, option->valueName);
            return std::nullopt;
        }
        if (option->name == u"help")
            line.action = ParsedLine::Action::Help;
        else if (option->name == u"version" && line.action == ParsedLine::Action::Run)
            line.action = ParsedLine::Action::Version;
        else if (option->name == u"home")
            line.home = value;
        else if (option->name == u"quiet")
            line.quiet = true;
        else if (option->name == u"json")
            line.json = true;
        else if (!global)
            line.words << QStringLiteral("--") + option->name
                       << (option->valueName.isEmpty() ? QStringList{} : QStringList{value});
    }
    if (line.action != ParsedLine::Action::Run)
        return line;
    if (!command) {
        error = QStringLiteral("manca il comando");
        return std::nullopt;
    }
    const bool takesJson =
        std::any_of(own.begin(), own.end(), [](const OptionSpec& option) { return option.name == u"json"; });
    if (line.json && !takesJson) {
        error = QStringLiteral("opzione sconosciuta \"--json\"");
        return std::nullopt;
    }
    if (operands < minOperands || operands > maxOperands) {
        error = operands < minOperands ? QStringLiteral("mancano argomenti di %1").arg(line.command)
                                       : QStringLiteral("troppi argomenti per %1").arg(line.command);
        return std::nullopt;
    }
    return line;
}

QString usageText(const Command* command)
{
    const QString global = QStringLiteral(" [--home CARTELLA] [-q]");
    if (!command)
        return QStringLiteral("Uso: parlix-cli COMANDO [ARGOMENTI] [OPZIONI]") + global +
               QStringLiteral("\n     parlix-cli help COMANDO | --help | --version\n");
    QString usage = QStringLiteral("Uso: parlix-cli ") + command->name();
    if (!command->synopsis().isEmpty())
        usage += u' ' + command->synopsis();
    if (!command->grammar().json.isEmpty())
        usage += QStringLiteral(" [--json]");
    return usage + global + u'\n';
}

QString helpText(const Commands& commands, const Command* command)
{
    QString out = usageText(command) + u'\n';
    if (command) {
        const CommandGrammar grammar = command->grammar();
        out += command->description() + u'\n';
        if (const QList<OptionSpec> options = optionsOf(grammar); !options.isEmpty()) {
            out += QStringLiteral("\nOpzioni del comando:\n");
            for (const OptionSpec& option : options)
                appendColumns(out, optionLabel(option), option.help);
        }
        if (!grammar.json.isEmpty()) {
            out += QStringLiteral("\nCon --json, un oggetto con i campi:\n");
            appendColumns(out, exitField, QStringLiteral("lo stato di uscita"));
            for (const FieldSpec& field : grammar.json)
                appendColumns(out, field.name, field.meaning);
        }
    } else {
        out += QStringLiteral("La cartella dati è quella di --home, altrimenti $PARLIX_HOME, altrimenti\n"
                              "$XDG_DATA_HOME/parlix (~/.local/share/parlix).\n\nComandi:\n");
        for (const auto& each : commands) {
            out += QStringLiteral("  ") + each->name();
            if (!each->synopsis().isEmpty())
                out += u' ' + each->synopsis();
            out += QStringLiteral("\n      ") + each->description() + u'\n';
        }
        out += QStringLiteral(
            "\n\"parlix-cli help COMANDO\" mostra le opzioni e i campi --json di un comando.\n");
    }
    out += QStringLiteral("\nOpzioni di ogni comando (anche dopo il suo nome; --opzione=VALORE vale come "
                          "--opzione VALORE):\n");
    for (const OptionSpec& option : globalOptions())
        appendColumns(out, optionLabel(option), option.help);
    out += QStringLiteral("\nStato di uscita:\n");
    for (const NoteSpec& status : exitStatuses())
        appendColumns(out, status.name, status.meaning);
    return out;
}

QString versionText()
{
    return program + QStringLiteral(" " PARLIX_VERSION "\n");
}

QByteArray grammarJson(const Commands& commands)
{
    QJsonArray commandArray;
    for (const auto& command : commands) {
        const CommandGrammar grammar = command->grammar();
        QString help = command->description().simplified();
        if (!grammar.json.isEmpty()) {
            QStringList fields{exitField + QStringLiteral(" (lo stato di uscita)")};
            for (const FieldSpec& field : grammar.json)
                fields << field.name + QStringLiteral(" (") + field.meaning + u')';
            help +=
                QStringLiteral(". Con --json, un oggetto con: ") + fields.join(QStringLiteral("; ")) + u'.';
        }
        commandArray.append(QJsonObject{
            {QStringLiteral("name"), command->name()},
            {QStringLiteral("operands"),
             QJsonArray::fromStringList(command->synopsis().simplified().split(u' ', Qt::SkipEmptyParts))},
            {QStringLiteral("help"), help},
            {QStringLiteral("options"), optionsJson(optionsOf(grammar))}});
    }
    QJsonArray statuses;
    for (const NoteSpec& status : exitStatuses())
        statuses.append(QJsonObject{{QStringLiteral("code"), status.name.toInt()},
                                    {QStringLiteral("meaning"), status.meaning}});
    const QJsonObject grammar{
        {QStringLiteral("format"), 1},
        {QStringLiteral("program"), program},
        {QStringLiteral("version"), QStringLiteral(PARLIX_VERSION)},
        {QStringLiteral("summary"),
         QJsonObject{
             {QStringLiteral("it"), QStringLiteral("rubriche, archivi e invii di Parlix dal terminale")},
             {QStringLiteral("en"),
              QStringLiteral("Parlix's address books, archives and sending from a terminal")}}},
        {QStringLiteral("description"),
         QJsonArray{
             QStringLiteral(
                 "parlix-cli lavora sulla stessa cartella dati di parlix senza aprire finestre: elenca "
                 "le rubriche, importa ed esporta contatti, gestisce gli utenti locali, invia o "
                 "programma SMS. I risultati vanno sullo standard output, i messaggi (in italiano) "
                 "sullo standard error; le password si leggono dallo standard input, mai dalla riga "
                 "di comando."),
             QStringLiteral(
                 "Le opzioni globali valgono ovunque sulla riga, quelle di un comando dopo il suo nome; "
                 "--opzione=VALORE vale come --opzione VALORE. Un comando o un'opzione sconosciuti "
                 "sono rifiutati (stato 1) prima di creare o cambiare qualsiasi cosa."),
             QStringLiteral(
                 "Con --json un comando scrive un solo oggetto JSON su una riga dello standard output "
                 "(dello standard error quando i dati stessi vanno sullo standard output), con il "
                 "campo exit (lo stato di uscita) e i campi elencati sotto il comando; quando il comando "
                 "non riesce prima di avere un risultato, l'oggetto può avere solo exit (il perché è "
                 "sullo standard error). "
                 "L'avanzamento va sullo standard error solo quando è un terminale; -q lo toglie."),
         }},
        {QStringLiteral("options"), optionsJson(globalOptions())},
        {QStringLiteral("commands"), commandArray},
        {QStringLiteral("exit_statuses"), statuses},
        {QStringLiteral("environment"), notesJson(environment(), QStringLiteral("name"))},
        {QStringLiteral("files"), notesJson(files(), QStringLiteral("path"))},
        {QStringLiteral("examples"), notesJson(examples(), QStringLiteral("command"))},
    };
    return QJsonDocument(grammar).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace parlix::cli
