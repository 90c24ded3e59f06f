#include "pgconnection.h"

#include "store/storeerror.h"

#include <QRegularExpression>

#include <utility>

#include <libpq-fe.h>

#include <poll.h>

namespace parlix {

namespace {

// Notices (an object that already exists, an identifier made shorter) are for
// the server log, not for the user's console.
void ignoreNotice(void*, const char*) {}

bool connectionClass(const QByteArray& state)
{
    // 08: connection exceptions; 57P01..57P03: the server shutting the session down.
    return state.startsWith("08") || state.startsWith("57P");
}

} // namespace

PgResult::~PgResult()
{
    PQclear(result_);
}

int PgResult::rows() const
{
    return PQntuples(result_);
}

int PgResult::columns() const
{
    return PQnfields(result_);
}

QString PgResult::text(int row, int column) const
{
    return QString::fromUtf8(PQgetvalue(result_, row, column), PQgetlength(result_, row, column));
}

const char* PgResult::data(int row, int column) const
{
    return PQgetvalue(result_, row, column);
}

int PgResult::length(int row, int column) const
{
    return PQgetlength(result_, row, column);
}

bool PgResult::isNull(int row, int column) const
{
    return PQgetisnull(result_, row, column) != 0;
}

QString PgResult::columnName(int column) const
{
    return QString::fromUtf8(PQfname(result_, column));
}

PgConnection::PgConnection(QString conninfo) : conninfo_(std::move(conninfo)) {}

PgConnection::~PgConnection()
{
    if (conn_)
        PQfinish(conn_);
}

namespace {

// libpq quotes pieces of the string in its parse errors: a piece may be a password.
QString withoutQuotedPieces(QString detail)
{
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\""));
    return detail.replace(quoted, QStringLiteral("\"…\""));
}

QString quotedValue(const QString& value)
{
    if (!value.isEmpty() && !value.contains(u' ') && !value.contains(u'\'') && !value.contains(u'\\'))
        return value;
    QString escaped = value;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + escaped + u'\'';
}

} // namespace

QString PgConnection::maskedConninfo(const QString& conninfo)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    PQfreemem(error);
    if (!options)
        return QStringLiteral("indirizzo non valido");
    QStringList settings;
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        if (!o->val)
            continue;
        const QString keyword = QString::fromUtf8(o->keyword);
        const QString value = qstrcmp(o->keyword, "password") == 0 ? QStringLiteral("****")
                                                                   : quotedValue(QString::fromUtf8(o->val));
        settings << keyword + u'=' + value;
    }
    PQconninfoFree(options);
    return settings.join(u' ');
}

QString PgConnection::conninfoProblem(const QString& conninfo)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    if (!options) {
        const QString detail = withoutQuotedPieces(QString::fromUtf8(error ? error : "?").trimmed());
        PQfreemem(error);
        return QStringLiteral("Indirizzo dell'archivio non valido: %1").arg(detail);
    }
    bool password = false;
    for (PQconninfoOption* o = options; o->keyword; ++o) {
        if (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val)
            password = true;
    }
    PQconninfoFree(options);
    if (password)
        return QStringLiteral("L'indirizzo dell'archivio non deve contenere la password: usare ~/.pgpass, "
                              "PGPASSWORD o un file di servizio.");
    return {};
}

bool PgConnection::endedWhileIdle()
{
    if (PQtransactionStatus(conn_) != PQTRANS_IDLE)
        return false;
    // Whatever the server sent (its farewell, a changed setting) is read;
    // the end of the stream, found by the read after the farewell, leaves
    // the connection bad. A few reads at most: a live session has nothing
    // more to say.
    for (int reads = 0; reads < 4 && PQstatus(conn_) == CONNECTION_OK; ++reads) {
        pollfd socket{PQsocket(conn_), POLLIN, 0};
        if (socket.fd < 0 || poll(&socket, 1, 0) <= 0)
            break;
        PQconsumeInput(conn_);
    }
    return PQstatus(conn_) != CONNECTION_OK;
}

void PgConnection::ensureConnected()
{
    if (conn_ && PQstatus(conn_) == CONNECTION_OK && !endedWhileIdle())
        return;
    if (inTransaction_) {
        if (observer_)
            observer_(false, QString::fromUtf8(PQerrorMessage(conn_)));
        throw StoreError::connectionLost(QStringLiteral("transazione interrotta"));
    }
    if (!conn_) {
        const QString problem = conninfoProblem(conninfo_);
        if (!problem.isEmpty())
            throw StoreError(StoreError::Code::CannotOpen, problem);
        const QByteArray info = conninfo_.toUtf8();
        // Limits come before the connection string, which may set its own;
        // the encoding and the name come after it and win.
        const char* keywords[] = {"connect_timeout",  "keepalives_idle",  "keepalives_interval",
                                  "keepalives_count", "tcp_user_timeout", "dbname",
                                  "client_encoding",  "application_name", nullptr};
        const char* values[] = {"10", "30", "10", "3", "30000", info.constData(), "UTF8", "parlix", nullptr};
        conn_ = PQconnectdbParams(keywords, values, 1);
    } else {
        PQreset(conn_);
    }
    if (PQstatus(conn_) != CONNECTION_OK) {
        const QString detail = QString::fromUtf8(PQerrorMessage(conn_)).trimmed();
        PQfinish(conn_);
        conn_ = nullptr;
        if (observer_)
            observer_(false, detail);
        throw StoreError(StoreError::Code::CannotOpen,
                         QStringLiteral("Impossibile collegarsi all'archivio condiviso: %1").arg(detail));
    }
    PQsetNoticeProcessor(conn_, ignoreNotice, nullptr);
    // A new session: nothing prepared, the default schema. The one chosen on
    // the session that ended is chosen again: the statement about to run was
    // meant for it.
    prepared_.clear();
    const QString schema = std::exchange(schema_, QString());
    if (observer_)
        observer_(true, {});
    if (!schema.isEmpty())
        useSchema(schema);
}

