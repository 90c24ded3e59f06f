#include "programstate.h"

#include "core/storechoice.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"

namespace parlix {

ProgramState::ProgramState(DataFolder dataFolder) : folder(std::move(dataFolder)), store(chooseStore(folder))
{}

ProgramState::~ProgramState() = default;

Database& ProgramState::openDatabase(const QString& path)
{
    rscorrente.reset();
    dbcorrente.reset();
    dbcorrente = store->open(path);
    return *dbcorrente;
}

Recordset& ProgramState::openRecordset(const Query& query)
{
    rscorrente.reset();
    rscorrente = std::make_unique<Recordset>(dbcorrente, query);
    return *rscorrente;
}

void ProgramState::releaseStore()
{
    rscorrente.reset();
    dbcorrente.reset();
}

void ProgramState::clearSelection()
{
    cellularesel.clear();
    cognomesel.clear();
    testosel.clear();
    datasel.clear();
}

} // namespace parlix
