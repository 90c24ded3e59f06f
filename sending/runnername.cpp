#include "runnername.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <mutex>
#include <set>
#include <utility>

namespace parlix {

namespace {

// When process `pid` started, in clock ticks since boot (/proc/PID/stat,
// field 22); empty when there is no such process.
QString processStart(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // The command name (field 2) is in parentheses and may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 19 ? QString::fromLatin1(fields.at(19)) : QString();
}

bool processRuns(qint64 pid, const QString& start)
{
    if (pid <= 0 || (::kill(pid_t(pid), 0) != 0 && errno != EPERM))
        return false;
    return start.isEmpty() || processStart(pid) == start;
}

} // namespace

QString runnerName()
{
    static const QString name = [] {
        const qint64 pid = QCoreApplication::applicationPid();
        return QStringLiteral("%1:%2:%3").arg(QSysInfo::machineHostName()).arg(pid).arg(processStart(pid));
    }();
    return name;
}

bool runnerMayBeAlive(const QString& name, const QDateTime& lastTaken, const QDateTime& now)
{
    // "host:pid:start"; runners of earlier versions wrote "host:pid".
    const QStringList parts = name.split(u':');
    if (parts.size() >= 2 && parts.at(0) == QSysInfo::machineHostName())
        return processRuns(parts.at(1).toLongLong(), parts.value(2));
    return lastTaken.isValid() && lastTaken.secsTo(now) < RemoteQuietSeconds;
}

namespace {

std::mutex runsMutex;
std::multiset<std::pair<QString, qint64>> runs;

} // namespace

RunsHere::RunsHere(const QString& book, qint64 batch) : book_(book), batch_(batch)
{
    const std::lock_guard lock(runsMutex);
    runs.insert({book_, batch_});
}

RunsHere::~RunsHere()
{
    const std::lock_guard lock(runsMutex);
    runs.erase(runs.find({book_, batch_}));
}

bool RunsHere::contains(const QString& book, qint64 batch)
{
    const std::lock_guard lock(runsMutex);
    return runs.contains({book, batch});
}

} // namespace parlix
