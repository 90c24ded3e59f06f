#pragma once

namespace parlix {

class Database;

// Rolls back unless committed, so an exception leaves the archive as it was.
class Transaction
{
public:
    enum class Mode {
        Write,
        Exclusive, // see Database::beginExclusive()
    };
    explicit Transaction(Database& db, Mode mode = Mode::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& db_;
    bool done_ = false;
};

} // namespace parlix
