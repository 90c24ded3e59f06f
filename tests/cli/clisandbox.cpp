#include "clisandbox.h"

#include "cli/resendcommand.h"
#include "cli/runscheduledcommand.h"
#include "cli/scheduledcommand.h"
#include "cli/sendcommand.h"
#include "json_fields.h"
#include "sending/account.h"
#include "sending/qwirlgateway.h"

#include <gtest/gtest.h>

namespace parlix::test {

CliSandbox::CliSandbox(const std::vector<std::string>& sandboxArguments, Backend backend)
    : folder(backend), sandbox(sandboxArguments)
{
    EXPECT_TRUE((Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}).save(folder.state.folder));
}

CliSandbox::Outcome CliSandbox::run(const QStringList& arguments, const QString& input)
{
    const cli::SendingServices services{qwirlGatewayFactory(sandbox.host()), folder.clock};
    cli::Commands commands;
    commands.push_back(std::make_unique<cli::SendCommand>(services));
    commands.push_back(std::make_unique<cli::ScheduledCommand>());
    commands.push_back(std::make_unique<cli::RunScheduledCommand>(services));
    commands.push_back(std::make_unique<cli::ResendCommand>(services));
    QString out, err, in = input;
    QTextStream outStream(&out), errStream(&err), inStream(&in);
    cli::Console console{outStream, errStream, inStream};
    const int status = cli::run(QStringList{QStringLiteral("--home"), home()} + arguments, commands, console);
    outStream.flush();
    errStream.flush();
    return {status, out, err};
}

QStringList CliSandbox::sent() const
{
    QStringList sms;
    for (const std::string& line : sandbox.logLines()) {
        auto fields = qwirl::testing::parseJsonLine(line).value_or(std::map<std::string, std::string>{});
        sms << QString::fromStdString(fields["recipient"] + "|" + fields["type"] + "|" + fields["text"]);
    }
    return sms;
}

void CliSandbox::addContacts(int count)
{
    for (int i = 1; i <= count; ++i)
        folder.addContact(QStringLiteral("Principale"), QStringLiteral("N%1").arg(i),
                          QStringLiteral("C%1").arg(i), QStringLiteral("333%1").arg(i, 7, 10, QChar(u'0')));
}

} // namespace parlix::test
