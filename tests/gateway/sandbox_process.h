#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace qwirl::testing {

// Runs qwirl-sandbox as a child process on a free port of 127.0.0.1 for the length of a test.
//
// The sandbox gets "--port 0" and a log and a trace file in a temporary folder of its own, plus the
// arguments given; the constructor returns once it listens and throws std::runtime_error when it does not
// start. The destructor stops it (SIGTERM, then SIGKILL after a grace period) and removes the folder.
class SandboxProcess
{
public:
    explicit SandboxProcess(const std::vector<std::string>& arguments = {});
    ~SandboxProcess();
    SandboxProcess(const SandboxProcess&) = delete;
    SandboxProcess& operator=(const SandboxProcess&) = delete;

    int port() const { return port_; }
    // "127.0.0.1:PORT", as the gateway hosts of a control or QWIRL_SEND_HOST take it.
    std::string host() const;
    // The JSON-lines log of accepted SMS.
    const std::string& logPath() const { return logPath_; }
    // The JSON-lines trace of every request received.
    const std::string& tracePath() const { return tracePath_; }

    std::vector<std::string> logLines() const;
    std::vector<std::string> traceLines() const;

    // Stops the sandbox now with `signal` (SIGTERM by default); returns its exit status as waitpid reports
    // it, or -1 if it had to be killed or had been stopped already.
    int stop(int signal = 15);

    // The sandbox executable the fixture runs.
    static std::string executable();

private:
    std::string folder_;
    std::string logPath_;
    std::string tracePath_;
    pid_t pid_ = -1;
    int stdoutFd_ = -1;
    int port_ = 0;
};

// A port of 127.0.0.1 where nothing listens: bound once to learn a free number, then released.
int closedPort();

} // namespace qwirl::testing
