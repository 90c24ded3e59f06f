#include "sandbox_options.h"

#include <cstdlib>

#include <charconv>
#include <limits>

namespace qwirl::sandbox {
namespace {

template <typename Number>
bool parseNumber(const std::string& text, Number& value, Number minimum, Number maximum)
{
    Number parsed{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
    if (ec != std::errc{} || ptr != end || parsed < minimum || parsed > maximum) {
        return false;
    }
    value = parsed;
    return true;
}

// "\n", "\r", "\t" and "\\" in a fixed answer given on the command line.
std::string unescaped(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += text[i];
        }
    }
    return out;
}

} // namespace

const cli::Grammar& SandboxOptions::grammar()
{
    static const cli::Grammar grammar{
        "qwirl-sandbox",
        "gateway SMS locale su 127.0.0.1 per la demo, le prove e i benchmark",
        "local stand-in for the SMS gateway on 127.0.0.1, for the demo, tests and benchmarks",
        {"qwirl-sandbox risponde come il gateway SMS a /sms-gw/sendsmart e /sms-gw/smartnotify, solo su "
         "127.0.0.1, e scrive come prima riga \"listening on 127.0.0.1:PORTA\". Controlla i campi e il "
         "ticket "
         "MD5 come li compone la libreria, tiene il credito (account predefinito demo/demo, credito 100) e "
         "lo "
         "abbassa di uno per ogni SMS accettato. Si ferma in modo pulito con SIGINT e SIGTERM.",
         "Le opzioni --answer, --status, --delay, --refuse, --proxy-auth e --huge-answer simulano i guasti "
         "del "
         "gateway per le prove."},
        {
            {"port", "N", "la porta su 127.0.0.1 (obbligatoria; 0 ne sceglie una libera)", false, ""},
            {"login", "LOGIN", "il login dell'account (predefinito demo)", false, ""},
            {"password", "PASSWORD", "la password dell'account (predefinita demo o QWIRL_PASSWORD)", false,
             ""},
            {"credit", "C", "il credito iniziale (predefinito 100)", false, ""},
            {"log", "FILE", "una riga JSON per ogni SMS accettato", false, "file"},
            {"trace", "FILE", "una riga JSON per ogni richiesta ricevuta", false, "file"},
            {"answer", "TESTO", "risponde TESTO a ogni richiesta (\\n, \\r, \\t, \\\\ sono sequenze)", false,
             ""},
            {"status", "CODICE", "lo stato HTTP di ogni risposta", false, ""},
            {"delay", "MS", "attende MS millisecondi prima di rispondere", false, ""},
            {"refuse", "NUMERO", "rifiuta sempre questo destinatario con KO 3 (ripetibile)", true, ""},
            {"proxy-auth", "UTENTE[:PASSWORD]",
             "risponde 407 finché una richiesta non porta queste credenziali di proxy", false, ""},
            {"huge-answer", "BYTE", "risponde OK seguito da righe di riempimento, BYTE in tutto", false, ""},
            {"tls-cert", "FILE", "serve https con questo certificato (PEM), insieme a --tls-key", false,
             "file"},
            {"tls-key", "FILE", "la chiave privata (PEM) del certificato di --tls-cert", false, "file"},
        },
        {},
        {
            {0, "fermato con SIGINT o SIGTERM"},
            {1, "riga di comando errata"},
            {2, "non si avvia: log o trace non apribili, porta occupata, certificato o chiave non leggibili"},
        },
        {
            {"QWIRL_PASSWORD", "la password dell'account, se manca --password"},
            {"QWIRL_PROXY_PASSWORD", "la password di --proxy-auth UTENTE"},
        },
        {},
        {
            {"qwirl-sandbox --port 8080 --credit 5", "un gateway con l'account demo/demo e 5 SMS di credito"},
            {"qwirl-sandbox --port 0 --status 500 --answer \"KO 9\"",
             "un gateway guasto su una porta libera"},
        },
    };
    return grammar;
}

std::optional<SandboxOptions> SandboxOptions::parse(const std::vector<std::string>& args, std::string& error)
{
    const auto parsed = cli::parseCommandLine(grammar(), args, error);
    if (!parsed) {
        return std::nullopt;
    }
    SandboxOptions options;
    switch (parsed->action) {
    case cli::ParsedLine::Action::Help:
        options.action = Action::Help;
        return options;
    case cli::ParsedLine::Action::Version:
        options.action = Action::Version;
        return options;
    case cli::ParsedLine::Action::DumpGrammar:
        options.action = Action::DumpGrammar;
        return options;
    case cli::ParsedLine::Action::Run:
        break;
    }
    for (const auto& [name, values] : parsed->values) {
        const std::string& value = values.back();
        bool ok = true;
        if (name == "port") {
            ok = parseNumber(value, options.port, 0, 65535);
        } else if (name == "login") {
            options.login = value;
        } else if (name == "password") {
            options.password = value;
        } else if (name == "credit") {
            ok = parseNumber(value, options.credit, 0L, long{std::numeric_limits<int>::max()});
        } else if (name == "log") {
            options.logPath = value;
        } else if (name == "trace") {
            options.tracePath = value;
        } else if (name == "tls-cert") {
            options.tlsCertPath = value;
        } else if (name == "tls-key") {
            options.tlsKeyPath = value;
        } else if (name == "answer") {
            options.fixedAnswer = unescaped(value);
        } else if (name == "status") {
            ok = parseNumber(value, options.status, 100, 599);
        } else if (name == "delay") {
            long ms = 0;
            ok = parseNumber(value, ms, 0L, 3'600'000L);
            options.delay = std::chrono::milliseconds(ms);
        } else if (name == "refuse") {
            options.refused = values;
        } else if (name == "proxy-auth") {
            ok = !value.empty() && value.front() != ':';
            options.proxyAuth = value;
        } else if (name == "huge-answer") {
            ok = parseNumber(value, options.hugeAnswerBytes, std::size_t{3}, std::size_t{1} << 34);
        }
        if (!ok) {
            error = "valore non valido per --" + name + ": " + value;
            return std::nullopt;
        }
    }
    // Secrets need not show in the process list: like qwirl, the sandbox takes them from the environment.
    if (!parsed->has("password")) {
        if (const char* password = std::getenv("QWIRL_PASSWORD"); password != nullptr && *password != '\0') {
            options.password = password;
        }
    }
    if (options.proxyAuth && options.proxyAuth->find(':') == std::string::npos) {
        const char* password = std::getenv("QWIRL_PROXY_PASSWORD");
        if (password == nullptr || *password == '\0') {
            error = "--proxy-auth UTENTE vuole QWIRL_PROXY_PASSWORD";
            return std::nullopt;
        }
        *options.proxyAuth += ':' + std::string(password);
    }
    if (options.tlsCertPath.empty() != options.tlsKeyPath.empty()) {
        error = "--tls-cert e --tls-key vanno insieme";
        return std::nullopt;
    }
    if (options.port < 0) {
        error = "manca --port";
        return std::nullopt;
    }
    if (options.login.empty() || options.password.empty()) {
        error = "--login e --password non possono essere vuoti";
        return std::nullopt;
    }
    return options;
}

} // namespace qwirl::sandbox
