#include "pgdatabase.h"

#include "store/pgconnection.h"
#include "store/pgstatement.h"
#include "store/query.h"
#include "store/storeerror.h"

#include <algorithm>

namespace parlix {

namespace {
// One round trip per block: fewer, larger blocks than on a local file.
constexpr int tableBlockRows = 8192;
const QString keyColumn = QStringLiteral("chiave");
// The first key of the advisory locks of exclusive transactions ("Parx").
constexpr int exclusiveLockClass = 0x50617278;
} // namespace

PgDatabase::PgDatabase(std::shared_ptr<PgConnection> connection, QString schema, QString path)
    : Database(std::move(path)), connection_(std::move(connection)), schema_(std::move(schema))
{}

void PgDatabase::exec(const char* sql)
{
    // A statement run whole may add or change the columns of a table.
    connection_->forgetColumns();
    connection_->useSchema(schema_);
    connection_->run(QString::fromUtf8(sql));
}

bool PgDatabase::hasTable(const QString& table)
{
    return !fields(table).isEmpty();
}

bool PgDatabase::hasIndex(const QString& index)
{
    const PgResult result =
        connection_->exec(QStringLiteral("SELECT 1 WHERE to_regclass($1) IS NOT NULL"), {qualified(index)});
    return result.rows() > 0;
}

void PgDatabase::begin()
{
    connection_->begin();
}

void PgDatabase::commit()
{
    connection_->commit();
}

void PgDatabase::rollback()
{
    connection_->rollback();
}

QString PgDatabase::qualified(const QString& table) const
{
    return pgIdentifier(schema_) + u'.' + pgIdentifier(table.toLower());
}

QStringList PgDatabase::fields(const QString& table)
{
    const QString name = qualified(table);
    if (const QStringList* known = connection_->knownColumns(name))
        return *known;
    const PgResult result =
        connection_->exec(QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass($1)"
                                         " AND attnum > 0 AND NOT attisdropped ORDER BY attnum"),
                          {name});
    QStringList names;
    for (int r = 0; r < result.rows(); ++r) {
        const QString name = result.text(r, 0);
        if (name != keyColumn)
            names << name;
    }
    // A table not made yet (a journal on an older book) is asked again.
    if (!names.isEmpty())
        connection_->rememberColumns(name, names);
    return names;
}

QString PgDatabase::column(const QString& table, const QString& field)
{
    for (const QString& name : fields(table)) {
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return pgIdentifier(name);
    }
    throw StoreError(StoreError::Code::NoSuchField,
                     QStringLiteral("Campo \"%1\" inesistente nella tabella \"%2\".").arg(field, table));
}

int PgDatabase::blockRows() const
{
    return tableBlockRows;
}

// Text compares without regard to case through lower(), which the indexes of
// the book tables are built on (text_pattern_ops also serves the prefixes).
QString PgDatabase::whereText(const Query& query, QStringList& values)
{
    QStringList parts;
    for (const Condition& c : query.conditions) {
        const QString mark = QStringLiteral("$%1").arg(values.size() + 1);
        if (c.match == Condition::Match::Key) {
            parts << QStringLiteral("chiave = %1::bigint").arg(mark);
            values << c.value;
        } else if (c.match == Condition::Match::Equal) {
            parts << QStringLiteral("lower(%1) = lower(%2)").arg(column(query.table, c.field), mark);
            values << c.value;
        } else {
            parts << QStringLiteral("lower(%1) LIKE lower(%2) ESCAPE '\\'")
                         .arg(column(query.table, c.field), mark);
            values << queries::likePrefix(c.value);
        }
    }
    return parts.join(QStringLiteral(" AND "));
}

QString PgDatabase::selectSql(const Query& query, long long after, int limit, QStringList& values)
{
    QStringList columns{keyColumn};
    for (const QString& name : fields(query.table))
        columns << pgIdentifier(name);
    QString where = whereText(query, values);
    where += (where.isEmpty() ? QString() : QStringLiteral(" AND ")) +
             QStringLiteral("chiave > %1").arg(std::max(after, 0LL));
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY chiave")
                      .arg(columns.join(u','), qualified(query.table), where);
    if (limit > 0)
        sql += QStringLiteral(" LIMIT %1").arg(limit);
    return sql;
}

