#include "hiddeninput.h"

#include <QFile>
#include <QTextStream>

#include <termios.h>
#include <unistd.h>

namespace parlix::cli {

namespace {

// Turns the echo of a terminal off for its own lifetime.
class EchoOff
{
public:
    explicit EchoOff(int fd) : fd_(fd)
    {
        if (tcgetattr(fd_, &saved_) != 0)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL; // the Enter key still moves to a new line
        active_ = tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (active_)
            tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

int terminalOf(QTextStream& in)
{
    const auto* file = qobject_cast<QFile*>(in.device());
    const int fd = file ? file->handle() : -1;
    return fd >= 0 && isatty(fd) ? fd : -1;
}

} // namespace

QString readHiddenLine(QTextStream& in, QTextStream& err, const QString& prompt)
{
    const int terminal = terminalOf(in);
    if (terminal < 0)
        return in.readLine();
    err << prompt;
    err.flush();
    EchoOff quiet(terminal);
    return in.readLine();
}

} // namespace parlix::cli
