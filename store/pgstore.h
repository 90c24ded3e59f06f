#pragma once

#include "store/bookstorage.h"
#include "store/store.h"

namespace parlix {

class PgConnection;
class PgListener;

// A PostgreSQL database shared by several seats: the book list is the table
// "elenco" of schema "public", the template the schema "rubrica_base", and
// each book the schema named exactly as the book. An empty database gets that
// layout, with "Principale", on first use.
class PgStore : public Store, private BookStorage
{
public:
    PgStore(QString conninfo, QString root);
    ~PgStore() override;

    std::shared_ptr<Database> open(const QString& path) override;
    // Watches through one listening connection of the store's own, made on
    // the first watch.
    std::unique_ptr<ArchiveWatch> watch(const QString& path, const QString& table) override;
    BookStorage& books() override { return *this; }
    QString description() const override;
    QString probe() override;
    void prepare() override;

    PgConnection& connection() { return *connection_; }

private:
    bool exists(const QString& name) override;
    void create(const QString& name) override;
    void rename(const QString& from, const QString& to) override;
    void drop(const QString& name) override;
    std::optional<QString> nameProblem(const QString& name) const override;
    bool transactional() const override { return true; }

    // The schema of book `name`: the exact name, else the one name that
    // differs only in case. Empty when there is none.
    QString bookSchema(const QString& name);
    // The schema that holds the archive at `path`. Throws CannotOpen.
    QString archiveSchema(const QString& path);
    // Runs `sql` inside the caller's transaction, or in one of its own.
    void runAtomically(const QString& sql);

    std::shared_ptr<PgConnection> connection_;
    std::shared_ptr<PgListener> listener_;
    QString root_;
    bool prepared_ = false;
};

} // namespace parlix
