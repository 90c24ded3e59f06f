#include "cli/hiddeninput.h"

#include <QTextStream>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace parlix::cli;

namespace {

// What the terminal shows: everything written to its controlling side so far.
QByteArray drained(int master)
{
    QByteArray shown;
    char buffer[256];
    pollfd ready{master, POLLIN, 0};
    while (poll(&ready, 1, 200) > 0 && (ready.revents & POLLIN)) {
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        shown.append(buffer, n);
    }
    return shown;
}

} // namespace

// On a terminal the password is read without being shown, and the terminal
// echoes again afterwards; from a pipe or a file the line is read as it is.
TEST(HiddenInput, ATerminalDoesNotShowThePasswordAndGetsItsEchoBack)
{
    int master = -1;
    int terminal = -1;
    if (openpty(&master, &terminal, nullptr, nullptr, nullptr) != 0)
        GTEST_SKIP() << "no pseudo-terminal on this machine";
    // Read as the console tool reads its standard input.
    FILE* stream = fdopen(terminal, "r");
    ASSERT_NE(stream, nullptr);
    QTextStream in(stream);
    QString err;
    QTextStream errStream(&err);

    // The user types once the prompt has turned the echo off.
    std::thread typist([master] {
        termios now{};
        for (int i = 0; i < 500 && tcgetattr(master, &now) == 0 && (now.c_lflag & ECHO); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(write(master, "segreta\n", 8), 8);
    });
    const QString line = readHiddenLine(in, errStream, QStringLiteral("Password: "));
    typist.join();
    EXPECT_EQ(line, QStringLiteral("segreta"));
    EXPECT_EQ(err, QStringLiteral("Password: "));
    EXPECT_FALSE(drained(master).contains("segreta"));
    termios after{};
    ASSERT_EQ(tcgetattr(terminal, &after), 0);
    EXPECT_TRUE(after.c_lflag & ECHO);

    QString text = QStringLiteral("dalla pipe\n");
    QTextStream piped(&text);
    QString quiet;
    QTextStream quietStream(&quiet);
    EXPECT_EQ(readHiddenLine(piped, quietStream, QStringLiteral("Password: ")), QStringLiteral("dalla pipe"));
    EXPECT_TRUE(quiet.isEmpty());

    fclose(stream);
    close(master);
}
