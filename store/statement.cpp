#include "statement.h"

#include "store/database.h"
#include "store/preparedstatement.h"

namespace parlix {

Statement::Statement(Database& db, const char* sql) : impl_(db.prepare(QString::fromUtf8(sql))) {}

Statement::Statement(Database& db, const QString& sql) : impl_(db.prepare(sql)) {}

Statement::~Statement() = default;

void Statement::bind(int index, const QString& value)
{
    impl_->bind(index, value);
}

void Statement::bind(int index, long long value)
{
    impl_->bind(index, value);
}

void Statement::bindUtf8(int index, QByteArrayView value)
{
    impl_->bindUtf8(index, value);
}

void Statement::bindNull(int index)
{
    impl_->bindNull(index);
}

bool Statement::step()
{
    return impl_->step();
}

void Statement::reset()
{
    impl_->reset();
}

int Statement::columnCount() const
{
    return impl_->columnCount();
}

QString Statement::columnName(int column) const
{
    return impl_->columnName(column);
}

QString Statement::text(int column) const
{
    return impl_->text(column);
}

QByteArrayView Statement::utf8(int column) const
{
    return impl_->utf8(column);
}

long long Statement::integer(int column) const
{
    return impl_->integer(column);
}

} // namespace parlix
