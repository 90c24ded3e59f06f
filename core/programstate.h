#pragma once

#include "core/datafolder.h"
#include "store/query.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace parlix {

class Database;
class Recordset;
class Store;

// The values the whole program shares, passed to every form and operation that
// needs them. The names are the program's own; each has one writer (see the
// comments) and any number of readers.
struct ProgramState
{
    explicit ProgramState(DataFolder dataFolder);
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    DataFolder folder;
    // Where the book list and the books live (chosen by the data folder).
    std::shared_ptr<Store> store;

    // The one open database and recordset. Every store operation that goes
    // through them replaces them; nobody may expect them to still hold what it
    // opened once another form has run.
    QString percorsodb;
    std::shared_ptr<Database> dbcorrente;
    std::unique_ptr<Recordset> rscorrente;

    // Opens `path` as dbcorrente (releasing the recordset on the old one first,
    // so that no handle of ours keeps reading the previous file).
    Database& openDatabase(const QString& path);
    // Opens rscorrente on dbcorrente.
    Recordset& openRecordset(const Query& query);
    // Lets go of both handles, e.g. before a book file is renamed or deleted.
    void releaseStore();

    QString intestazione;          // SMS header, sent as the sender text
    double credito = 0;            // remaining SMS credit
    QString percorsoericsoft;      // folder of the Ericsoft archives
    QStringList codicirivenditore; // reseller codes used in vendor page addresses
    int nodoselezionato = 1;       // 1-based index of the selected tree node
    bool aggiornalista = false;    // a tree click happened: the list may refill
    QString cellularesel;          // number of the row last selected in the list
    QString cognomesel;            // surname of that row
    QString testosel;              // e-mail or message text of that row
    QString datasel;               // date of that row
    bool modificacontatto = false; // the contact editor opens in edit mode

    // Empties the selected-row values (tree click, composer closing).
    void clearSelection();
};

} // namespace parlix
