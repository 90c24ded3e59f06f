#pragma once

#include "core/datafolder.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace parlix {

class Store;

// The settings the whole program shares, passed to every form and operation
// that needs them. The names are the program's own; each has one writer (see
// the comments) and any number of readers. No database handle and no selected
// row lives here: each user opens what it needs from the store, and the
// selected row travels as a value (RowSelection).
struct ProgramState
{
    explicit ProgramState(DataFolder dataFolder);
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    DataFolder folder;
    // Where the book list and the books live (chosen by the data folder).
    std::shared_ptr<Store> store;

    QString intestazione;          // SMS header, sent as the sender text
    double credito = 0;            // remaining SMS credit
    QString percorsoericsoft;      // folder of the Ericsoft archives
    QStringList codicirivenditore; // reseller codes used in vendor page addresses
};

} // namespace parlix
