#include "grammar.h"

#include <algorithm>
#include <cstdio>

#ifndef QWIRL_VERSION
#error "QWIRL_VERSION must be defined by the build"
#endif

namespace qwirl::cli {
namespace {

// The options every program takes besides its own.
const std::vector<OptionSpec>& standardOptions()
{
    static const std::vector<OptionSpec> options = {
        {"help", "", "mostra questo aiuto ed esce (anche -h)", false, ""},
        {"version", "", "mostra la versione ed esce", false, ""},
    };
    return options;
}

constexpr std::string_view DumpGrammar = "dump-grammar";

const OptionSpec* findOption(const Grammar& grammar, std::string_view name)
{
    for (const auto* list : {&grammar.options, &standardOptions()}) {
        const auto it =
            std::find_if(list->begin(), list->end(), [&](const auto& o) { return o.name == name; });
        if (it != list->end()) {
            return &*it;
        }
    }
    return nullptr;
}

const CommandSpec* findCommand(const Grammar& grammar, std::string_view name)
{
    const auto it = std::find_if(grammar.commands.begin(), grammar.commands.end(),
                                 [&](const auto& c) { return c.name == name; });
    return it == grammar.commands.end() ? nullptr : &*it;
}

std::string joined(const std::vector<std::string_view>& words)
{
    std::string out;
    for (const auto word : words) {
        out += ' ';
        out += word;
    }
    return out;
}

std::string optionLabel(const OptionSpec& option)
{
    std::string label = "--" + std::string(option.name);
    if (!option.valueName.empty()) {
        label += ' ';
        label += option.valueName;
    }
    return label;
}

void appendColumns(std::string& out, const std::string& left, std::string_view right)
{
    constexpr std::size_t Column = 28;
    out += "  " + left;
    out += left.size() + 2 < Column ? std::string(Column - left.size() - 2, ' ')
                                    : "\n" + std::string(Column, ' ');
    out += right;
    out += '\n';
}

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + '"';
}

template <typename T, typename Write> std::string jsonArray(const std::vector<T>& items, Write write)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "" : ",";
        out += write(items[i]);
    }
    return out + "]";
}

std::string jsonNotes(const std::vector<NoteSpec>& notes, const char* key)
{
    return jsonArray(notes, [key](const NoteSpec& n) {
        return "{\"" + std::string(key) + "\":" + jsonString(n.name) +
               ",\"meaning\":" + jsonString(n.meaning) + "}";
    });
}

} // namespace

std::optional<std::string> ParsedLine::value(std::string_view option) const
{
    const auto it = values.find(option);
    if (it == values.end() || it->second.empty()) {
        return std::nullopt;
    }
    return it->second.back();
}

std::vector<std::string> ParsedLine::all(std::string_view option) const
{
    const auto it = values.find(option);
    return it == values.end() ? std::vector<std::string>{} : it->second;
}

std::optional<ParsedLine> parseCommandLine(const Grammar& grammar, const std::vector<std::string>& args,
                                           std::string& error)
{
    ParsedLine line;
    bool optionsEnded = false;
    const CommandSpec* command = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (!grammar.commands.empty() && command == nullptr) {
                command = findCommand(grammar, arg);
                if (command == nullptr) {
                    error = "comando sconosciuto: " + arg;
                    return std::nullopt;
                }
                line.command = arg;
            } else {
                line.operands.push_back(arg);
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h") {
            line.action = ParsedLine::Action::Help;
            continue;
        }
        if (!arg.starts_with("--")) {
            error = "opzione sconosciuta: " + arg;
            return std::nullopt;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        if (name == DumpGrammar && equals == std::string::npos) {
            line.action = ParsedLine::Action::DumpGrammar;
            continue;
        }
        const OptionSpec* option = findOption(grammar, name);
        if (option == nullptr) {
            error = "opzione sconosciuta: --" + name;
            return std::nullopt;
        }
        std::string value;
        if (option->valueName.empty()) {
            if (equals != std::string::npos) {
                error = "l'opzione --" + name + " non vuole un valore";
                return std::nullopt;
            }
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = "manca il valore di --" + name + " (" + std::string(option->valueName) + ")";
            return std::nullopt;
        }
        if (name == "help") {
            line.action = ParsedLine::Action::Help;
        } else if (name == "version") {
            line.action = ParsedLine::Action::Version;
        }
        auto& values = line.values[name];
        if (!option->repeatable) {
            values.clear();
        }
        values.push_back(std::move(value));
    }
    if (line.action != ParsedLine::Action::Run) {
        return line;
    }
    if (!grammar.commands.empty() && command == nullptr) {
        error = "manca il comando";
        return std::nullopt;
    }
    const std::size_t expected = command != nullptr ? command->operands.size() : 0;
    if (line.operands.size() != expected) {
        if (command == nullptr) {
            error = "argomento inatteso: " + line.operands.front();
        } else if (expected == 0) {
            error = std::string(command->name) + " non vuole argomenti";
        } else {
            error = std::string(command->name) + " vuole" + joined(command->operands);
        }
        return std::nullopt;
    }
    return line;
}

