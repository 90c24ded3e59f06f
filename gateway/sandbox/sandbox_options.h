#pragma once

#include "grammar.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qwirl::sandbox {

// The command line of qwirl-sandbox.
struct SandboxOptions
{
    enum class Action { Serve, Help, Version, DumpGrammar };
    Action action = Action::Serve;

    int port = -1; // 0: any free port
    std::string login = "demo";
    std::string password = "demo";
    long credit = 100;
    std::string logPath;   // one JSON line per accepted SMS; empty: no log
    std::string tracePath; // one JSON line per request received; empty: no trace
    // Served over TLS with this certificate and private key (PEM files) when both are given.
    std::string tlsCertPath;
    std::string tlsKeyPath;

    // Fault switches.
    std::optional<std::string> fixedAnswer; // every POST gets this body, unprocessed
    int status = 200;                       // HTTP status of every answer
    std::chrono::milliseconds delay{0};     // wait before answering
    std::vector<std::string> refused;       // recipients always answered "KO 3"
    std::optional<std::string> proxyAuth;   // "user:password": 407 until these Basic credentials come
    std::size_t hugeAnswerBytes = 0;        // every POST gets "OK" and padding lines up to this size

    // Parses argv[1..]; on bad usage returns nothing and sets `error`.
    static std::optional<SandboxOptions> parse(const std::vector<std::string>& args, std::string& error);
    // The declared grammar the arguments are read with, for the usage, help and manual page.
    static const cli::Grammar& grammar();
};

} // namespace qwirl::sandbox
