#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

class Database;

// How the archive list orders the rows of a book table by one of its fields,
// the same way in both stores: letters without regard to case (the English
// alphabet's; other characters by their code), an absent value as an empty
// text, and the date text of the messages ("dd/MM/yyyy HH:mm:ss", field
// "Data") by its time. Every field the list sorts by has an index on that
// expression, so a window of the ordered rows is read without sorting the
// table.
namespace listorder {

// The fields of `table` the list shows and sorts by; empty for other tables.
QStringList sortedFields(const QString& table);
// The expression the rows are ordered by, in the dialect of `db`, for use in
// a Statement (columns in double quotes).
QString expression(const Database& db, const QString& field);
// The column of the row key: rowid on SQLite, chiave on PostgreSQL.
QString keyColumn(const Database& db);
// The name of the index that serves ordering `table` by `field`.
QString indexName(const QString& table, const QString& field);

// A statement counting the rows of `table`, whose indexes addIndexes() made.
// On SQLite it reads the index of the numbers, short texts in every table:
// left to itself the engine cannot tell how wide an index of an expression
// is, and may count over the widest.
QString countStatement(const Database& db, const QString& table);

// Adds the indexes of `table` that are missing (books made by an older
// program get them when first shown). Nothing for a table that is not there.
void addIndexes(Database& db, const QString& table);

// The same indexes as statements for a new book: SQLite, or the PostgreSQL
// table `qualifiedTable`.
QString sqliteIndexes(const QString& table);
QString postgresIndexes(const QString& table, const QString& qualifiedTable);

} // namespace listorder
} // namespace parlix
