#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace parlix {
class Database;
}

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
// function behind them and the trigger on every book table, and on the book
// list, that lacks it.
// Tables the seat may not change, or that another seat keeps busy, are left
// for a later start.
QString postgresChangeNotices();

// The four tables of every book.
QStringList bookTables();

// The tables the program adds to a book the first time it needs them, in
// either store, each engine with its own types (Database::columnType): the
// send journal (lotti, destinatari) and the batches kept for later
// (programmati, programmati_destinatari). Both add what is missing and leave
// what is there.
void addJournalTables(Database& db);
// The columns the batches' tables gained since they were first made: the
// gateway login of a batch (Account), the Data of its inviati row (Inviato)
// and a recipient's own parts (Pezzi); and the index that lets the store sum
// a batch's answers without reading its rows (the statistics). Books made
// before get them when first opened by a newer program.
bool lacksScheduledColumns(Database& db);
bool lacksAnswersIndex(Database& db);
void addScheduledColumns(Database& db);
void addScheduledTables(Database& db);
// The opt-out register of the data folder, in the book list's archive
// (elenco.mdb, or schema "public" of a shared database): table esclusi, one
// row per number ever registered, keyed by its E.164 form (Numero), with the
// number as typed, when and how it came in (Origine "digitato" or
// "importato", File) and a note; Rimosso holds the date of its removal, NULL
// while it is honoured.
void addOptOutTable(Database& db);

// One group of those tables: their names (a table after the one its rows
// refer to), the one whose "id" the engine numbers, and how they are made.
struct AddedTables
{
    QStringList tables;
    QString numbered;
    void (*add)(Database& db);
};
const std::vector<AddedTables>& addedTables();

} // namespace parlix::schema
