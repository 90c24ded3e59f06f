#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qwirl::cli {

// One option of a command line: "--name", "--name VALUE" or "--name=VALUE".
struct OptionSpec
{
    std::string_view name;      // without the dashes
    std::string_view valueName; // "FILE"; empty for a switch
    std::string_view help;      // Italian, one sentence
    bool repeatable = false;    // every occurrence is kept; otherwise the last one counts
    std::string_view complete;  // what a shell offers for the value: "file" or nothing
};

// A command and the operands it takes, all of them required.
struct CommandSpec
{
    std::string_view name;
    std::vector<std::string_view> operands;
    std::string_view help;
};

struct ExitStatusSpec
{
    int code;
    std::string_view meaning;
};

// An environment variable, a file or an example with what it means.
struct NoteSpec
{
    std::string_view name;
    std::string_view meaning;
};

// The whole command-line grammar of a program, declared once: parsing, --help, --version, the usage
// text, and the machine-readable dump that the manual pages and shell completions are made from.
// Every program also takes -h/--help, --version and the hidden --dump-grammar.
struct Grammar
{
    std::string_view program;
    std::string_view summary;                  // Italian, one line
    std::string_view summaryEn;                // the same in English, for the short English manual page
    std::vector<std::string_view> description; // Italian paragraphs
    std::vector<OptionSpec> options;
    std::vector<CommandSpec> commands; // empty: the program takes options only
    std::vector<ExitStatusSpec> exitStatuses;
    std::vector<NoteSpec> environment;
    std::vector<NoteSpec> files;
    std::vector<NoteSpec> examples; // a command line and what it does
};

// A command line read against its grammar.
struct ParsedLine
{
    enum class Action { Run, Help, Version, DumpGrammar };

    Action action = Action::Run;
    std::string command;
    std::vector<std::string> operands;
    std::map<std::string, std::vector<std::string>, std::less<>> values; // by option name; "" for a switch

    bool has(std::string_view option) const { return values.find(option) != values.end(); }
    // The last value given, if any.
    std::optional<std::string> value(std::string_view option) const;
    std::vector<std::string> all(std::string_view option) const;
};

// Options may come anywhere; "--" ends them, so an operand may begin with "-"; "-" alone is an operand.
// On bad usage returns nothing and says why in `error` (Italian).
std::optional<ParsedLine> parseCommandLine(const Grammar& grammar, const std::vector<std::string>& args,
                                           std::string& error);

// "Uso: PROGRAM [opzioni] COMMAND OPERANDS" lines, one per command.
std::string usageText(const Grammar& grammar);
// The usage, then the commands, options, environment and exit statuses with their help.
std::string helpText(const Grammar& grammar);
// "PROGRAM VERSION".
std::string versionText(const Grammar& grammar);
// The grammar as one JSON object, in the format packaging/gen_docs.py reads.
std::string grammarJson(const Grammar& grammar);

} // namespace qwirl::cli
