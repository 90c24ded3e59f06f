#pragma once

#include "sandbox_process.h"
#include "sending/batchrequest.h"
#include "sending/smsgateway.h"
#include "tests/support/testhome.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

namespace parlix::test {

// A data folder whose account is the sandbox's demo account, and a sandbox
// gateway on 127.0.0.1 started with `sandboxArguments`.
class SandboxHome
{
public:
    explicit SandboxHome(const std::vector<std::string>& sandboxArguments = {});

    // Gateways on the sandbox.
    GatewayFactory factory() const;
    // The accepted SMS in the sandbox's log, each as "recipient|type|sender|text".
    QStringList sentSms() const;
    // The rows of inviati of a book, as TestHome::rows gives them.
    QStringList sentRecords(const QString& book = QStringLiteral("Principale")) const;
    QString residui() const;

    TestHome home;
    qwirl::testing::SandboxProcess sandbox;
};

// A multiple-mode batch of one text to `numbers` from the book "Principale",
// recorded in inviati as "<lista>".
BatchRequest multipleRequest(const QStringList& numbers, const QString& text);

// Runs the event loop until `done` holds or `timeoutMs` pass; false on time-out.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000);

} // namespace parlix::test
