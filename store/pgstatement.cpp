#include "pgstatement.h"

#include "store/storeerror.h"

#include <cstdlib>

namespace parlix {

PgStatement::PgStatement(std::shared_ptr<PgConnection> connection, QString schema, const QString& sql)
    : connection_(std::move(connection)), schema_(std::move(schema))
{
    int marks = 0;
    sql_ = numberedMarks(sql, marks);
    values_.resize(size_t(marks));
}

QByteArray PgStatement::numberedMarks(const QString& sql, int& marks)
{
    QString numbered;
    numbered.reserve(sql.size() + 16);
    marks = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            numbered += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            numbered += c;
        } else if (c == u'?') {
            numbered += u'$' + QString::number(++marks);
        } else {
            numbered += c;
        }
    }
    return numbered.toUtf8();
}

void PgStatement::bind(int index, const QString& value)
{
    slot(index) = value.toUtf8(); // an empty text is '', not NULL
}

void PgStatement::bindUtf8(int index, QByteArrayView value)
{
    std::optional<QByteArray>& held = slot(index);
    if (held) {
        held->truncate(0); // keeps the buffer from row to row
        held->append(value);
    } else {
        held = value.toByteArray();
    }
}

void PgStatement::bindNull(int index)
{
    slot(index).reset();
}

std::optional<QByteArray>& PgStatement::slot(int index)
{
    if (index < 1 || size_t(index) > values_.size())
        throw StoreError::engine(QStringLiteral("valore %1 fuori dai segnaposto dell'istruzione").arg(index));
    return values_[size_t(index - 1)];
}

void PgStatement::bind(int index, long long value)
{
    bind(index, QString::number(value));
}

void PgStatement::run()
{
    connection_->useSchema(schema_);
    std::vector<const char*> values;
    values.reserve(values_.size());
    for (const auto& value : values_)
        values.push_back(value ? value->constData() : nullptr);
    result_.emplace(connection_->execPrepared(sql_, values));
    row_ = -1;
}

bool PgStatement::step()
{
    if (!result_)
        run();
    if (++row_ < result_->rows())
        return true;
    reset();
    return false;
}

void PgStatement::reset()
{
    result_.reset();
    row_ = -1;
}

int PgStatement::columnCount() const
{
    return result_ ? result_->columns() : 0;
}

QString PgStatement::columnName(int column) const
{
    return result_ ? result_->columnName(column) : QString();
}

QString PgStatement::text(int column) const
{
    if (!result_ || result_->isNull(row_, column))
        return {};
    return result_->text(row_, column);
}

QByteArrayView PgStatement::utf8(int column) const
{
    if (!result_)
        return {};
    return {result_->data(row_, column), result_->length(row_, column)};
}

long long PgStatement::integer(int column) const
{
    return result_ ? std::strtoll(result_->data(row_, column), nullptr, 10) : 0;
}

} // namespace parlix
