#pragma once

#include <QDateTime>
#include <QString>

namespace parlix {

// Who takes a batch's recipients, as the journal keeps it (Esecutore): the
// machine, the process and the moment the process started, so that another
// process can tell a runner still at work from one that died, even once its
// process number has gone to another program.
QString runnerName();

// Whether the runner `name`, which last took recipients at `lastTaken`, may
// still be sending at `now`. A runner of this machine is asked of the system:
// alive while its process runs. One of another machine cannot be asked: it
// counts as alive while it took recipients within RemoteQuiet, longer than
// any one recipient's exchanges may take before the run pauses. This
// process's own runs are told by RunsHere instead.
bool runnerMayBeAlive(const QString& name, const QDateTime& lastTaken, const QDateTime& now);

constexpr qint64 RemoteQuietSeconds = 15 * 60;

// The runs of this process under way, each as its book and batch: rows this
// process took in a run that has ended (a journal that failed) are not at work.
class RunsHere
{
public:
    RunsHere(const QString& book, qint64 batch);
    ~RunsHere();
    RunsHere(const RunsHere&) = delete;
    RunsHere& operator=(const RunsHere&) = delete;

    static bool contains(const QString& book, qint64 batch);

private:
    QString book_;
    qint64 batch_;
};

} // namespace parlix
