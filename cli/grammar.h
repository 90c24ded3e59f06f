#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace parlix::cli {

// One option: "--name", "--name VALUE" or "--name=VALUE" (and "-s" when it has a short name).
struct OptionSpec
{
    QString name;      // without the dashes
    QString valueName; // "FILE"; empty for a switch
    QString help;      // Italian, one sentence
    QString complete;  // what a shell offers for the value: "file", "directory" or nothing
    QChar shortName;   // e.g. 'q'; none when null
};

// A field of the JSON object a command prints with --json, and what it holds.
struct FieldSpec
{
    QString name;
    QString meaning; // Italian
};

// What a command accepts besides its name: how many operands, which options of its own, and the fields
// of its JSON report (empty: the command takes no --json).
struct CommandGrammar
{
    int minOperands = 0;
    int maxOperands = 0;
    QList<OptionSpec> options;
    QList<FieldSpec> json;
};

// An environment variable, a file, an exit status or an example, with what it means.
struct NoteSpec
{
    QString name;
    QString meaning;
};

// A command line read against the grammar of parlix-cli and of the command it names.
struct ParsedLine
{
    enum class Action { Run, Help, Version, DumpGrammar };

    Action action = Action::Run;
    QString command;   // empty: none named (the program's own help)
    QStringList words; // the command's own words, "--name=V" written as "--name" "V", global options out
    QString home;      // --home, when given
    bool json = false;
    bool quiet = false;
};

// The options every command takes: --home, -q/--quiet, -h/--help, --version.
const QList<OptionSpec>& globalOptions();
// The option --json, for the commands that report.
OptionSpec jsonOption();
// "--book NOME", the book a command works on ("Principale" unless given, when `principale`).
OptionSpec bookOption(bool principale = true);
// The grammar of "FILE [--book NOME]", the import and export commands, with their JSON fields.
CommandGrammar fileGrammar(const QList<FieldSpec>& json);

} // namespace parlix::cli
