#include "stopsignals.h"

#include <csignal>

namespace parlix::cli {

namespace {

std::atomic<bool> raised{false};
struct sigaction previousInt;
struct sigaction previousTerm;

extern "C" void raiseStop(int)
{
    raised.store(true);
}

} // namespace

StopSignals::StopSignals()
{
    static_assert(std::atomic<bool>::is_always_lock_free);
    raised.store(false);
    struct sigaction action = {};
    action.sa_handler = raiseStop;
    sigemptyset(&action.sa_mask);
    // The exchange under way goes on: its system calls start again.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

StopSignals::~StopSignals()
{
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

const std::atomic<bool>* StopSignals::flag()
{
    return &raised;
}

} // namespace parlix::cli