void PgConnection::fail(PGresult* result)
{
    const char* sqlstate = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const QString detail = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(conn_));
    // Copied before the result is freed: the state points into it.
    const QByteArray state(sqlstate ? sqlstate : "");
    PQclear(result);
    if (PQstatus(conn_) != CONNECTION_OK || connectionClass(state)) {
        if (observer_)
            observer_(false, detail);
        throw StoreError::connectionLost(detail);
    }
    // unique_violation, duplicate_schema, duplicate_table
    if (state == "23505" || state == "42P06" || state == "42P07")
        throw StoreError(StoreError::Code::Exists, detail.trimmed());
    throw StoreError::engine(detail.trimmed());
}

PgResult PgConnection::exec(const QString& sql, const QStringList& params)
{
    ensureConnected();
    std::vector<QByteArray> utf8;
    utf8.reserve(size_t(params.size()));
    std::vector<const char*> values;
    for (const QString& p : params) {
        utf8.push_back(p.toUtf8());
        values.push_back(utf8.back().constData());
    }
    return check(PQexecParams(conn_, sql.toUtf8().constData(), int(values.size()), nullptr, values.data(),
                              nullptr, nullptr, 0));
}

PgResult PgConnection::execPrepared(const QByteArray& sql, const std::vector<const char*>& values)
{
    ensureConnected();
    auto known = prepared_.constFind(sql);
    if (known == prepared_.cend()) {
        const QByteArray name = "parlix_" + QByteArray::number(prepared_.size() + 1);
        check(PQprepare(conn_, name.constData(), sql.constData(), 0, nullptr));
        known = prepared_.insert(sql, name);
    }
    return check(
        PQexecPrepared(conn_, known->constData(), int(values.size()), values.data(), nullptr, nullptr, 0));
}

void PgConnection::useSchema(const QString& schema)
{
    if (schema == schema_ && conn_ && PQstatus(conn_) == CONNECTION_OK)
        return;
    // "public" stays behind it, where the book list and anything shared by every book live.
    exec(QStringLiteral("SELECT set_config('search_path', $1, false)"),
         {pgIdentifier(schema) + QStringLiteral(", public")});
    schema_ = schema;
}

void PgConnection::run(const QString& sql)
{
    ensureConnected();
    check(PQexec(conn_, sql.toUtf8().constData()));
}

PgResult PgConnection::check(PGresult* result)
{
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(result);
    return PgResult(result);
}

namespace {

QString savepoint(int depth)
{
    return QStringLiteral("parlix_%1").arg(depth);
}

} // namespace

void PgConnection::begin()
{
    if (inTransaction_) {
        exec(QStringLiteral("SAVEPOINT ") + savepoint(savepoints_));
        ++savepoints_;
        return;
    }
    exec(QStringLiteral("BEGIN"));
    inTransaction_ = true;
}

void PgConnection::commit()
{
    if (savepoints_ > 0) {
        --savepoints_;
        exec(QStringLiteral("RELEASE SAVEPOINT ") + savepoint(savepoints_));
        return;
    }
    try {
        exec(QStringLiteral("COMMIT"));
    } catch (...) {
        inTransaction_ = false;
        schema_.clear();
        throw;
    }
    inTransaction_ = false;
}

void PgConnection::rollback()
{
    const bool alive = conn_ && PQstatus(conn_) == CONNECTION_OK;
    // A schema chosen inside the transaction goes with it.
    schema_.clear();
    if (savepoints_ > 0) {
        --savepoints_;
        if (alive && inTransaction_)
            exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepoint(savepoints_));
        return;
    }
    inTransaction_ = false;
    if (alive)
        exec(QStringLiteral("ROLLBACK"));
}

QString PgConnection::serverVersion()
{
    return exec(QStringLiteral("SELECT version()")).text(0, 0);
}

int PgConnection::backendPid()
{
    ensureConnected();
    return PQbackendPID(conn_);
}

int PgConnection::currentBackendPid() const
{
    return conn_ && PQstatus(conn_) == CONNECTION_OK ? PQbackendPID(conn_) : 0;
}

QString pgIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

const QStringList* PgConnection::knownColumns(const QString& table) const
{
    const auto known = columns_.find(table);
    return known == columns_.end() ? nullptr : &known->second;
}

void PgConnection::rememberColumns(const QString& table, QStringList names)
{
    columns_[table] = std::move(names);
}

} // namespace parlix
