#include "faultpoint.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace parlix::faultpoint {

namespace {

long chosenHits()
{
    const char* hits = std::getenv("PARLIX_FAULT_HITS");
    const long value = hits != nullptr ? std::strtol(hits, nullptr, 10) : 1;
    return value > 0 ? value : 1;
}

} // namespace

void reach(const char* name)
{
    static const char* const chosen = std::getenv("PARLIX_FAULT_POINT");
    if (chosen == nullptr || std::strcmp(chosen, name) != 0)
        return;
    // Steps may be reached from a worker thread.
    static std::atomic<long> left{chosenHits()};
    if (left.fetch_sub(1) == 1)
        std::raise(SIGKILL);
}

} // namespace parlix::faultpoint
