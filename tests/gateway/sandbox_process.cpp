#include "sandbox_process.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#ifndef QWIRL_SANDBOX_PATH
#error "QWIRL_SANDBOX_PATH must name the qwirl-sandbox executable"
#endif

extern char** environ;

namespace qwirl::testing {
namespace {

constexpr auto StartTimeout = std::chrono::seconds(10);
constexpr auto StopGrace = std::chrono::seconds(5);

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string makeFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/qwirl-sandbox-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder for the sandbox");
    }
    return pattern;
}

// The first line the sandbox prints: "listening on 127.0.0.1:PORT".
int readPort(int fd)
{
    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    std::string line;
    while (line.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd poller{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&poller, 1, static_cast<int>(left.count())) <= 0) {
            return 0;
        }
        char buffer[128];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            return 0;
        }
        line.append(buffer, static_cast<std::size_t>(n));
    }
    const std::string prefix = "listening on 127.0.0.1:";
    if (!line.starts_with(prefix)) {
        return 0;
    }
    return std::atoi(line.c_str() + prefix.size());
}

} // namespace

std::string SandboxProcess::executable()
{
    return QWIRL_SANDBOX_PATH;
}

SandboxProcess::SandboxProcess(const std::vector<std::string>& arguments)
    : folder_(makeFolder()), logPath_(folder_ + "/sms.log"), tracePath_(folder_ + "/trace.log")
{
    std::vector<std::string> args = {executable(), "--port", "0", "--log", logPath_, "--trace", tracePath_};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        std::filesystem::remove_all(folder_);
        throw std::runtime_error("cannot create a pipe for the sandbox");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    stdoutFd_ = pipeFds[0];
    if (spawned != 0) {
        pid_ = -1;
        ::close(stdoutFd_);
        std::filesystem::remove_all(folder_);
        throw std::runtime_error("cannot start " + executable());
    }
    port_ = readPort(stdoutFd_);
    if (port_ <= 0) {
        stop(SIGKILL);
        ::close(stdoutFd_);
        std::filesystem::remove_all(folder_);
        throw std::runtime_error("the sandbox did not start listening");
    }
}

SandboxProcess::~SandboxProcess()
{
    stop();
    ::close(stdoutFd_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string SandboxProcess::host() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> SandboxProcess::logLines() const
{
    return readLines(logPath_);
}

std::vector<std::string> SandboxProcess::traceLines() const
{
    return readLines(tracePath_);
}

int SandboxProcess::stop(int signal)
{
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + StopGrace;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            status = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return status;
}

int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

} // namespace qwirl::testing
