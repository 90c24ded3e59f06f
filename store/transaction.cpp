#include "transaction.h"

#include "store/database.h"
#include "store/storeerror.h"

namespace parlix {

Transaction::Transaction(Database& db, Mode mode) : db_(db)
{
    if (mode == Mode::Exclusive)
        db_.beginExclusive();
    else
        db_.begin();
}

Transaction::~Transaction()
{
    if (done_)
        return;
    try {
        db_.rollback();
    } catch (const StoreError&) {
        // Nothing was committed: the engine drops it when the connection goes.
    }
}

void Transaction::commit()
{
    db_.commit();
    done_ = true;
}

} // namespace parlix
