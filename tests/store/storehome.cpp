#include "storehome.h"

#include "store/pgconnection.h"

#include <QFile>

#include <gtest/gtest.h>

#include <atomic>
#include <unistd.h>

namespace parlix::test {

QString StoreHome::clusterAddress()
{
    QFile file(QStringLiteral(PARLIX_TEST_PG_CONNINFO));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no test cluster: " << PARLIX_TEST_PG_CONNINFO << " is missing (run through ctest)";
        return {};
    }
    return QString::fromUtf8(file.readAll()).trimmed();
}

StoreHome::StoreHome(Backend backend) : backend(backend)
{
    if (backend == Backend::Files) {
        store = Store::files(dir.path());
    } else {
        static std::atomic<int> made{0};
        databaseName_ = QStringLiteral("t%1_%2").arg(getpid()).arg(++made);
        PgConnection admin(clusterAddress() + QStringLiteral(" dbname=postgres"));
        admin.exec(QStringLiteral("CREATE DATABASE ") + databaseName_);
        address = clusterAddress() + QStringLiteral(" dbname=") + databaseName_;
        store = Store::postgres(address, dir.path());
    }
    store->prepare();
}

StoreHome::~StoreHome()
{
    store.reset();
    if (!databaseName_.isEmpty()) {
        try {
            PgConnection admin(clusterAddress() + QStringLiteral(" dbname=postgres"));
            admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName_));
        } catch (...) {
            // The cluster goes at the end of the run all the same.
        }
    }
}

std::shared_ptr<Store> StoreHome::seat() const
{
    return backend == Backend::Files ? Store::files(dir.path()) : Store::postgres(address, dir.path());
}

std::string backendName(Backend backend)
{
    return backend == Backend::Files ? "Files" : "Postgres";
}

} // namespace parlix::test
