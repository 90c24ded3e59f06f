// Measures the introspected control (Qwirl 1.6 through PyGObject) against the C++ library, both sending the
// same 1,000 SMS to one qwirl-sandbox on 127.0.0.1 in the same run (target: Python at most 1.25 times the
// C++ loop). Only the loops are timed: the Python side reports its own loop times, so the interpreter's
// start-up is not counted.
// Usage: qwirl_gobject_bench [--runs N]   (exit status 1 when the target is missed)

#include "sandbox_process.h"

#include "qwirl/control.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int Calls = 1000;
constexpr double Target = 1.25;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double cppLoop(qwirl::Control& control, int& failures)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Calls; ++i) {
        const std::string number = "+39333" + std::to_string(1000000 + i);
        const std::string text =
            "Messaggio di prova n. " + std::to_string(i) + ": è tutto a posto, ci vediamo alle 8!";
        failures += control.Send(number, text) != 0;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One run of the Python loop, in its own interpreter: the time it reports, or -1.
double pythonLoop(const std::string& host, int& failures)
{
    const std::string command = "env QWIRL_SEND_HOST=" + host +
                                " GI_TYPELIB_PATH=" QWIRL_TYPELIB_DIR " LD_LIBRARY_PATH=" QWIRL_LIBRARY_DIRS
                                " " PYGOBJECT_PYTHON " " QWIRL_LOOP_SCRIPT " 1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char line[64] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    failures += pclose(pipe) != 0;
    return read ? std::atof(line) : -1;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    if (argc == 3 && std::string(argv[1]) == "--runs") {
        runs = std::max(1, std::atoi(argv[2]));
    }
    const qwirl::testing::SandboxProcess sandbox(
        {"--login", "bench", "--password", "bench-pw", "--credit", "2000000000"});
    qwirl::Control control(qwirl::Hosts::both(sandbox.host()));
    control.setLogin("bench");
    control.setPassword("bench-pw");
    control.setSender("Parlix");

    int failures = 0;
    std::vector<double> cppTimes;
    std::vector<double> pythonTimes;
    cppLoop(control, failures); // warm up both sides once
    pythonLoop(sandbox.host(), failures);
    for (int run = 0; run < runs; ++run) {
        cppTimes.push_back(cppLoop(control, failures));
        pythonTimes.push_back(pythonLoop(sandbox.host(), failures));
    }
    const double cpp = median(cppTimes);
    const double python = median(pythonTimes);
    const double ratio = python / cpp;
    std::printf("1,000 Send through qwirl::Control (C++):      median %.3f s over %d runs\n", cpp, runs);
    std::printf("1,000 send through Qwirl 1.6 from Python:      median %.3f s over %d runs\n", python, runs);
    std::printf("ratio Python / C++:                            %.3f (target <= %.2f)\n", ratio, Target);
    std::printf("failed exchanges:                              %d\n", failures);
    const bool met = python > 0 && ratio <= Target && failures == 0;
    std::printf("%s\n", met ? "target met" : "TARGET MISSED");
    return met ? 0 : 1;
}
