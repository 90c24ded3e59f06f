#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace parlix {

// The answer to one statement; frees itself.
class PgResult
{
public:
    explicit PgResult(PGresult* result) : result_(result) {}
    ~PgResult();
    PgResult(PgResult&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
    PgResult& operator=(PgResult&&) = delete;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;

    int rows() const;
    int columns() const;
    QString text(int row, int column) const;
    const char* data(int row, int column) const;
    int length(int row, int column) const;
    bool isNull(int row, int column) const;
    QString columnName(int column) const;

private:
    PGresult* result_;
};

// One connection to a PostgreSQL server, made on first use from a libpq
// connection string or URI. A connection that broke is made again by the next
// statement, unless a transaction was open on it: that transaction is lost, and
// every statement fails with ConnectionLost until it is rolled back. A session
// the server ended while it was idle (a restart, an administrator) is noticed
// before the next statement is sent, which then runs on a new session instead
// of failing. Connecting gives up after a bounded time, and a network that
// died silently is found by keep-alive probes (TCP only).
class PgConnection
{
public:
    explicit PgConnection(QString conninfo);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    // The Italian reason why `conninfo` cannot be used (a password written in
    // it, words libpq does not know), if any.
    static QString conninfoProblem(const QString& conninfo);

    const QString& conninfo() const { return conninfo_; }
    // `conninfo` fit to be shown: every setting as key=value, a password as
    // "****"; a string that does not parse is not shown at all.
    static QString maskedConninfo(const QString& conninfo);
    // Runs one statement; `params` are bound to $1, $2, ... as text.
    // Throws StoreError: Exists (a unique name taken), ConnectionLost, CannotOpen, Engine.
    PgResult exec(const QString& sql, const QStringList& params = {});
    // Runs statements that take no values, several at once if need be.
    void run(const QString& sql);
    // Runs `sql` (values marked $1, $2, ...) as a statement prepared on this
    // connection the first time and kept for the connection's life. `values`
    // are text; a null pointer is NULL.
    PgResult execPrepared(const QByteArray& sql, const std::vector<const char*>& values);
    // Table names without a schema in later statements are those of `schema`
    // (then of "public"); tables made without a schema go to `schema`.
    void useSchema(const QString& schema);

    // A transaction begun inside another is a savepoint of it: its commit
    // keeps its work for the outer one's commit, its rollback undoes only it.
    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }

    // The server's own description (version), connecting if needed.
    QString serverVersion();
    // The process id of the server process serving this connection.
    int backendPid();
    // The same without connecting: 0 when there is no connection.
    int currentBackendPid() const;

    // Column names of tables already looked up, by qualified table name. A
    // book's tables keep their columns for their whole life, so the names are
    // asked of the server once per connection; renaming or dropping a schema
    // forgets them all.
    // Told each time the connection is made (true) or found lost, or cannot
    // be made (false, with the reason).
    using StateObserver = std::function<void(bool connected, const QString& why)>;
    void setStateObserver(StateObserver observer) { observer_ = std::move(observer); }

    const QStringList* knownColumns(const QString& table) const;
    void rememberColumns(const QString& table, QStringList names);
    void forgetColumns() { columns_.clear(); }

private:
    void ensureConnected();
    // True when the server ended the idle session: it said so on the socket.
    bool endedWhileIdle();
    [[noreturn]] void fail(PGresult* result);
    PgResult check(PGresult* result);

    QString conninfo_;
    PGconn* conn_ = nullptr;
    bool inTransaction_ = false;
    int savepoints_ = 0; // transactions open inside the outermost one
    std::map<QString, QStringList> columns_;
    // What this session holds: statement names by text, the schema in use.
    QHash<QByteArray, QByteArray> prepared_;
    QString schema_;
    StateObserver observer_;
};

// `name` as a quoted identifier: any text is a valid name this way.
QString pgIdentifier(const QString& name);

} // namespace parlix
