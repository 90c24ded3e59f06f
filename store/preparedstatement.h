#pragma once

#include <QByteArrayView>
#include <QString>

namespace parlix {

// One engine's side of a Statement: made by Database::prepare, one per
// statement text, stepped through the rows of its answer.
class PreparedStatement
{
public:
    virtual ~PreparedStatement() = default;

    virtual void bind(int index, const QString& value) = 0;
    virtual void bind(int index, long long value) = 0;
    // A text given as UTF-8 bytes, copied before the call returns.
    virtual void bindUtf8(int index, QByteArrayView value) = 0;
    virtual void bindNull(int index) = 0;
    virtual bool step() = 0;
    virtual void reset() = 0;

    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    virtual QString text(int column) const = 0;
    virtual QByteArrayView utf8(int column) const = 0;
    virtual long long integer(int column) const = 0;
};

} // namespace parlix
