#include "host_layers.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace qwirl {
namespace {

constexpr const char* HostForm = "\"host\", \"host:porta\" o \"https://host[:porta]\"";

// The variable's value when it is set and not empty.
std::optional<std::string> variable(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

class Resolver
{
public:
    HostLayers layers{Hosts::compiledDefaults(), std::nullopt};

    // One setting from a layer; `where` names it in a message ("QWIRL_SEND_HOST", "FILE, riga 3: send-host").
    void set(std::string_view key, const std::string& value, const std::string& where)
    {
        if (key == "ca-file") {
            if (!value.starts_with('/')) {
                fail(where + " \"" + value + "\" non è un percorso assoluto");
                layers.hosts.send.clear();
                layers.hosts.notify.clear();
                return;
            }
            layers.hosts.caFile = value;
            return;
        }
        std::string& host = key == "send-host" ? layers.hosts.send : layers.hosts.notify;
        if (Hosts::isWellFormed(value)) {
            host = value;
        } else {
            fail(where + " \"" + value + "\" non è " + HostForm);
            host.clear();
        }
    }

    void readFile(const std::filesystem::path& path)
    {
        std::error_code error;
        if (!std::filesystem::exists(path, error) && !error) {
            return;
        }
        std::ifstream in(path);
        if (!in || std::filesystem::is_directory(path, error)) {
            fail(path.string() + " non si può leggere");
            layers.hosts.send.clear();
            layers.hosts.notify.clear();
            return;
        }
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const std::string where = path.string() + ", riga " + std::to_string(number) + ": ";
            const std::string_view text = trimmed(line);
            if (text.empty() || text.starts_with('#')) {
                continue;
            }
            const std::size_t equals = text.find('=');
            const std::string_view key =
                equals == std::string_view::npos ? text : trimmed(text.substr(0, equals));
            if (equals == std::string_view::npos ||
                (key != "send-host" && key != "notify-host" && key != "ca-file")) {
                fail(where + (equals == std::string_view::npos
                                  ? "manca \"=\": le righe sono chiave = valore"
                                  : "chiave sconosciuta \"" + std::string(key) +
                                        "\" (valgono send-host, notify-host e ca-file)"));
                layers.hosts.send.clear();
                layers.hosts.notify.clear();
                return;
            }
            set(key, std::string(trimmed(text.substr(equals + 1))), where + std::string(key));
        }
    }

private:
    void fail(std::string problem)
    {
        if (!layers.problem) {
            layers.problem = std::move(problem);
        }
    }
};

} // namespace

HostLayers HostLayers::resolve()
{
    Resolver resolver;
    resolver.readFile(std::filesystem::path(variable("PARLIX_GATEWAY_CONF_DIR").value_or("/etc/parlix")) /
                      "gateway.conf");
    const auto configHome = variable("XDG_CONFIG_HOME");
    const auto home = variable("HOME");
    if (configHome || home) {
        resolver.readFile(
            (configHome ? std::filesystem::path(*configHome) : std::filesystem::path(*home) / ".config") /
            "parlix" / "gateway.conf");
    }
    for (const auto& [name, key] :
         {std::pair{"QWIRL_SEND_HOST", "send-host"}, std::pair{"QWIRL_NOTIFY_HOST", "notify-host"},
          std::pair{"QWIRL_CA_FILE", "ca-file"}}) {
        if (const auto value = variable(name)) {
            resolver.set(key, *value, name);
        }
    }
    return resolver.layers;
}

} // namespace qwirl