std::string usageText(const Grammar& grammar)
{
    const std::string head = std::string(grammar.program) + " [opzioni]";
    if (grammar.commands.empty()) {
        return "Uso: " + head + "\n";
    }
    std::string out;
    for (const CommandSpec& command : grammar.commands) {
        out += (out.empty() ? "Uso: " : "     ") + head + " " + std::string(command.name) +
               joined(command.operands) + "\n";
    }
    return out;
}

std::string helpText(const Grammar& grammar)
{
    std::string out = usageText(grammar) + "\n" + std::string(grammar.summary) + "\n";
    if (!grammar.commands.empty()) {
        out += "\nComandi:\n";
        for (const CommandSpec& command : grammar.commands) {
            appendColumns(out, std::string(command.name) + joined(command.operands), command.help);
        }
    }
    out += grammar.commands.empty()
               ? "\nOpzioni (--opzione=VALORE vale come --opzione VALORE):\n"
               : "\nOpzioni (anche dopo il comando; --opzione=VALORE vale come --opzione "
                 "VALORE; dopo -- solo argomenti):\n";
    for (const auto* list : {&grammar.options, &standardOptions()}) {
        for (const OptionSpec& option : *list) {
            appendColumns(out, optionLabel(option), option.help);
        }
    }
    if (!grammar.environment.empty()) {
        out += "\nVariabili d'ambiente:\n";
        for (const NoteSpec& note : grammar.environment) {
            appendColumns(out, std::string(note.name), note.meaning);
        }
    }
    out += "\nStato di uscita:\n";
    for (const ExitStatusSpec& status : grammar.exitStatuses) {
        appendColumns(out, std::to_string(status.code), status.meaning);
    }
    return out;
}

std::string versionText(const Grammar& grammar)
{
    return std::string(grammar.program) + " " + QWIRL_VERSION + "\n";
}

std::string grammarJson(const Grammar& grammar)
{
    std::vector<OptionSpec> options = grammar.options;
    options.insert(options.end(), standardOptions().begin(), standardOptions().end());
    std::string out = "{\"format\":1";
    out += ",\"program\":" + jsonString(grammar.program);
    out += ",\"version\":" + jsonString(QWIRL_VERSION);
    out += ",\"summary\":{\"it\":" + jsonString(grammar.summary) +
           ",\"en\":" + jsonString(grammar.summaryEn) + "}";
    out += ",\"description\":" + jsonArray(grammar.description, jsonString);
    out += ",\"options\":" + jsonArray(options, [](const OptionSpec& o) {
               std::string names = "[\"--" + std::string(o.name) + "\"";
               if (o.name == "help") {
                   names += ",\"-h\"";
               }
               return "{\"names\":" + names +
                      "],\"value\":" + (o.valueName.empty() ? std::string("null") : jsonString(o.valueName)) +
                      ",\"help\":" + jsonString(o.help) +
                      ",\"repeatable\":" + (o.repeatable ? "true" : "false") +
                      ",\"complete\":" + jsonString(o.complete) + "}";
           });
    out += ",\"commands\":" + jsonArray(grammar.commands, [](const CommandSpec& c) {
               return "{\"name\":" + jsonString(c.name) +
                      ",\"operands\":" + jsonArray(c.operands, jsonString) +
                      ",\"help\":" + jsonString(c.help) + ",\"options\":[]}";
           });
    out += ",\"exit_statuses\":" + jsonArray(grammar.exitStatuses, [](const ExitStatusSpec& s) {
               return "{\"code\":" + std::to_string(s.code) + ",\"meaning\":" + jsonString(s.meaning) + "}";
           });
    out += ",\"environment\":" + jsonNotes(grammar.environment, "name");
    out += ",\"files\":" + jsonNotes(grammar.files, "path");
    out += ",\"examples\":" + jsonNotes(grammar.examples, "command");
    return out + "}\n";
}

} // namespace qwirl::cli
