#include "recordset.h"

#include "store/storeerror.h"

#include <limits>

namespace parlix {

Recordset::Recordset(std::shared_ptr<Database> db, Query query) : db_(std::move(db)), query_(std::move(query))
{
    fields_ = db_->fields(query_.table);
    if (fields_.isEmpty())
        throw StoreError(StoreError::Code::NoSuchTable,
                         QStringLiteral("L'archivio non contiene la tabella \"%1\".").arg(query_.table));
    // A whole table is read in blocks; the rows matching a condition at once.
    blockRows_ = query_.conditions.empty() ? db_->blockRows() : 0;
    after_ = std::numeric_limits<long long>::min();
    readBlock();
}

Recordset::~Recordset() = default;

void Recordset::readBlock()
{
    block_.keys.clear();
    block_.text.resize(0); // keeps the buffer for the next block
    block_.starts.clear();
    changed_.clear();
    current_ = 0;
    db_->select(query_, after_, blockRows_, block_);
    block_.starts.push_back(block_.text.size());
    lastBlock_ = blockRows_ == 0 || int(block_.keys.size()) < blockRows_;
    if (!block_.keys.empty())
        after_ = block_.keys.back();
    eof_ = block_.keys.empty();
    deleted_ = false;
}

void Recordset::advance()
{
    deleted_ = false;
    if (current_ + 1 < block_.keys.size()) {
        ++current_;
        return;
    }
    if (lastBlock_) {
        current_ = block_.keys.size();
        eof_ = true;
        return;
    }
    readBlock();
}

QString Recordset::queryPlan() const
{
    return db_->queryPlan(query_);
}

int Recordset::recordCount()
{
    if (!count_)
        count_ = db_->count(query_);
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
    return block_.keys[current_];
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
    const auto& starts = block_.starts;
    return QString::fromUtf8(block_.text.constData() + starts[cell], starts[cell + 1] - starts[cell]);
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

void Recordset::pendingFields(QStringList& names, QStringList& values) const
{
    for (const auto& [index, value] : values_) {
        names << fields_[index];
        values << value;
    }
}

void Recordset::update()
{
    if (pending_ == Pending::None)
        throw StoreError::engine(QStringLiteral("Update senza AddNew o Edit"));
    QStringList names;
    QStringList values;
    pendingFields(names, values);
    if (pending_ == Pending::Add) {
        db_->insert(query_.table, names, values);
        count_.reset();
    } else {
        requireCurrent();
        if (!names.isEmpty()) {
            db_->update(query_.table, block_.keys[current_], names, values);
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
    db_->remove(query_.table, block_.keys[current_]);
    deleted_ = true;
    count_.reset();
}

} // namespace parlix
