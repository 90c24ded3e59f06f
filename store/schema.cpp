#include "schema.h"

#include "database.h"
#include "statement.h"

namespace parlix::schema {

// Every column is text compared without regard to case, as the books of the
// Windows program were; the indexes serve the lookups by number and the
// prefix searches (LIKE uses a NOCASE index).
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
    db->exec("BEGIN;"
             "CREATE TABLE rubrica (Nome TEXT COLLATE NOCASE, cognome TEXT COLLATE NOCASE,"
             " cellulare TEXT COLLATE NOCASE, email TEXT COLLATE NOCASE, icona TEXT COLLATE NOCASE);"
             "CREATE INDEX rubrica_cellulare ON rubrica (cellulare);"
             "CREATE INDEX rubrica_cognome ON rubrica (cognome);"
             "CREATE INDEX rubrica_nome ON rubrica (Nome);"
             "CREATE INDEX rubrica_email ON rubrica (email);"
             "CREATE TABLE salvati (cognome TEXT COLLATE NOCASE, cellulare TEXT COLLATE NOCASE,"
             " Data TEXT COLLATE NOCASE, Testo TEXT COLLATE NOCASE);"
             "CREATE INDEX salvati_chiave ON salvati (cellulare, Data);"
             "CREATE TABLE inviati (cognome TEXT COLLATE NOCASE, cellulare TEXT COLLATE NOCASE,"
             " Data TEXT COLLATE NOCASE, Testo TEXT COLLATE NOCASE);"
             "CREATE INDEX inviati_chiave ON inviati (cellulare, Data);"
             "CREATE TABLE cancellati (cognome TEXT COLLATE NOCASE, cellulare TEXT COLLATE NOCASE,"
             " Data TEXT COLLATE NOCASE, Testo TEXT COLLATE NOCASE);"
             "CREATE INDEX cancellati_chiave ON cancellati (cellulare, Data);"
             "COMMIT;");
}

} // namespace parlix::schema
