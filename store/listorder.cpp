#include "listorder.h"

#include "store/database.h"

namespace parlix::listorder {

namespace {

const QString dateField = QStringLiteral("Data");

// "dd/MM/yyyy HH:mm:ss" rearranged as "yyyyMMddHH:mm:ss", which sorts by time.
QString dateExpression()
{
    const QString value = QStringLiteral("coalesce(\"Data\",'')");
    return QStringLiteral("(substr(%1,7,4)||substr(%1,4,2)||substr(%1,1,2)||substr(%1,12))").arg(value);
}

QString sqliteExpression(const QString& field)
{
    if (field == dateField)
        return dateExpression();
    return QStringLiteral("coalesce(\"%1\",'') COLLATE NOCASE").arg(field);
}

// lower() under the "C" collation folds the English letters only and the
// collation compares the bytes: the order of SQLite's NOCASE.
QString postgresExpression(const QString& field)
{
    if (field == dateField)
        return dateExpression();
    return QStringLiteral("lower(coalesce(\"%1\",'') COLLATE \"C\")").arg(field);
}

bool onPostgres(const Database& db)
{
    return db.handle() == nullptr;
}

} // namespace

QStringList sortedFields(const QString& table)
{
    const QString name = table.toLower();
    if (name == u"rubrica")
        return {QStringLiteral("cellulare"), QStringLiteral("Nome"), QStringLiteral("cognome"),
                QStringLiteral("email")};
    if (name == u"salvati" || name == u"inviati" || name == u"cancellati")
        return {QStringLiteral("cellulare"), QStringLiteral("cognome"), dateField, QStringLiteral("Testo")};
    return {};
}

QString expression(const Database& db, const QString& field)
{
    return onPostgres(db) ? postgresExpression(field) : sqliteExpression(field);
}

QString keyColumn(const Database& db)
{
    return onPostgres(db) ? QStringLiteral("chiave") : QStringLiteral("rowid");
}

QString indexName(const QString& table, const QString& field)
{
    return table.toLower() + QStringLiteral("_ordine_") + field.toLower();
}

QString sqliteIndexes(const QString& table)
{
    QString sql;
    for (const QString& field : sortedFields(table))
        sql += QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3);")
                   .arg(indexName(table, field), table, sqliteExpression(field));
    return sql;
}

// The key follows in the index, newest first, as among equal values in the
// list; the field itself is kept beside it, so that counting and skipping
// rows reads the index alone.
QString postgresIndexes(const QString& table, const QString& qualifiedTable)
{
    QString sql;
    for (const QString& field : sortedFields(table))
        sql += QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 ((%3), chiave DESC) INCLUDE (\"%4\");")
                   .arg(indexName(table, field), qualifiedTable, postgresExpression(field), field);
    return sql;
}

QString countStatement(const Database& db, const QString& table)
{
    const QString count = QStringLiteral("SELECT count(*) FROM ") + table;
    if (onPostgres(db))
        return count;
    return count + QStringLiteral(" INDEXED BY ") + indexName(table, QStringLiteral("cellulare"));
}

void addIndexes(Database& db, const QString& table)
{
    const QStringList fields = sortedFields(table);
    bool complete = true;
    for (const QString& field : fields)
        complete = complete && db.hasIndex(indexName(table, field));
    if (complete || !db.hasTable(table))
        return;
    const QString sql = onPostgres(db) ? postgresIndexes(table, table) : sqliteIndexes(table);
    db.exec(sql.toUtf8().constData());
}

} // namespace parlix::listorder
