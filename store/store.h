#pragma once

#include <QString>

#include <memory>

namespace parlix {

class ArchiveWatch;
class BookStorage;
class Database;
class StoreLink;

// Where a data folder keeps its book list and books: the SQLite files of the
// folder, or a PostgreSQL database shared by several seats. Callers name an
// archive by its path in the data folder ("elenco.mdb", "rubrica_base.mdb",
// "rubriche/<book>"), whichever store holds it.
class Store
{
public:
    virtual ~Store() = default;

    static std::shared_ptr<Store> files(const QString& root);
    // `conninfo`: a libpq connection string or URI. Nothing is connected until
    // the first archive is opened.
    static std::shared_ptr<Store> postgres(const QString& conninfo, const QString& root);

    // Opens the archive at `path`. Throws StoreError (CannotOpen when there is
    // no such archive).
    virtual std::shared_ptr<Database> open(const QString& path) = 0;
    // A watch on table `table` of the archive at `path` that says when
    // another seat changes it. Throws StoreError (CannotOpen when there is no
    // such archive).
    virtual std::unique_ptr<ArchiveWatch> watch(const QString& path, const QString& table) = 0;
    virtual BookStorage& books() = 0;
    // One line saying which store this is, for the user.
    virtual QString description() const = 0;
    // Checks that the store answers; says what answered (empty for files).
    virtual QString probe() = 0;
    // Makes the initial layout where there is none: the book list with
    // "Principale", the template and the book "Principale".
    virtual void prepare() = 0;
    // Says when the store's server is lost and back, watching it from now
    // on; null for a store that has no server (the files of the data folder).
    virtual StoreLink* link() { return nullptr; }
};

} // namespace parlix
