#include "sandbox_process.h"

#include "qwirl/control.h"
#include "qwirl/request_builder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using qwirl::Control;
using qwirl::Hosts;
using qwirl::testing::SandboxProcess;

// A plain TCP connection to the sandbox, closed at the end of its scope.
class Connection
{
public:
    explicit Connection(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~Connection() { ::close(fd_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool connected() const { return connected_; }
    void send(std::string_view bytes) const { (void)!::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    void endWriting() const { ::shutdown(fd_, SHUT_WR); }
    // Everything the other side sends until it closes, or until `limit` passes.
    std::string receiveAll(std::chrono::milliseconds limit) const
    {
        std::string received;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd ready{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
                return received;
            }
            char buffer[4096];
            const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0) {
                return received;
            }
            received.append(buffer, static_cast<std::size_t>(got));
        }
    }

private:
    int fd_;
    bool connected_ = false;
};

std::string sendBody(const std::string& login, const std::string& password)
{
    const qwirl::MessageFields message{login, "TEXT", "+393331234567", "Parlix", "Ciao", password};
    return qwirl::RequestBuilder::sendBody(message, 2);
}

long credit(const SandboxProcess& sandbox, const std::string& login, const std::string& password)
{
    Control control(Hosts::both(sandbox.host()));
    control.setLogin(login);
    control.setPassword(password);
    return control.CheckCredits();
}

TEST(QwirlSandboxHardening, ABodyShorterThanItsLengthIsRefusedAndTakesNoCredit)
{
    const SandboxProcess sandbox;
    const std::string body = sendBody("demo", "demo");
    const Connection connection(sandbox.port());
    ASSERT_TRUE(connection.connected());
    connection.send("POST /sms-gw/sendsmart HTTP/1.1\r\nHost: gateway\r\n"
                    "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                    std::to_string(body.size() + 40) + "\r\n\r\n" + body);
    connection.endWriting();
    const std::string answer = connection.receiveAll(std::chrono::seconds(10));
    EXPECT_EQ(answer.find(" 200 "), std::string::npos) << answer;
    EXPECT_TRUE(sandbox.logLines().empty());
    EXPECT_EQ(credit(sandbox, "demo", "demo"), 100);
}

TEST(QwirlSandboxHardening, IdleAndSlowConnectionsDoNotHoldUpAWellFormedRequest)
{
    const SandboxProcess sandbox;
    std::vector<std::unique_ptr<Connection>> idle;
    std::vector<std::unique_ptr<Connection>> slow;
    for (int i = 0; i < 25; ++i) {
        idle.push_back(std::make_unique<Connection>(sandbox.port()));
        slow.push_back(std::make_unique<Connection>(sandbox.port()));
        slow.back()->send("POST /sms-gw/sendsmart HTTP/1.1\r\n");
    }
    std::atomic<bool> done{false};
    std::thread crawler([&] {
        while (!done) {
            for (const auto& connection : slow) {
                connection->send("X");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    // Let the sandbox take every connection in before the real request comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const Connection request(sandbox.port());
    const std::string body = qwirl::RequestBuilder::creditBody("demo", "demo");
    request.send("POST /sms-gw/sendsmart HTTP/1.1\r\nHost: gateway\r\nConnection: close\r\n"
                 "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                 std::to_string(body.size()) + "\r\n\r\n" + body);
    const std::string answer = request.receiveAll(std::chrono::seconds(1));
    done = true;
    crawler.join();
    EXPECT_NE(answer.find(" 200 "), std::string::npos) << "no answer within a second: " << answer;
}

TEST(QwirlSandboxHardening, LogsArePrivateAndHoldNoCredentials)
{
    const SandboxProcess sandbox(
        {"--login", "studio", "--password", "segreta9", "--proxy-auth", "anna:proxypass7"});
    Control control(Hosts::both("gateway.invalid"));
    control.setLogin("studio");
    control.setPassword("segreta9");
    control.setProxyAddress(sandbox.host());
    control.setProxyLogin("anna");
    control.setProxyPassword("proxypass7");
    ASSERT_EQ(control.Send(std::string_view("+393331234567"), std::string_view("Ciao")), 0);

    for (const std::string& path : {sandbox.logPath(), sandbox.tracePath()}) {
        struct stat info = {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0) << path;
        EXPECT_EQ(info.st_mode & 0777, 0600U) << path;
    }
    const auto lines = sandbox.logLines();
    ASSERT_EQ(lines.size(), 1U);
    for (const char* secret : {"proxypass7", "YW5uYTpwcm94eXBhc3M3", "segreta9"}) {
        EXPECT_EQ(lines[0].find(secret), std::string::npos) << secret;
    }
}

TEST(QwirlSandboxHardening, PasswordsComeFromTheEnvironment)
{
    ::setenv("QWIRL_PASSWORD", "dallambiente", 1);
    ::setenv("QWIRL_PROXY_PASSWORD", "proxyenv", 1);
    const SandboxProcess sandbox({"--login", "studio", "--proxy-auth", "anna"});
    ::unsetenv("QWIRL_PASSWORD");
    ::unsetenv("QWIRL_PROXY_PASSWORD");

    Control control(Hosts::both("gateway.invalid"));
    control.setLogin("studio");
    control.setPassword("dallambiente");
    control.setProxyAddress(sandbox.host());
    control.setProxyLogin("anna");
    control.setProxyPassword("proxyenv");
    EXPECT_EQ(control.CheckCredits(), 100);
    control.setPassword("demo");
    EXPECT_EQ(control.CheckCredits(), -1);
}

} // namespace
