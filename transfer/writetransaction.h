#pragma once

#include "store/database.h"
#include "store/storeerror.h"

namespace parlix {

// One write transaction on a book: rolled back unless commit() is reached,
// so an import that fails part-way leaves the book as it was.
class WriteTransaction
{
public:
    explicit WriteTransaction(Database& db) : db_(db) { db_.begin(); }
    ~WriteTransaction()
    {
        if (done_)
            return;
        try {
            db_.rollback();
        } catch (const StoreError&) {
            // Nothing was committed; the engine drops it when the connection goes.
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit()
    {
        db_.commit();
        done_ = true;
    }

private:
    Database& db_;
    bool done_ = false;
};

} // namespace parlix
