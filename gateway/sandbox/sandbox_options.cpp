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

const char* SandboxOptions::usage()
{
    return "usage: qwirl-sandbox --port N [--login L --password P] [--credit C] [--log FILE]\n"
           "                     [--trace FILE] [--answer TEXT] [--status CODE] [--delay MS]\n"
           "                     [--refuse NUMBER]... [--cut-after NUMBER]... [--proxy-auth USER[:PASSWORD]] "
           "[--huge-answer BYTES]\n"
           "The password may come from QWIRL_PASSWORD, the proxy password from QWIRL_PROXY_PASSWORD.\n";
}

std::optional<SandboxOptions> SandboxOptions::parse(const std::vector<std::string>& args, std::string& error)
{
    SandboxOptions options;
    bool passwordGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            error = name.starts_with("--") ? "missing value for " + name : "unexpected argument " + name;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (name == "--port") {
            ok = parseNumber(value, options.port, 0, 65535);
        } else if (name == "--login") {
            options.login = value;
        } else if (name == "--password") {
            options.password = value;
            passwordGiven = true;
        } else if (name == "--credit") {
            ok = parseNumber(value, options.credit, 0L, long{std::numeric_limits<int>::max()});
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--trace") {
            options.tracePath = value;
        } else if (name == "--answer") {
            options.fixedAnswer = unescaped(value);
        } else if (name == "--status") {
            ok = parseNumber(value, options.status, 100, 599);
        } else if (name == "--delay") {
            long ms = 0;
            ok = parseNumber(value, ms, 0L, 3'600'000L);
            options.delay = std::chrono::milliseconds(ms);
        } else if (name == "--refuse") {
            options.refused.push_back(value);
        } else if (name == "--cut-after") {
            options.cutAfter.push_back(value);
        } else if (name == "--proxy-auth") {
            ok = !value.empty() && value.front() != ':';
            options.proxyAuth = value;
        } else if (name == "--huge-answer") {
            ok = parseNumber(value, options.hugeAnswerBytes, std::size_t{3}, std::size_t{1} << 34);
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    // Secrets need not show in the process list: like qwirl, the sandbox takes them from the environment.
    if (!passwordGiven) {
        if (const char* password = std::getenv("QWIRL_PASSWORD"); password != nullptr && *password != '\0') {
            options.password = password;
        }
    }
    if (options.proxyAuth && options.proxyAuth->find(':') == std::string::npos) {
        const char* password = std::getenv("QWIRL_PROXY_PASSWORD");
        if (password == nullptr || *password == '\0') {
            error = "--proxy-auth USER needs QWIRL_PROXY_PASSWORD";
            return std::nullopt;
        }
        *options.proxyAuth += ':' + std::string(password);
    }
    if (options.port < 0) {
        error = "--port is required";
        return std::nullopt;
    }
    if (options.login.empty() || options.password.empty()) {
        error = "--login and --password must not be empty";
        return std::nullopt;
    }
    return options;
}

} // namespace qwirl::sandbox
