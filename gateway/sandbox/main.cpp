// qwirl-sandbox: a local stand-in for the SMS gateway on 127.0.0.1.

#include "sandbox_options.h"
#include "sandbox_server.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

int main(int argc, char** argv)
{
    std::string error;
    const auto options = qwirl::sandbox::SandboxOptions::parse({argv + 1, argv + argc}, error);
    if (!options) {
        std::fprintf(stderr, "qwirl-sandbox: %s\n%s", error.c_str(), qwirl::sandbox::SandboxOptions::usage());
        return 2;
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
        std::fprintf(stderr, "qwirl-sandbox: cannot open the log or trace file\n");
        return 1;
    }
    if (!server.certificateLoaded()) {
        std::fprintf(stderr, "qwirl-sandbox: cannot load the TLS certificate or key\n");
        return 1;
    }
    const int port = server.bind();
    if (port < 0) {
        std::fprintf(stderr, "qwirl-sandbox: cannot listen on 127.0.0.1:%d\n", options->port);
        return 1;
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
    return served ? 0 : 1;
}
