#include "database.h"

#include "store/sqlitedatabase.h"

namespace parlix {

Database::~Database() = default;

std::shared_ptr<Database> Database::open(const QString& path)
{
    return SqliteDatabase::open(path);
}

std::shared_ptr<Database> Database::create(const QString& path)
{
    return SqliteDatabase::create(path);
}

} // namespace parlix
