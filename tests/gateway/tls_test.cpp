#include "process_runner.h"
#include "sandbox_process.h"

#include "qwirl/control.h"
#include "qwirl/result_codes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using qwirl::testing::runProcess;
using qwirl::testing::SandboxProcess;

// Throwaway certificate authorities and a server certificate for "localhost" signed by the first one.
class Certificates
{
public:
    Certificates() : folder_(fs::temp_directory_path() / ("qwirl-tls-" + std::to_string(::getpid())))
    {
        fs::create_directories(folder_);
        makeAuthority("ca");
        makeAuthority("other-ca");
        openssl({"req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", path("server.key"), "-subj",
                 "/CN=localhost", "-out", path("server.csr")});
        const std::string extensions = path("server.ext");
        std::FILE* file = std::fopen(extensions.c_str(), "w");
        std::fputs("subjectAltName=DNS:localhost\n", file);
        std::fclose(file);
        openssl({"x509", "-req", "-in", path("server.csr"), "-CA", path("ca.pem"), "-CAkey", path("ca.key"),
                 "-CAcreateserial", "-days", "2", "-extfile", extensions, "-out", path("server.pem")});
    }
    ~Certificates() { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

private:
    void makeAuthority(const std::string& name)
    {
        openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=Prova " + name,
                 "-keyout", path(name + ".key"), "-out", path(name + ".pem")});
    }
    static void openssl(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "/usr/bin/openssl");
        const auto result = runProcess(arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    fs::path folder_;
};

TEST(QwirlTls, HttpsHostsAreReachedOnlyWithAValidCertificateForTheirName)
{
    const Certificates certificates;
    const SandboxProcess tls(
        {"--tls-cert", certificates.path("server.pem"), "--tls-key", certificates.path("server.key")});
    const SandboxProcess plain;
    const std::string port = std::to_string(tls.port());
    const struct
    {
        const char* label;
        std::string host;
        std::string caFile;
        long send;
        long credit;
        std::size_t requestsReceived; // by the sandbox that host points to
        const SandboxProcess& sandbox;
    } cases[] = {
        {"trusted", "https://localhost:" + port, certificates.path("ca.pem"), 0, 99, 2, tls},
        {"unknown authority", "https://localhost:" + port, certificates.path("other-ca.pem"),
         qwirl::WinInetError::UnknownAuthority, -1, 0, tls},
        {"system authorities", "https://localhost:" + port, "", qwirl::WinInetError::UnknownAuthority, -1, 0,
         tls},
        {"other host name", "https://127.0.0.1:" + port, certificates.path("ca.pem"),
         qwirl::WinInetError::CertificateNameInvalid, -1, 0, tls},
        {"missing CA file", "https://localhost:" + port, certificates.path("none.pem"),
         qwirl::WinInetError::CertificateErrors, -1, 0, tls},
        {"https to a plain server", "https://" + plain.host(), certificates.path("ca.pem"),
         qwirl::WinInetError::SecureChannelError, -1, 0, plain},
        {"plain", plain.host(), "", 0, 99, 2, plain},
    };
    for (const auto& c : cases) {
        const std::size_t before = c.sandbox.traceLines().size();
        qwirl::Control control({c.host, c.host, c.caFile});
        control.setLogin("demo");
        control.setPassword("demo");
        const long send = control.Send(std::string_view("+393331234567"), std::string_view("Ciao"));
        EXPECT_EQ(send, c.send) << c.label;
        EXPECT_EQ(control.CheckCredits(), c.credit) << c.label;
        EXPECT_EQ(control.LastCreditFailure(), c.credit >= 0 ? 0 : c.send) << c.label;
        EXPECT_EQ(qwirl::WinInetError::isCertificateFailure(send), c.send != 0) << c.label;
        EXPECT_EQ(c.sandbox.traceLines().size() - before, c.requestsReceived) << c.label;
    }
}

} // namespace