void PgDatabase::select(const Query& query, long long after, int limit, RowBlock& rows)
{
    QStringList values;
    const QString sql = selectSql(query, after, limit, values);
    const PgResult result = connection_->exec(sql, values);
    const int columns = result.columns();
    for (int r = 0; r < result.rows(); ++r) {
        rows.keys.push_back(std::strtoll(result.data(r, 0), nullptr, 10));
        for (int c = 1; c < columns; ++c) {
            rows.starts.push_back(rows.text.size());
            rows.text.append(result.data(r, c), result.length(r, c));
        }
    }
}

int PgDatabase::count(const Query& query)
{
    QStringList values;
    const QString where = whereText(query, values);
    const PgResult result =
        connection_->exec(QStringLiteral("SELECT count(*) FROM ") + qualified(query.table) +
                              (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
                          values);
    return result.text(0, 0).toInt();
}

void PgDatabase::insert(const QString& table, const QStringList& fields, const QStringList& values)
{
    if (fields.isEmpty()) {
        connection_->exec(QStringLiteral("INSERT INTO ") + qualified(table) +
                          QStringLiteral(" DEFAULT VALUES"));
        return;
    }
    QStringList columns;
    QStringList marks;
    for (const QString& field : fields) {
        columns << column(table, field);
        marks << QStringLiteral("$%1").arg(marks.size() + 1);
    }
    connection_->exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(qualified(table), columns.join(u','), marks.join(u',')),
                      values);
}

void PgDatabase::update(const QString& table, long long key, const QStringList& fields,
                        const QStringList& values)
{
    QStringList sets;
    for (const QString& field : fields)
        sets << column(table, field) + QStringLiteral(" = $%1").arg(sets.size() + 1);
    // One arg() call: a "%N" inside a name is text, never a placeholder.
    connection_->exec(QStringLiteral("UPDATE %1 SET %2 WHERE chiave = %3")
                          .arg(qualified(table), sets.join(QStringLiteral(", ")), QString::number(key)),
                      values);
}

void PgDatabase::remove(const QString& table, long long key)
{
    connection_->exec(
        QStringLiteral("DELETE FROM %1 WHERE chiave = %2").arg(qualified(table), QString::number(key)));
}

QString PgDatabase::queryPlan(const Query& query)
{
    QStringList values;
    const QString sql = selectSql(query, 0, query.conditions.empty() ? tableBlockRows : 0, values);
    const PgResult result = connection_->exec(QStringLiteral("EXPLAIN ") + sql, values);
    QStringList steps;
    for (int r = 0; r < result.rows(); ++r)
        steps << result.text(r, 0).trimmed();
    return steps.join(QStringLiteral("; "));
}

QString PgDatabase::columnType(ColumnType type) const
{
    switch (type) {
    case ColumnType::Key:
        return QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case ColumnType::Integer:
        return QStringLiteral("bigint");
    case ColumnType::Text:
    case ColumnType::CaselessText:
        return QStringLiteral("text");
    }
    return {};
}

std::unique_ptr<PreparedStatement> PgDatabase::prepare(const QString& sql)
{
    return std::make_unique<PgStatement>(connection_, schema_, sql);
}

// The lock is the schema's own, taken for the transaction: seats working on
// other books never wait for it.
void PgDatabase::beginExclusive()
{
    begin();
    try {
        connection_->exec(
            QStringLiteral("SELECT pg_advisory_xact_lock(%1, hashtext($1))").arg(exclusiveLockClass),
            {schema_});
    } catch (...) {
        rollback(); // the transaction never reached a caller that would
        throw;
    }
}

// The commit is acknowledged once the server has flushed it to its log, even
// where the server's own setting would answer sooner.
void PgDatabase::makeCommitsDurable()
{
    connection_->run(QStringLiteral("SET synchronous_commit TO on"));
}

void PgDatabase::keysCopied(const QString& table)
{
    const QString name = qualified(table);
    connection_->exec(QStringLiteral("SELECT setval(pg_get_serial_sequence($1, 'id'),"
                                     " coalesce((SELECT max(id) FROM %1), 0) + 1, false)")
                          .arg(name),
                      {name});
}

} // namespace parlix
