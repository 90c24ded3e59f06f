#include "recordset.h"

#include "database.h"
#include "statement.h"
#include "storeerror.h"

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

Recordset::Recordset(std::shared_ptr<Database> db, Query query) : db_(std::move(db)), query_(std::move(query))
{
    if (!db_->hasTable(query_.table))
        throw StoreError(StoreError::Code::NoSuchTable,
                         QStringLiteral("L'archivio non contiene la tabella \"%1\".").arg(query_.table));
    const QString sql = QStringLiteral("SELECT rowid, * FROM ") + identifier(query_.table) +
                        whereClause(query_) + QStringLiteral(" ORDER BY rowid");
    select_ = std::make_unique<Statement>(*db_, sql);
    for (int i = 0; i < query_.values.size(); ++i)
        select_->bind(i + 1, query_.values[i]);
    for (int c = 1; c < select_->columnCount(); ++c)
        fields_ << select_->columnName(c);
    fetch();
}

Recordset::~Recordset() = default;

void Recordset::fetch()
{
    deleted_ = false;
    changed_.clear();
    eof_ = !select_->step();
    rowid_ = eof_ ? 0 : select_->integer(0);
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
    select_->reset();
    fetch();
    if (eof_)
        throw StoreError::noCurrentRecord();
}

void Recordset::moveNext()
{
    if (eof_)
        throw StoreError::noCurrentRecord();
    fetch();
}

int Recordset::fieldIndex(QStringView name) const
{
    for (int i = 0; i < fields_.size(); ++i) {
        if (name.compare(fields_[i], Qt::CaseInsensitive) == 0)
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

QString Recordset::field(int index) const
{
    requireCurrent();
    if (index < 0 || index >= fields_.size())
        throw StoreError(StoreError::Code::NoSuchField, QStringLiteral("Campo inesistente."));
    if (!changed_.empty()) {
        const auto it = changed_.find(index);
        if (it != changed_.end())
            return it->second;
    }
    return select_->text(index + 1);
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
            change.bind(i, QString::number(rowid_));
            change.step();
            for (const auto& [index, value] : values_)
                changed_[index] = value;
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
    remove.bind(1, QString::number(rowid_));
    remove.step();
    deleted_ = true;
    count_.reset();
}

} // namespace parlix
