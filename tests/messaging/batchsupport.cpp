#include "batchsupport.h"

#include "json_fields.h"
#include "sending/account.h"
#include "sending/qwirlgateway.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

namespace parlix::test {

SandboxHome::SandboxHome(const std::vector<std::string>& sandboxArguments) : sandbox(sandboxArguments)
{
    EXPECT_TRUE((Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}).save(home.state.folder));
}

GatewayFactory SandboxHome::factory() const
{
    return qwirlGatewayFactory(sandbox.host());
}

QStringList SandboxHome::sentSms() const
{
    QStringList sms;
    for (const std::string& line : sandbox.logLines()) {
        auto fields = qwirl::testing::parseJsonLine(line).value_or(std::map<std::string, std::string>{});
        sms << QString::fromStdString(fields["recipient"] + "|" + fields["type"] + "|" + fields["sender"] +
                                      "|" + fields["text"]);
    }
    return sms;
}

QStringList SandboxHome::sentRecords(const QString& book) const
{
    return home.rows(home.state.folder.bookPath(book), QStringLiteral("inviati"));
}

QString SandboxHome::residui() const
{
    QFile file(home.path(QStringLiteral("residui.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromUtf8(file.readAll());
}

BatchRequest multipleRequest(const QStringList& numbers, const QString& text)
{
    BatchRequest request;
    request.multiple = true;
    request.recipients = numbers;
    request.parts = {text};
    request.book = QStringLiteral("Principale");
    request.record = {QStringLiteral("<lista>"), numbers.join(u';'), text};
    return request;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

} // namespace parlix::test
