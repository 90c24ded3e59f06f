#pragma once

#include <map>
#include <string>
#include <vector>

namespace qwirl::testing {

struct ProcessResult
{
    int exitCode = -1; // -1 when the process did not exit normally in time
    std::string out;
    std::string err;
};

// Runs a program to its end (at most 30 s) in a session of its own, without a controlling terminal, with
// the environment of this process plus `environment` (an empty value removes the variable).
ProcessResult runProcess(const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment = {});

} // namespace qwirl::testing
