#pragma once

#include "store/database.h"
#include "store/query.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace parlix {

// A cursor over the rows of one table in stored (row key) order, optionally
// narrowed by conditions. It opens positioned on the first row, if any, and
// offers what the address-book code needs: count, end of file, move first and
// next, fields by name (ignoring case), appending a row, changing or deleting
// the current row. Acting on a missing current row throws
// StoreError::Code::NoCurrentRecord.
//
// Rows are read a block at a time and nothing is held open in between, so a
// cursor left half-way (as the program's shared one often is) holds no lock
// and never makes another window or seat wait to write.
//
// A caller that reads every row in one go, with nothing else to wait for in
// between, asks for a forward-only walk instead: on SQLite the rows then come
// straight from one statement, not copied a block at a time, and the file is
// held for reading until the walk reaches its end or the recordset is gone.
// Elsewhere it reads in blocks as usual. Everything else works alike.
class Recordset
{
public:
    enum class Reading { Blocks, ForwardOnly };

    Recordset(std::shared_ptr<Database> db, Query query, Reading reading = Reading::Blocks);
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    const QString& table() const { return query_.table; }
    const std::shared_ptr<Database>& database() const { return db_; }

    int recordCount();
    // How the engine reads the rows (its query plan, steps joined by "; ").
    QString queryPlan() const;
    bool eof() const { return eof_; }
    void moveFirst();
    void moveNext();

    // -1 when the table has no such field.
    int fieldIndex(QStringView name) const;
    QString field(QStringView name) const;
    QString field(int index) const;
    // The current row's own key: what identifies it while it is stored.
    long long rowid() const;
    const QStringList& fieldNames() const { return fields_; }

    // Appending and changing: addNew() or edit(), then setField(), then update().
    void addNew();
    void edit();
    void setField(QStringView name, const QString& value);
    void update();

    // Deletes the current row; there is no current row until the next move.
    void deleteCurrent();

private:
    enum class Pending { None, Add, Edit };

    void readBlock();
    void stepWalk();
    void advance();
    long long currentKey() const;
    void requireCurrent() const;
    int requireField(QStringView name) const;
    // The current row's value of a field known to exist.
    QString cell(int index) const;
    void pendingFields(QStringList& names, QStringList& values) const;

    std::shared_ptr<Database> db_;
    Query query_;
    int blockRows_ = 0; // rows per block; 0 reads every row at once
    QStringList fields_;
    mutable int nextLookup_ = 0; // the field fieldIndex() tries first
    bool eof_ = true;
    bool deleted_ = false;
    std::optional<int> count_;
    Pending pending_ = Pending::None;
    std::map<int, QString> values_; // pending values by field index

    // The block of rows read last. Values changed through update() override it.
    RowBlock block_;
    std::map<size_t, QString> changed_;
    size_t current_ = 0;     // index of the current row in the block
    bool lastBlock_ = false; // no rows after this block
    long long after_ = 0;    // the next block starts after this key

    // A forward-only walk's statement, on its current row; no block then.
    std::unique_ptr<PreparedStatement> walk_;
};

} // namespace parlix
