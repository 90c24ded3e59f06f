#include "schema.h"

#include "database.h"
#include "listorder.h"
#include "pgconnection.h"
#include "statement.h"

#include <utility>
#include <vector>

namespace parlix::schema {

namespace {

// The one definition of a book's tables. Every column is text compared
// without regard to case, as the books of the Windows program were; the
// indexes serve the lookups by number and the prefix searches.
struct Index
{
    const char* name;
    std::vector<const char*> columns;
};

struct Table
{
    const char* name;
    std::vector<const char*> columns;
    std::vector<Index> indexes;
};

const std::vector<Table>& bookDefinition()
{
    static const std::vector<Table> tables = [] {
        const std::vector<const char*> message{"cognome", "cellulare", "Data", "Testo"};
        std::vector<Table> list{{"rubrica",
                                 {"Nome", "cognome", "cellulare", "email", "icona"},
                                 {{"rubrica_cellulare", {"cellulare"}},
                                  {"rubrica_cognome", {"cognome"}},
                                  {"rubrica_nome", {"Nome"}},
                                  {"rubrica_email", {"email"}}}}};
        for (const char* name : {"salvati", "inviati", "cancellati"})
            list.push_back({name, message, {{nullptr, {"cellulare", "Data"}}}});
        return list;
    }();
    return tables;
}

QString indexName(const Table& table, const Index& index)
{
    return index.name ? QString::fromLatin1(index.name)
                      : QString::fromLatin1(table.name) + QStringLiteral("_chiave");
}

QString sqliteBook()
{
    QString sql = QStringLiteral("BEGIN;");
    for (const Table& table : bookDefinition()) {
        QStringList columns;
        for (const char* column : table.columns)
            columns << QString::fromLatin1(column) + QStringLiteral(" TEXT COLLATE NOCASE");
        sql +=
            QStringLiteral("CREATE TABLE %1 (%2);").arg(QString::fromLatin1(table.name), columns.join(u','));
        for (const Index& index : table.indexes) {
            QStringList on;
            for (const char* column : index.columns)
                on << QString::fromLatin1(column);
            sql += QStringLiteral("CREATE INDEX %1 ON %2 (%3);")
                       .arg(indexName(table, index), QString::fromLatin1(table.name), on.join(u','));
        }
        sql += listorder::sqliteIndexes(QString::fromLatin1(table.name));
    }
    return sql + QStringLiteral("COMMIT;");
}

// What every book table's trigger runs. The schema is read when the trigger
// fires, so a renamed book announces its new name.
QString notifyFunction()
{
    return QStringLiteral(
        "CREATE FUNCTION public.parlix_notify() RETURNS trigger LANGUAGE plpgsql AS $f$"
        " BEGIN PERFORM pg_catalog.pg_notify('parlix', TG_TABLE_NAME || '/' || TG_TABLE_SCHEMA);"
        " RETURN NULL; END $f$;");
}

QString notifyTrigger(const QString& qualifiedTable)
{
    return QStringLiteral("CREATE TRIGGER parlix_notify AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %1"
                          " FOR EACH STATEMENT EXECUTE FUNCTION public.parlix_notify();")
        .arg(qualifiedTable);
}

} // namespace

namespace {

// Added to the tables of the batches after they were first made, in this
// order; a book made now gets them the same way, so every book has one layout.
const std::vector<std::pair<QString, QString>>& scheduledColumns()
{
    static const std::vector<std::pair<QString, QString>> columns{
        {QStringLiteral("programmati"), QStringLiteral("Account")},
        {QStringLiteral("programmati"), QStringLiteral("Inviato")},
        {QStringLiteral("programmati_destinatari"), QStringLiteral("Pezzi")},
        {QStringLiteral("programmati_destinatari"), QStringLiteral("Preso")},
        {QStringLiteral("programmati_destinatari"), QStringLiteral("cognome")},
    };
    return columns;
}

// Holds everything the statistics sum, in the order they group it.
constexpr const char* answersIndex = "programmati_destinatari_esiti";

} // namespace

void addJournalTables(Database& db)
{
    using Type = Database::ColumnType;
    db.exec(
        QStringLiteral("CREATE TABLE IF NOT EXISTS lotti (id %1, Data %2, Testo %2,"
                       " concluso %3 NOT NULL DEFAULT 0, inviati %3);"
                       "CREATE TABLE IF NOT EXISTS destinatari (lotto %3 NOT NULL, posizione %3 NOT NULL,"
                       " cognome %2, cellulare %2, stato %3 NOT NULL DEFAULT 0, esito %3 NOT NULL DEFAULT 0,"
                       " PRIMARY KEY (lotto, posizione));")
            .arg(db.columnType(Type::Key), db.columnType(Type::Text), db.columnType(Type::Integer))
            .toUtf8()
            .constData());
}

void addScheduledTables(Database& db)
{
    using Type = Database::ColumnType;
    db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS programmati (id %1, Quando %2 NOT NULL,"
                           " Testo %2, Suddivisione %2, Flash %3 NOT NULL DEFAULT 0, Mittente %2,"
                           " cognome %4, cellulare %4,"
                           " Immediato %3 NOT NULL DEFAULT 0, Stato %2 NOT NULL);"
                           "CREATE INDEX IF NOT EXISTS programmati_quando ON programmati (Stato, Quando);"
                           "CREATE TABLE IF NOT EXISTS programmati_destinatari (programma %3 NOT NULL,"
                           " posizione %3 NOT NULL, cellulare %2, Testo %2, Parti %3 NOT NULL,"
                           " Stato %3 NOT NULL DEFAULT 0, Esito %3, Accettati %3 NOT NULL DEFAULT 0,"
                           " Esecutore %2, PRIMARY KEY (programma, posizione));"
                           "CREATE INDEX IF NOT EXISTS programmati_destinatari_stato"
                           " ON programmati_destinatari (programma, Stato, posizione);")
                .arg(db.columnType(Type::Key), db.columnType(Type::Text), db.columnType(Type::Integer),
                     db.columnType(Type::CaselessText))
                .toUtf8()
                .constData());
    addScheduledColumns(db);
}

