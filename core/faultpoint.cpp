#include "faultpoint.h"

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace parlix::faultpoint {

void reach(const char* name)
{
    static const char* const chosen = std::getenv("PARLIX_FAULT_POINT");
    if (chosen != nullptr && std::strcmp(chosen, name) == 0)
        std::raise(SIGKILL);
}

} // namespace parlix::faultpoint
