#pragma once

#include "query.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace parlix {

class Database;
class Statement;

// A cursor over the rows of one table in stored (rowid) order, optionally
// narrowed by a condition. It opens positioned on the first row, if any, and
// offers what the address-book code needs: count, end of file, move first and
// next, fields by name (ignoring case), appending a row, changing or deleting
// the current row. Acting on a missing current row throws
// StoreError::Code::NoCurrentRecord.
//
// Rows are read a block at a time and the statement is reset in between, so a
// cursor left half-way (as the program's shared one often is) holds no lock
// on its file and never makes another window wait to write.
class Recordset
{
public:
    Recordset(std::shared_ptr<Database> db, Query query);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    const QString& table() const { return query_.table; }
    const std::shared_ptr<Database>& database() const { return db_; }

    int recordCount();
    // How SQLite reads the rows (its query plan, steps joined by "; ").
    QString queryPlan() const;
    bool eof() const { return eof_; }
    void moveFirst();
    void moveNext();

    // -1 when the table has no such field.
    int fieldIndex(QStringView name) const;
    QString field(QStringView name) const;
    QString field(int index) const;
    // The current row's rowid: what identifies it while it is stored.
    long long rowid() const;
    const QStringList& fieldNames() const { return fields_; }

    // Appending and changing: addNew() or edit(), then setField(), then update().
    void addNew();
    void edit();
    void setField(QStringView name, const QString& value);
    void update();
    void cancelUpdate();

    // Deletes the current row; there is no current row until the next move.
    void deleteCurrent();

private:
    enum class Pending { None, Add, Edit };

    void readBlock();
    void advance();
    void requireCurrent() const;
    int requireField(QStringView name) const;

    std::shared_ptr<Database> db_;
    Query query_;
    QString sql_;
    int blockRows_ = 0; // rows per block; 0 reads every row at once
    std::unique_ptr<Statement> select_;
    QStringList fields_;
    bool eof_ = true;
    bool deleted_ = false;
    std::optional<int> count_;
    Pending pending_ = Pending::None;
    std::map<int, QString> values_; // pending values by field index

    // The block of rows read last: their rowids, and the UTF-8 text of their
    // fields row after row in one buffer (cell k spans starts_[k]..starts_[k+1]).
    // Values changed through update() override the buffer.
    std::vector<long long> rowids_;
    QByteArray text_;
    std::vector<qsizetype> starts_;
    std::map<size_t, QString> changed_;
    size_t current_ = 0;     // index of the current row in the block
    bool lastBlock_ = false; // no rows after this block
    long long after_ = 0;    // the next block starts after this rowid
};

} // namespace parlix
