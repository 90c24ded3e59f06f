#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace parlix::bench {

// A throwaway PostgreSQL cluster (tests/store/pgcluster.sh, whose path the
// benchmark gets as PARLIX_PGCLUSTER_SCRIPT), stopped however the run ends.
class PgCluster
{
public:
    PgCluster() : pointer_(dir_.filePath(QStringLiteral("conninfo")))
    {
        if (!run("start"))
            throw std::runtime_error("the PostgreSQL cluster did not start");
        QFile file(pointer_);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("the PostgreSQL cluster left no connection string");
        address_ = QString::fromUtf8(file.readAll()).trimmed();
    }
    ~PgCluster() { run("stop"); }
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    QString address(const char* database) const
    {
        return address_ + QStringLiteral(" dbname=") + QString::fromLatin1(database);
    }
    // Stops the server, ending every session, and starts it again; back
    // when it accepts connections.
    void restart()
    {
        if (!run("restart"))
            throw std::runtime_error("the PostgreSQL cluster did not restart");
    }

private:
    bool run(const char* what) const
    {
        const std::string command =
            std::string(PARLIX_PGCLUSTER_SCRIPT) + ' ' + what + " '" + pointer_.toStdString() + '\'';
        return std::system(command.c_str()) == 0;
    }

    QTemporaryDir dir_;
    QString pointer_;
    QString address_;
};

} // namespace parlix::bench
