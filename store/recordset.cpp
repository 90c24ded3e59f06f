#include "recordset.h"

#include "database.h"
#include "statement.h"
#include "storeerror.h"

#include <limits>

namespace parlix {

namespace {

// Table and field names come from the program, never from the user; refuse
// anything that is not a plain identifier all the same.
QString identifier(const QString& name)
{
    if (name.isEmpty())
        throw StoreError::engine(QStringLiteral("nome di tabella vuoto"));
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_')
            throw StoreError::engine(QStringLiteral("nome non valido: %1").arg(name));
    }
    return u'"' + name + u'"';
}

QString whereClause(const Query& query)
{
    return query.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + query.where;
}

} // namespace

namespace {
// Rows read per block of a whole table: large enough that walking a whole
// book costs about the same as one uninterrupted statement, small enough to
// keep little in memory.
constexpr int tableBlockRows = 2048;
} // namespace

Recordset::Recordset(std::shared_ptr<Database> db, Query query) : db_(std::move(db)), query_(std::move(query))
{
    if (!db_->hasTable(query_.table))
        throw StoreError(StoreError::Code::NoSuchTable,
                         QStringLiteral("L'archivio non contiene la tabella \"%1\".").arg(query_.table));
    // A whole table is read in blocks, in rowid order straight off the table.
    // The rows matching a condition are read all at once: each block would
    // search and sort the matches again. "+rowid" keeps the planner on the
    // condition's index rather than walking the table in rowid order.
    if (query_.where.isEmpty()) {
        blockRows_ = tableBlockRows;
        sql_ = QStringLiteral("SELECT rowid, * FROM %1 WHERE rowid > ? ORDER BY rowid LIMIT %2")
                   .arg(identifier(query_.table))
                   .arg(blockRows_);
    } else {
        blockRows_ = 0;
        sql_ = QStringLiteral("SELECT rowid, * FROM %1 WHERE (%2) AND rowid > ? ORDER BY +rowid")
                   .arg(identifier(query_.table), query_.where);
    }
    select_ = std::make_unique<Statement>(*db_, sql_);
    for (int i = 0; i < query_.values.size(); ++i)
        select_->bind(i + 1, query_.values[i]);
    for (int c = 1; c < select_->columnCount(); ++c)
        fields_ << select_->columnName(c);
    after_ = std::numeric_limits<long long>::min();
    readBlock();
}

Recordset::~Recordset() = default;

void Recordset::readBlock()
{
    rowids_.clear();
    text_.resize(0); // keeps the buffer for the next block
    starts_.clear();
    changed_.clear();
    current_ = 0;
    select_->bind(int(query_.values.size()) + 1, after_);
    const int columns = int(fields_.size());
    while (select_->step()) {
        rowids_.push_back(select_->integer(0));
        for (int c = 1; c <= columns; ++c) {
            starts_.push_back(text_.size());
            text_.append(select_->utf8(c));
        }
        if (int(rowids_.size()) == blockRows_) {
            // Stop here and let go of the statement: the next block starts afresh.
            select_->reset();
            break;
        }
    }
    starts_.push_back(text_.size());
    lastBlock_ = blockRows_ == 0 || int(rowids_.size()) < blockRows_;
    if (!rowids_.empty())
        after_ = rowids_.back();
    eof_ = rowids_.empty();
    deleted_ = false;
}

void Recordset::advance()
{
    deleted_ = false;
    if (current_ + 1 < rowids_.size()) {
        ++current_;
        return;
    }
    if (lastBlock_) {
        current_ = rowids_.size();
        eof_ = true;
        return;
    }
    readBlock();
}

QString Recordset::queryPlan() const
{
    Statement plan(*db_, QStringLiteral("EXPLAIN QUERY PLAN ") + sql_);
    for (int i = 0; i < query_.values.size(); ++i)
        plan.bind(i + 1, query_.values[i]);
    plan.bind(int(query_.values.size()) + 1, 0LL);
    QStringList steps;
    while (plan.step())
        steps << plan.text(3);
    return steps.join(QStringLiteral("; "));
}