void addOptOutTable(Database& db)
{
    using Type = Database::ColumnType;
    db.exec(
        QStringLiteral("CREATE TABLE IF NOT EXISTS esclusi (id %1, Numero %2 NOT NULL UNIQUE, Cellulare %2,"
                       " Aggiunto %2, Origine %2, File %2, Nota %2, Rimosso %2);")
            .arg(db.columnType(Type::Key), db.columnType(Type::Text))
            .toUtf8()
            .constData());
}

bool lacksScheduledColumns(Database& db)
{
    for (const auto& [table, field] : scheduledColumns()) {
        if (!db.fields(table).contains(field, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool lacksAnswersIndex(Database& db)
{
    return !db.hasIndex(QString::fromLatin1(answersIndex));
}

void addScheduledColumns(Database& db)
{
    for (const auto& [table, field] : scheduledColumns()) {
        if (!db.fields(table).contains(field, Qt::CaseInsensitive))
            db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                        .arg(table, field, db.columnType(Database::ColumnType::Text))
                        .toUtf8()
                        .constData());
    }
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON programmati_destinatari"
                           " (programma, Stato, Esito, Parti, Accettati)")
                .arg(QString::fromLatin1(answersIndex))
                .toUtf8()
                .constData());
}

const std::vector<AddedTables>& addedTables()
{
    static const std::vector<AddedTables> groups{
        {{QStringLiteral("lotti"), QStringLiteral("destinatari")}, QStringLiteral("lotti"), addJournalTables},
        {{QStringLiteral("programmati"), QStringLiteral("programmati_destinatari")},
         QStringLiteral("programmati"),
         addScheduledTables},
    };
    return groups;
}

QStringList bookTables()
{
    QStringList names;
    for (const Table& table : bookDefinition())
        names << QString::fromLatin1(table.name);
    return names;
}

void createBookList(const QString& path, const QStringList& books)
{
    auto db = Database::create(path);
    db->exec("BEGIN;"
             "CREATE TABLE elenco (Rubrica TEXT COLLATE NOCASE);"
             "CREATE INDEX elenco_rubrica ON elenco (Rubrica);");
    Statement insert(*db, "INSERT INTO elenco (Rubrica) VALUES (?)");
    for (const QString& book : books) {
        insert.bind(1, book);
        insert.step();
    }
    db->exec("COMMIT;");
}

void createBook(const QString& path)
{
    auto db = Database::create(path);
    db->exec(sqliteBook().toUtf8().constData());
}

// Names are unique without regard to case, which the index keeps even when
// two seats add the same name at once.
QString postgresBookList()
{
    return QStringLiteral(
               "CREATE TABLE public.elenco (chiave bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
               " \"Rubrica\" text NOT NULL);"
               "CREATE UNIQUE INDEX elenco_rubrica ON public.elenco (lower(\"Rubrica\"));") +
           notifyFunction() + notifyTrigger(QStringLiteral("public.elenco"));
}

// lower() with text_pattern_ops serves both "=" and the prefix LIKE without
// regard to case.
QString postgresBook(const QString& name)
{
    const QString schema = pgIdentifier(name);
    QString sql = QStringLiteral("CREATE SCHEMA %1;").arg(schema);
    for (const Table& table : bookDefinition()) {
        QStringList columns{QStringLiteral("chiave bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY")};
        for (const char* column : table.columns)
            columns << pgIdentifier(QString::fromLatin1(column)) + QStringLiteral(" text");
        const QString qualified = schema + u'.' + QString::fromLatin1(table.name);
        sql += QStringLiteral("CREATE TABLE %1 (%2);").arg(qualified, columns.join(u','));
        sql += notifyTrigger(qualified);
        for (const Index& index : table.indexes) {
            QStringList on;
            for (const char* column : index.columns)
                on << QStringLiteral("lower(%1) text_pattern_ops")
                          .arg(pgIdentifier(QString::fromLatin1(column)));
            sql += QStringLiteral("CREATE INDEX %1 ON %2 (%3);")
                       .arg(indexName(table, index), qualified, on.join(u','));
        }
        sql += listorder::postgresIndexes(QString::fromLatin1(table.name), qualified);
    }
    return sql;
}

QString postgresChangeNotices()
{
    QStringList tables;
    for (const QString& table : bookTables())
        tables << u'\'' + table + u'\'';
    return QStringLiteral(
               "DO $notices$ DECLARE t record; BEGIN"
               " PERFORM pg_catalog.set_config('lock_timeout', '2s', true);"
               " IF pg_catalog.to_regprocedure('public.parlix_notify()') IS NULL THEN"
               "  BEGIN %1 EXCEPTION WHEN insufficient_privilege THEN RETURN; END;"
               " END IF;"
               " FOR t IN SELECT n.nspname, c.relname FROM pg_catalog.pg_class c"
               "  JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace"
               "  WHERE c.relkind = 'r' AND (c.relname IN (%2)"
               "  AND n.nspname NOT IN ('public', 'information_schema') AND n.nspname NOT LIKE 'pg\\_%'"
               "  OR n.nspname = 'public' AND c.relname = 'elenco')"
               "  AND NOT EXISTS (SELECT 1 FROM pg_catalog.pg_trigger g"
               "   WHERE g.tgrelid = c.oid AND g.tgname = 'parlix_notify')"
               " LOOP BEGIN"
               "  EXECUTE pg_catalog.format('CREATE TRIGGER parlix_notify AFTER INSERT OR UPDATE OR DELETE OR"
               " TRUNCATE ON %I.%I FOR EACH STATEMENT EXECUTE FUNCTION public.parlix_notify()',"
               " t.nspname, t.relname);"
               " EXCEPTION WHEN insufficient_privilege OR lock_not_available THEN NULL; END; END LOOP;"
               " END $notices$;")
        .arg(notifyFunction(), tables.join(QStringLiteral(", ")));
}

} // namespace parlix::schema
