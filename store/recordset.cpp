#include "recordset.h"

#include "store/storeerror.h"

#include <algorithm>
#include <limits>

namespace parlix {

Recordset::Recordset(std::shared_ptr<Database> db, Query query, Reading reading)
    : db_(std::move(db)), query_(std::move(query))
{
    fields_ = db_->fields(query_.table);
    if (fields_.isEmpty())
        throw StoreError(StoreError::Code::NoSuchTable,
                         QStringLiteral("L'archivio non contiene la tabella \"%1\".").arg(query_.table));
    // A whole table is read in blocks; the rows matching a condition at once.
    blockRows_ = query_.conditions.empty() ? db_->blockRows() : 0;
    after_ = std::numeric_limits<long long>::min();
    if (reading == Reading::ForwardOnly)
        walk_ = db_->walk(query_);
    if (walk_)
        stepWalk();
    else
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

// The statement lets go of the rows once it finds no more.
void Recordset::stepWalk()
{
    changed_.clear();
    deleted_ = false;
    eof_ = !walk_->step();
}

void Recordset::advance()
{
    if (walk_) {
        stepWalk();
        return;
    }
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
    if (walk_) {
        walk_->reset();
        stepWalk();
        if (eof_)
            throw StoreError::noCurrentRecord();
        return;
    }
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

namespace {

// Field names are plain ASCII: compare by length first and fold letters by hand.
bool sameName(const QString& field, QStringView name)
{
    if (field.size() != name.size())
        return false;
    // Callers mostly spell a field as it is stored.
    if (QStringView(field) == name)
        return true;
    const auto fold = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
    const QChar* a = field.constData();
    const QChar* b = name.data();
    for (qsizetype k = 0; k < name.size(); ++k) {
        if (fold(a[k].unicode()) != fold(b[k].unicode()))
            return false;
    }
    return true;
}

} // namespace

int Recordset::fieldIndex(QStringView name) const
{
    // This is asked for every field of every row of a walk, and a walk asks
    // for the same fields in the same order row after row: the field after
    // the one found last is tried first.
    const int count = int(fields_.size());
    const auto found = [&](int index) {
        nextLookup_ = index + 1 < count ? index + 1 : 0;
        return index;
    };
    if (nextLookup_ < count && sameName(fields_[nextLookup_], name))
        return found(nextLookup_);
    for (int i = 0; i < count; ++i) {
        if (sameName(fields_[i], name))
            return found(i);
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
    // The quick way first: the field after the one asked for last, spelled as
    // it is stored, which is how a walk asks row after row.
    const int count = int(fields_.size());
    const int next = nextLookup_;
    if (next < count) {
        const QString& stored = fields_[next];
        if (stored.size() == name.size() &&
            std::equal(name.utf16(), name.utf16() + name.size(), stored.utf16())) {
            nextLookup_ = next + 1 < count ? next + 1 : 0;
            return cell(next);
        }
    }
    return cell(requireField(name));
}

long long Recordset::rowid() const
{
    requireCurrent();
    return currentKey();
}

long long Recordset::currentKey() const
{
    return walk_ ? walk_->integer(0) : block_.keys[current_];
}

QString Recordset::field(int index) const
{
    if (index < 0 || index >= fields_.size())
        throw StoreError(StoreError::Code::NoSuchField, QStringLiteral("Campo inesistente."));
    return cell(index);
}

QString Recordset::cell(int index) const
{
    requireCurrent();
    const size_t at = current_ * size_t(fields_.size()) + size_t(index);
    if (!changed_.empty()) {
        const auto it = changed_.find(at);
        if (it != changed_.end())
            return it->second;
    }
    if (walk_) {
        // A missing value reads as an empty text, as from a block.
        const QByteArrayView value = walk_->utf8(index + 1);
        return QString::fromUtf8(value.data() ? value : QByteArrayView("", 0));
    }
    const auto& starts = block_.starts;
    return QString::fromUtf8(block_.text.constData() + starts[at], starts[at + 1] - starts[at]);
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
            db_->update(query_.table, currentKey(), names, values);
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
    db_->remove(query_.table, currentKey());
    deleted_ = true;
    count_.reset();
}

} // namespace parlix
