#!/usr/bin/env python3
"""Manual pages and shell completions of a command-line program, made from its grammar.

    gen_docs.py GRAMMAR.json OUTDIR

writes into OUTDIR, for the program NAME the grammar names:
    it/NAME.1     the Italian manual page (installed as share/man/it/man1/NAME.1)
    en/NAME.1     a short English page pointing at the Italian one (share/man/man1/NAME.1)
    NAME.bash     bash completion (share/bash-completion/completions/NAME)
    _NAME         zsh completion (share/zsh/vendor-completions/_NAME)

A program prints its grammar with a hidden option (qwirl and qwirl-sandbox: --dump-grammar), so the pages
and completions cannot drift from what the program accepts. The grammar is one JSON object:

    {
      "format": 1,
      "program": "qwirl",                      # the command's name
      "version": "1.1",
      "summary": {"it": "...", "en": "..."},   # one line each
      "description": ["...", ...],             # Italian paragraphs (may be empty)
      "options": [                             # options every command takes, before or after it
        {"names": ["--login"],                 # long names first; short ones ("-h") after
         "value": "LOGIN",                     # the value's name, or null for a switch
         "help": "...",                        # Italian, one sentence
         "repeatable": false,
         "complete": "file"}                   # what the shell offers for the value: "file" file names,
                                               # "directory" folder names, "" nothing
      ],
      "commands": [                            # empty for a program that takes options only
        {"name": "send", "operands": ["NUMERO", "TESTO"], "help": "...",
         "options": []}                        # options of this command alone, as above
      ],
      "exit_statuses": [{"code": 0, "meaning": "..."}],
      "environment": [{"name": "QWIRL_LOGIN", "meaning": "..."}],
      "files": [{"path": "/etc/parlix/gateway.conf", "meaning": "..."}],
      "examples": [{"command": "qwirl credits", "meaning": "..."}]
    }

Operands whose name holds "FILE" or "FILES" are completed with file names. Python 3 standard library only.
"""

import json
import pathlib
import sys


def roff(text):
    """Text safe inside a roff line: backslashes and dashes escaped, no control character at the start."""
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + text if text.startswith((".", "'")) else text


def option_label(option, value_font="I"):
    names = ", ".join("\\fB" + roff(n) + "\\fR" for n in option["names"])
    if option.get("value"):
        names += " \\f" + value_font + roff(option["value"]) + "\\fR"
    return names


def synopsis(grammar):
    program = grammar["program"]
    lines = []
    for command in grammar["commands"] or [None]:
        line = ".B " + roff(program) + "\n.RI [ opzioni ]"
        if command:
            line += "\n.B " + roff(command["name"])
            if command["operands"]:
                line += "\n.I " + roff(" ".join(command["operands"]))
        lines.append(line)
    return "\n.br\n".join(lines)


def tagged(items, label, text):
    return "".join(".TP\n" + label(item) + "\n" + roff(text(item)) + "\n" for item in items)


