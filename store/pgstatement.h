#pragma once

#include "store/pgconnection.h"
#include "store/preparedstatement.h"

#include <QByteArray>

#include <memory>
#include <optional>
#include <vector>

namespace parlix {

// A statement on one schema of a PostgreSQL database. Its "?" marks become
// $1, $2, ...; it is prepared once per connection, and each run reads the
// whole answer at once, which step() then walks row by row.
class PgStatement final : public PreparedStatement
{
public:
    PgStatement(std::shared_ptr<PgConnection> connection, QString schema, const QString& sql);

    // `sql` with its "?" marks numbered as PostgreSQL wants them, and how many
    // there are; marks inside quotes are left alone.
    static QByteArray numberedMarks(const QString& sql, int& marks);

    void bind(int index, const QString& value) override;
    void bind(int index, long long value) override;
    void bindUtf8(int index, QByteArrayView value) override;
    void bindNull(int index) override;
    bool step() override;
    void reset() override;

    int columnCount() const override;
    QString columnName(int column) const override;
    QString text(int column) const override;
    QByteArrayView utf8(int column) const override;
    long long integer(int column) const override;

private:
    void run();
    std::optional<QByteArray>& slot(int index);

    std::shared_ptr<PgConnection> connection_;
    QString schema_;
    QByteArray sql_;
    std::vector<std::optional<QByteArray>> values_; // unbound: NULL
    std::optional<PgResult> result_;
    int row_ = -1;
};

} // namespace parlix