int Recordset::recordCount()
{
    if (!count_) {
        Statement count(*db_, QStringLiteral("SELECT count(*) FROM ") + identifier(query_.table) +
                                  whereClause(query_));
        for (int i = 0; i < query_.values.size(); ++i)
            count.bind(i + 1, query_.values[i]);
        count_ = count.step() ? int(count.integer(0)) : 0;
    }
    return *count_;
}

void Recordset::moveFirst()
{
    after_ = std::numeric_limits<long long>::min();
    readBlock();
    if (eof_)
        throw StoreError::noCurrentRecord();
}

void Recordset::moveNext()
{
    if (eof_)
        throw StoreError::noCurrentRecord();
    advance();
}

int Recordset::fieldIndex(QStringView name) const
{
    // Field names are plain ASCII; this is asked for every field of every row
    // of a walk, so compare by length first and fold letters by hand.
    const auto fold = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    for (int i = 0; i < fields_.size(); ++i) {
        const QString& field = fields_[i];
        if (field.size() != name.size())
            continue;
        qsizetype k = 0;
        while (k < name.size() && fold(name[k].unicode()) == fold(field[k].unicode()))
            ++k;
        if (k == name.size())
            return i;
    }
    return -1;
}

int Recordset::requireField(QStringView name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw StoreError(
            StoreError::Code::NoSuchField,
            QStringLiteral("Campo \"%1\" inesistente nella tabella \"%2\".").arg(name, query_.table));
    return index;
}

void Recordset::requireCurrent() const
{
    if (eof_ || deleted_)
        throw StoreError::noCurrentRecord();
}

QString Recordset::field(QStringView name) const
{
    return field(requireField(name));
}

long long Recordset::rowid() const
{
    requireCurrent();
    return rowids_[current_];
}

QString Recordset::field(int index) const
{
    requireCurrent();
    if (index < 0 || index >= fields_.size())
        throw StoreError(StoreError::Code::NoSuchField, QStringLiteral("Campo inesistente."));
    const size_t cell = current_ * size_t(fields_.size()) + size_t(index);
    if (!changed_.empty()) {
        const auto it = changed_.find(cell);
        if (it != changed_.end())
            return it->second;
    }
    return QString::fromUtf8(text_.constData() + starts_[cell], starts_[cell + 1] - starts_[cell]);
}

void Recordset::addNew()
{
    pending_ = Pending::Add;
    values_.clear();
}

void Recordset::edit()
{
    requireCurrent();
    pending_ = Pending::Edit;
    values_.clear();
}

void Recordset::setField(QStringView name, const QString& value)
{
    if (pending_ == Pending::None)
        throw StoreError::engine(QStringLiteral("modifica senza AddNew o Edit"));
    values_[requireField(name)] = value;
}

void Recordset::cancelUpdate()
{
    pending_ = Pending::None;
    values_.clear();
}

void Recordset::update()
{
    if (pending_ == Pending::None)
        throw StoreError::engine(QStringLiteral("Update senza AddNew o Edit"));
    const QString table = identifier(query_.table);
    QStringList columns;
    for (const auto& [index, value] : values_)
        columns << identifier(fields_[index]);

    if (pending_ == Pending::Add) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks(columns.size(), QStringLiteral("?"));
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table, columns.join(u','), marks.join(u','));
        }
        Statement insert(*db_, sql);
        int i = 1;
        for (const auto& [index, value] : values_)
            insert.bind(i++, value);
        insert.step();
        count_.reset();
    } else {
        requireCurrent();
        if (!columns.isEmpty()) {
            Statement change(*db_, QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                                       .arg(table, columns.join(QStringLiteral(" = ?, "))));
            int i = 1;
            for (const auto& [index, value] : values_)
                change.bind(i++, value);
            change.bind(i, rowids_[current_]);
            change.step();
            for (const auto& [index, value] : values_)
                changed_[current_ * size_t(fields_.size()) + size_t(index)] = value;
        }
    }
    pending_ = Pending::None;
    values_.clear();
}

void Recordset::deleteCurrent()
{
    requireCurrent();
    Statement remove(*db_, QStringLiteral("DELETE FROM ") + identifier(query_.table) +
                               QStringLiteral(" WHERE rowid = ?"));
    remove.bind(1, rowids_[current_]);
    remove.step();
    deleted_ = true;
    count_.reset();
}

} // namespace parlix
