#pragma once

#include <QString>
#include <QStringList>

namespace parlix::schema {

// The list of address books: table elenco(Rubrica), one row per book, in tree order.
void createBookList(const QString& path, const QStringList& books);
// An address book: tables rubrica, salvati, inviati, cancellati, all empty.
// Used for the template; books themselves are copies of the template file.
void createBook(const QString& path);

// The same layout for a PostgreSQL database, as statements to run in one
// transaction. Every table gets a key column "chiave" that orders its rows.
// The book list lives in schema "public", each book in a schema of its own.
QString postgresBookList();
// Makes schema `name` (any text: it is quoted) with the four book tables.
// Every change to a book table is announced on the channel "parlix" with the
// payload "<table>/<schema>" once its transaction commits, one notice per
// statement.
QString postgresBook(const QString& name);
// Brings a database laid out before the announcements up to date: the
// function behind them and the trigger on every book table that lacks it.
// Tables the seat may not change, or that another seat keeps busy, are left
// for a later start.
QString postgresChangeNotices();

// The four tables of every book.
QStringList bookTables();

} // namespace parlix::schema
