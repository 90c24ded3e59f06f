#pragma once

#include "cli/commandline.h"
#include "sandbox_process.h"
#include "tests/support/testhome.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace parlix::test {

// A data folder with the sandbox's demo account and a sandbox gateway, for
// the sending commands of parlix-cli; its books in SQLite files or in a
// database of the test cluster.
class CliSandbox
{
public:
    explicit CliSandbox(const std::vector<std::string>& sandboxArguments = {},
                        Backend backend = Backend::Files);

    struct Outcome
    {
        int status;
        QString out;
        QString err;
    };
    // Runs "parlix-cli --home HOME ARGUMENTS" in this process, with the
    // sending commands on the sandbox and the home's fixed clock, `input`
    // standing for standard input.
    Outcome run(const QStringList& arguments, const QString& input = {});

    // The SMS the sandbox accepted, each as "recipient|type|text", in order.
    QStringList sent() const;
    // Adds `count` contacts "N<i> C<i>" with the numbers 3330000001...
    void addContacts(int count);
    QString home() const { return folder.dir.path(); }

    TestHome folder;
    qwirl::testing::SandboxProcess sandbox;
};

} // namespace parlix::test
