#pragma once

#include "store/database.h"
#include "store/store.h"

#include <QTemporaryDir>

#include <memory>

namespace parlix::test {

enum class Backend { Files, Postgres };

// A store of either kind for one test: the SQLite files of a temporary data
// folder, or a fresh database of the test cluster. Both start with the
// initial layout (the book list with "Principale").
class StoreHome
{
public:
    explicit StoreHome(Backend backend);
    ~StoreHome();

    QString path(const QString& name) const { return dir.filePath(name); }
    QString bookPath(const QString& book) const { return path(QStringLiteral("rubriche/") + book); }
    // Another seat on the same store: a store object and connection of its own.
    std::shared_ptr<Store> seat() const;
    std::shared_ptr<Database> openBook(const QString& book) const { return store->open(bookPath(book)); }

    // The connection string of the cluster's maintenance database.
    static QString clusterAddress();

    Backend backend;
    QTemporaryDir dir;
    QString address; // the test's own database (PostgreSQL)
    std::shared_ptr<Store> store;

private:
    QString databaseName_;
};

// "Files" or "Postgres", for test names.
std::string backendName(Backend backend);

} // namespace parlix::test
