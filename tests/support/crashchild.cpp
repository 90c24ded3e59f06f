#include "crashchild.h"

#include "store/database.h"
#include "store/statement.h"

#include <gtest/gtest.h>

namespace parlix::test {

std::unique_ptr<QProcess> startChild(const QString& program, const QStringList& arguments,
                                     const QString& faultPoint, int hits)
{
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("PARLIX_FAULT_POINT"));
    environment.remove(QStringLiteral("PARLIX_FAULT_HITS"));
    if (!faultPoint.isEmpty()) {
        environment.insert(QStringLiteral("PARLIX_FAULT_POINT"), faultPoint);
        environment.insert(QStringLiteral("PARLIX_FAULT_HITS"), QString::number(hits));
    }
    child->setProcessEnvironment(environment);
    child->start(program, arguments);
    return child;
}

::testing::AssertionResult diedAtFaultPoint(QProcess& child, int timeoutMs)
{
    if (!child.waitForFinished(timeoutMs))
        return ::testing::AssertionFailure() << "the child did not end";
    if (child.exitStatus() == QProcess::CrashExit)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the child ended with status " << child.exitCode() << ": "
                                         << child.readAllStandardError().toStdString();
}

QString integrity(const QString& path)
{
    auto db = Database::open(path);
    Statement check(*db, QStringLiteral("PRAGMA integrity_check"));
    return check.step() ? check.text(0) : QStringLiteral("no answer");
}

} // namespace parlix::test
