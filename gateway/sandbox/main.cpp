// qwirl-sandbox: a local stand-in for the SMS gateway on 127.0.0.1.

#include "sandbox_options.h"
#include "sandbox_server.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

namespace {

// The exit statuses the grammar's table describes.
constexpr int UsageError = 1;
constexpr int CannotStart = 2;

} // namespace

int main(int argc, char** argv)
{
    using qwirl::sandbox::SandboxOptions;
    namespace cli = qwirl::cli;
    std::string error;
    const auto options = SandboxOptions::parse({argv + 1, argv + argc}, error);
    if (!options) {
        std::fprintf(stderr, "qwirl-sandbox: %s\n%s(qwirl-sandbox --help per l'aiuto)\n", error.c_str(),
                     cli::usageText(SandboxOptions::grammar()).c_str());
        return UsageError;
    }
    switch (options->action) {
    case SandboxOptions::Action::Help:
        std::fputs(cli::helpText(SandboxOptions::grammar()).c_str(), stdout);
        return 0;
    case SandboxOptions::Action::Version:
        std::fputs(cli::versionText(SandboxOptions::grammar()).c_str(), stdout);
        return 0;
    case SandboxOptions::Action::DumpGrammar:
        std::fputs(cli::grammarJson(SandboxOptions::grammar()).c_str(), stdout);
        return 0;
    case SandboxOptions::Action::Serve:
        break;
    }

    // SIGINT and SIGTERM are taken by one thread that stops the server; every other thread blocks them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    qwirl::sandbox::SandboxServer server(*options);
    if (!server.logsOpen()) {
        std::fprintf(stderr, "qwirl-sandbox: impossibile aprire il file di log o di trace\n");
        return CannotStart;
    }
    if (!server.certificateLoaded()) {
        std::fprintf(stderr, "qwirl-sandbox: impossibile leggere il certificato o la chiave TLS\n");
        return CannotStart;
    }
    const int port = server.bind();
    if (port < 0) {
        std::fprintf(stderr, "qwirl-sandbox: impossibile ascoltare su 127.0.0.1:%d\n", options->port);
        return CannotStart;
    }

    // A stop that comes before the server runs would be lost, so it is repeated until serving has ended.
    std::atomic<bool> finished{false};
    std::thread signalWaiter([&server, &stopSignals, &finished] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        while (!finished) {
            server.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });

    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    const bool served = server.serve();
    finished = true;

    // Wakes the signal thread if serving ended on its own.
    pthread_kill(signalWaiter.native_handle(), SIGTERM);
    signalWaiter.join();
    return served ? 0 : CannotStart;
}