def italian_page(grammar):
    name = grammar["program"]
    out = [
        '.TH %s 1 "" "Parlix %s" "Comandi utente"' % (roff(name.upper()), roff(grammar["version"])),
        ".SH NOME",
        "%s \\- %s" % (roff(name), roff(grammar["summary"]["it"])),
        ".SH SINTESI",
        synopsis(grammar),
    ]
    if grammar["description"]:
        out.append(".SH DESCRIZIONE")
        out.append("\n.PP\n".join(roff(p) for p in grammar["description"]))
    if grammar["commands"]:
        out.append(".SH COMANDI")
        for command in grammar["commands"]:
            label = "\\fB" + roff(command["name"]) + "\\fR"
            if command["operands"]:
                label += " \\fI" + roff(" ".join(command["operands"])) + "\\fR"
            out.append(".TP\n" + label + "\n" + roff(command["help"]))
            if command.get("options"):
                out.append(".RS\n" + tagged(command["options"], option_label, lambda o: o["help"]) + ".RE")
    out.append(".SH OPZIONI")
    out.append(tagged(grammar["options"], option_label,
                      lambda o: o["help"] + (" Si può ripetere." if o.get("repeatable") else "")).rstrip("\n"))
    out.append('.SH "STATO DI USCITA"')
    out.append(tagged(grammar["exit_statuses"], lambda s: ".B %d" % s["code"], lambda s: s["meaning"]).rstrip("\n"))
    if grammar["environment"]:
        out.append(".SH AMBIENTE")
        out.append(tagged(grammar["environment"], lambda e: ".B " + roff(e["name"]),
                          lambda e: e["meaning"]).rstrip("\n"))
    if grammar["files"]:
        out.append(".SH FILE")
        out.append(tagged(grammar["files"], lambda f: ".I " + roff(f["path"]), lambda f: f["meaning"]).rstrip("\n"))
    if grammar["examples"]:
        out.append(".SH ESEMPI")
        for example in grammar["examples"]:
            out.append(roff(example["meaning"]) + ":\n.PP\n.RS\n.nf\n" + roff(example["command"]) + "\n.fi\n.RE\n.PP")
    out.append('.SH "VEDERE ANCHE"\n.BR parlix (1),\n.BR parlix\\-cli (1),\n.BR qwirl (1),\n.BR qwirl\\-sandbox (1)')
    return "\n".join(out) + "\n"


def english_page(grammar):
    name = grammar["program"]
    options = ", ".join("\\fB" + roff(o["names"][0]) + "\\fR" for o in grammar["options"])
    commands = ", ".join("\\fB" + roff(c["name"]) + "\\fR" for c in grammar["commands"])
    codes = ", ".join(str(s["code"]) for s in grammar["exit_statuses"])
    out = [
        '.TH %s 1 "" "Parlix %s" "User Commands"' % (roff(name.upper()), roff(grammar["version"])),
        ".SH NAME",
        "%s \\- %s" % (roff(name), roff(grammar["summary"]["en"])),
        ".SH SYNOPSIS",
        synopsis(grammar).replace(".RI [ opzioni ]", ".RI [ options ]"),
        ".SH DESCRIPTION",
        "The program speaks Italian, and so does its full manual: "
        "\\fBman \\-L it %s\\fR, or \\fB%s \\-\\-help\\fR." % (roff(name), roff(name)),
    ]
    if commands:
        out.append(".PP\nCommands: %s." % commands)
    out.append(".PP\nOptions: %s." % options)
    out.append(".PP\nExit statuses: %s (0 is success; the Italian page says what each means)." % codes)
    return "\n".join(out) + "\n"


def shell_words(words):
    return " ".join(words)


def bash_completion(grammar):
    name = grammar["program"]
    function = "_" + name.replace("-", "_")

    def lists(options):
        names = [n for o in options for n in o["names"]]
        valued = [n for o in options if o.get("value") for n in o["names"]]
        files = [n for o in options if o.get("complete") == "file" for n in o["names"]]
        folders = [n for o in options if o.get("complete") == "directory" for n in o["names"]]
        return names, valued, files, folders

    names, valued, files, folders = lists(grammar["options"])
    cases = []
    for command in grammar["commands"]:
        own_names, own_valued, own_files, own_folders = lists(command.get("options", []))
        valued += own_valued
        files += own_files
        folders += own_folders
        if own_names:
            cases.append('    %s) options="$options %s" ;;' % (command["name"], shell_words(own_names)))
    commands = shell_words(c["name"] for c in grammar["commands"])
    file_commands = [c["name"] for c in grammar["commands"] if any("FILE" in o for o in c["operands"])]
    return f"""# bash completion for {name}, made from its grammar by gen_docs.py
{function}()
{{
    local cur=${{COMP_WORDS[COMP_CWORD]}} prev=${{COMP_WORDS[COMP_CWORD-1]}}
    local commands="{commands}" options="{shell_words(names)}"
    local valued=" {shell_words(valued)} " files=" {shell_words(files)} " folders=" {shell_words(folders)} "
    local file_commands=" {shell_words(file_commands)} "
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case " $commands " in *" ${{COMP_WORDS[i]}} "*) command=${{COMP_WORDS[i]}}; break ;; esac
    done
    if [[ -n $prev && $files == *" $prev "* ]]; then
        COMPREPLY=($(compgen -f -- "$cur"))
        return
    fi
    if [[ -n $prev && $folders == *" $prev "* ]]; then
        COMPREPLY=($(compgen -d -- "$cur"))
        return
    fi
    [[ -n $prev && $valued == *" $prev "* ]] && return
    case $command in
{"".join(c + chr(10) for c in cases)}    *) ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    elif [[ -z $command && -n $commands ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    elif [[ -n $command && $file_commands == *" $command "* ]]; then
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}}
complete -F {function} {name}
"""


