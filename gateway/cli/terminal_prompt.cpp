#include "terminal_prompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace qwirl::cli {
namespace {

class Terminal
{
public:
    Terminal() : fd_(::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY)) {}
    ~Terminal()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    void write(const std::string& text) const
    {
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
            if (n <= 0) {
                return;
            }
            done += static_cast<std::size_t>(n);
        }
    }

    // One line without its line feed; nothing when the input ends first.
    std::optional<std::string> readLine(bool echo) const
    {
        termios saved{};
        const bool hide = !echo && ::tcgetattr(fd_, &saved) == 0;
        if (hide) {
            termios quiet = saved;
            quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
            ::tcsetattr(fd_, TCSAFLUSH, &quiet);
        }
        std::string line;
        std::optional<std::string> result;
        for (char c = 0;;) {
            const ssize_t n = ::read(fd_, &c, 1);
            if (n <= 0) {
                break;
            }
            if (c == '\n') {
                result = line;
                break;
            }
            line += c;
        }
        if (hide) {
            ::tcsetattr(fd_, TCSAFLUSH, &saved);
            write("\n");
        }
        return result;
    }

private:
    int fd_;
};

} // namespace

bool TerminalPrompt::askProxyCredentials(ProxyCredentials& credentials)
{
    const Terminal terminal;
    if (!terminal.isOpen()) {
        return false;
    }
    terminal.write("Il proxy " + credentials.proxy + " chiede l'autenticazione.\nUtente: ");
    const auto login = terminal.readLine(true);
    if (!login) {
        return false;
    }
    terminal.write("Password: ");
    const auto password = terminal.readLine(false);
    if (!password) {
        return false;
    }
    credentials.login = *login;
    credentials.password = *password;
    return true;
}

} // namespace qwirl::cli
