#pragma once

#include <atomic>

namespace parlix::cli {

// While alive, Ctrl-C (SIGINT) and SIGTERM no longer end the process: they
// raise flag(), which a batch checks between SMS, so the exchange under way
// finishes and is recorded. The handlers before are put back at the end.
class StopSignals
{
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    static const std::atomic<bool>* flag();
};

} // namespace parlix::cli