def zsh_quote(text):
    return text.replace("\\", "\\\\").replace("'", "'\\''").replace("[", "\\[").replace("]", "\\]").replace(
        ":", "\\:")


def zsh_arguments(options):
    arguments = []
    for option in options:
        for name in option["names"]:
            argument = ("*" if option.get("repeatable") else "") + name
            if option.get("value"):
                argument += "=" if name.startswith("--") else ""
                action = {"file": "_files", "directory": "_files -/"}.get(option.get("complete"), " ")
                argument += "[%s]:%s:%s" % (zsh_quote(option["help"]), zsh_quote(option["value"]), action)
            else:
                argument += "[%s]" % zsh_quote(option["help"])
            arguments.append("    '%s'" % argument)
    return arguments


def zsh_completion(grammar):
    name = grammar["program"]
    function = "_" + name.replace("-", "_")
    options = zsh_arguments(grammar["options"])
    head = "#compdef %s\n# zsh completion for %s, made from its grammar by gen_docs.py\n" % (name, name)
    if not grammar["commands"]:
        return head + "_arguments -s \\\n" + " \\\n".join(options) + "\n"
    commands = "\n".join("    '%s:%s'" % (zsh_quote(c["name"]), zsh_quote(c["help"])) for c in grammar["commands"])
    cases = []
    for command in grammar["commands"]:
        own = zsh_arguments(command.get("options", []))
        operand = "_files" if any("FILE" in o for o in command["operands"]) else " "
        cases.append("        %s) _arguments -s $options %s '*:argomento:%s' ;;"
                     % (command["name"], " ".join(s.strip() for s in own), operand))
    return head + f"""{function}() {{
    local context state state_descr line
    typeset -A opt_args
    local -a options commands
    options=(
{chr(10).join(options)}
    )
    commands=(
{commands}
    )
    _arguments -C -s $options '1:comando:->command' '*::argomento:->argument' && return 0
    case $state in
    command) _describe -t commands comando commands ;;
    argument)
        case $line[1] in
{chr(10).join(cases)}
        esac ;;
    esac
}}
{function} "$@"
"""


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_docs.py GRAMMAR.json OUTDIR")
    grammar = json.loads(pathlib.Path(sys.argv[1]).read_text(encoding="utf-8"))
    if grammar.get("format") != 1:
        sys.exit("gen_docs.py: unknown grammar format %r" % grammar.get("format"))
    out = pathlib.Path(sys.argv[2])
    name = grammar["program"]
    for folder in ("it", "en"):
        (out / folder).mkdir(parents=True, exist_ok=True)
    (out / "it" / (name + ".1")).write_text(italian_page(grammar), encoding="utf-8")
    (out / "en" / (name + ".1")).write_text(english_page(grammar), encoding="utf-8")
    (out / (name + ".bash")).write_text(bash_completion(grammar), encoding="utf-8")
    (out / ("_" + name)).write_text(zsh_completion(grammar), encoding="utf-8")


if __name__ == "__main__":
    main()
