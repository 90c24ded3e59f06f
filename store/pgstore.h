#pragma once

#include "store/bookstorage.h"
#include "store/store.h"

#include <QTimer>

namespace parlix {

class PgConnection;
class PgListener;
class StoreLink;

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
    // Listens from now on, so that a lost server is noticed even while the
    // seat reads nothing.
    StoreLink* link() override;

    PgConnection& connection() { return *connection_; }

private:
    bool exists(const QString& name) override;
    std::unique_ptr<BookChange> create(const QString& name) override;
    std::unique_ptr<BookChange> rename(const QString& from, const QString& to, const QStringList&) override;
    std::unique_ptr<BookChange> drop(const QString& name, const QStringList&) override;
    std::optional<QString> nameProblem(const QString& name) const override;
    bool transactional() const override { return true; }
    // Every change is one transaction: none is ever left half-made.
    bool interrupted() override { return false; }
    bool repair(const QStringList&) override { return true; }

    // The schema of book `name`: the exact name, else the one name that
    // differs only in case. Empty when there is none.
    QString bookSchema(const QString& name);
    // The schema that holds the archive at `path`. Throws CannotOpen.
    QString archiveSchema(const QString& path);
    // Runs `sql` inside the caller's transaction, or in one of its own.
    void runAtomically(const QString& sql);
    PgListener& listener();
    // The reading connection is made again once the server answers the
    // listener; a transaction in progress is left to its own end.
    void reconnectReader();

    std::shared_ptr<PgConnection> connection_;
    std::shared_ptr<PgListener> listener_;
    QString root_;
    bool prepared_ = false;
    // Shared with the connection's observer, which may outlive the store.
    std::shared_ptr<StoreLink> link_;
    QTimer readerRetry_;
};

} // namespace parlix
