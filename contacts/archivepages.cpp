#include "archivepages.h"

#include "contacts/archivecolumns.h"
#include "store/database.h"
#include "store/listorder.h"
#include "store/statement.h"

#include <algorithm>
#include <unordered_set>

namespace parlix {

namespace {

// Pages kept: enough for a few screens either side of the one shown.
constexpr size_t keptPages = 32;
// Keys asked for in one statement.
constexpr size_t keysAtOnce = 500;

} // namespace

ArchivePages::ArchivePages(std::shared_ptr<Database> db, ArchiveKind kind, ArchiveOrder order)
    : db_(std::move(db)), kind_(kind), table_(archiveTable(kind)), key_(listorder::keyColumn(*db_))
{
    listorder::addIndexes(*db_, table_);
    setOrder(order);
}

ArchivePages::~ArchivePages() = default;

void ArchivePages::setOrder(ArchiveOrder order)
{
    order_ = order;
    expression_ = listorder::expression(*db_, archiveFields(kind_)[size_t(std::clamp(order.cell, 0, 3))]);
    pages_.clear();
}

void ArchivePages::forget()
{
    count_ = -1;
    pages_.clear();
}

int ArchivePages::count()
{
    if (count_ < 0) {
        Statement st(*db_, listorder::countStatement(*db_, table_));
        count_ = st.step() ? int(st.integer(0)) : 0;
        while (st.step()) {
        }
    }
    return count_;
}

long long ArchivePages::newestKey()
{
    Statement st(*db_, QStringLiteral("SELECT max(%1) FROM %2").arg(key_, table_));
    const long long key = st.step() ? st.integer(0) : 0;
    while (st.step()) {
    }
    return key;
}

QString ArchivePages::columns() const
{
    QStringList names{key_};
    for (const QString& field : archiveFields(kind_))
        names << u'"' + field + u'"';
    names << expression_;
    return names.join(u',');
}

QString ArchivePages::orderBy(bool reversed) const
{
    const bool descending = order_.descending != reversed;
    return descending ? QStringLiteral(" ORDER BY %1 DESC, %2 ASC").arg(expression_, key_)
                      : QStringLiteral(" ORDER BY %1 ASC, %2 DESC").arg(expression_, key_);
}

// The first comparison alone lets the engine start the index range at the
// known row; the second steps over the rows equal to it that come before.
QString ArchivePages::afterCondition(bool reversed) const
{
    const bool descending = order_.descending != reversed;
    return descending ? QStringLiteral("%1 <= ? AND (%1 < ? OR %2 > ?)").arg(expression_, key_)
                      : QStringLiteral("%1 >= ? AND (%1 > ? OR %2 < ?)").arg(expression_, key_);
}

ArchivePages::Page ArchivePages::read(const Boundary* from, bool reversed, int offset)
{
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns(), table_);
    if (offset > 0) {
        // The rows skipped are counted on the index alone; only the page's
        // own rows are read from the table.
        sql += QStringLiteral(" WHERE %1 IN (SELECT %1 FROM %2%3 LIMIT %4 OFFSET ?)")
                   .arg(key_, table_, orderBy(reversed))
                   .arg(pageRows);
    } else if (from) {
        sql += QStringLiteral(" WHERE ") + afterCondition(reversed);
    }
    sql += orderBy(reversed) + QStringLiteral(" LIMIT %1").arg(pageRows);
    Statement st(*db_, sql);
    if (offset > 0) {
        st.bind(1, (long long)offset);
    } else if (from) {
        st.bind(1, from->value);
        st.bind(2, from->value);
        st.bind(3, from->key);
    }
    Page page;
    page.rows.reserve(pageRows);
    while (st.step()) {
        ArchiveRow& row = page.rows.emplace_back();
        row.rowid = st.integer(0);
        for (int i = 0; i < 4; ++i)
            row.cells[size_t(i)] = st.text(i + 1);
        if (page.rows.size() == 1)
            page.firstValue = st.text(5);
        page.lastValue = st.text(5);
    }
    if (reversed) {
        std::reverse(page.rows.begin(), page.rows.end());
        std::swap(page.firstValue, page.lastValue);
    }
    return page;
}

ArchivePages::Page ArchivePages::fetch(int page)
{
    // From a neighbour already read the page starts at a known row, which the
    // index finds at once; far from any, the rows before it are skipped.
    if (const auto before = pages_.find(page - 1);
        before != pages_.end() && before->second.rows.size() == size_t(pageRows)) {
        const Boundary last{before->second.lastValue, before->second.rows.back().rowid};
        return read(&last, false, 0);
    }
    if (const auto after = pages_.find(page + 1); after != pages_.end() && !after->second.rows.empty()) {
        const Boundary first{after->second.firstValue, after->second.rows.front().rowid};
        return read(&first, true, 0);
    }
    return read(nullptr, false, page * pageRows);
}

const ArchiveRow& ArchivePages::row(int position)
{
    static const ArchiveRow none;
    if (position < 0)
        return none;
    const int page = position / pageRows;
    auto found = pages_.find(page);
    if (found == pages_.end()) {
        Page fresh = fetch(page);
        if (pages_.size() >= keptPages) {
            const auto oldest =
                std::min_element(pages_.begin(), pages_.end(),
                                 [](const auto& a, const auto& b) { return a.second.used < b.second.used; });
            pages_.erase(oldest);
        }
        found = pages_.emplace(page, std::move(fresh)).first;
    }
    found->second.used = ++uses_;
    const size_t at = size_t(position % pageRows);
    return at < found->second.rows.size() ? found->second.rows[at] : none;
}

int ArchivePages::position(long long key)
{
    Statement value(*db_, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(expression_, table_, key_));
    value.bind(1, key);
    if (!value.step())
        return -1;
    const QString text = value.text(0);
    while (value.step()) {
    }
    Statement before(*db_,
                     QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(table_, afterCondition(true)));
    before.bind(1, text);
    before.bind(2, text);
    before.bind(3, key);
    const int count = before.step() ? int(before.integer(0)) : -1;
    while (before.step()) {
    }
    return count;
}

void ArchivePages::walk(const std::function<bool(const ArchiveRow&)>& each)
{
    Page page = read(nullptr, false, 0);
    for (;;) {
        for (const ArchiveRow& row : page.rows) {
            if (!each(row))
                return;
        }
        if (page.rows.size() < size_t(pageRows))
            return;
        const Boundary last{page.lastValue, page.rows.back().rowid};
        page = read(&last, false, 0);
    }
}

std::vector<ArchiveRow> ArchivePages::rowsWithKeys(const std::vector<long long>& keys)
{
    std::vector<ArchiveRow> rows;
    if (keys.empty())
        return rows;
    if (keys.size() > keysAtOnce) {
        const std::unordered_set<long long> wanted(keys.begin(), keys.end());
        walk([&](const ArchiveRow& row) {
            if (wanted.contains(row.rowid))
                rows.push_back(row);
            return true;
        });
        return rows;
    }
    QStringList marks;
    for (size_t i = 0; i < keys.size(); ++i)
        marks << QStringLiteral("?");
    Statement st(*db_, QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)%5")
                           .arg(columns(), table_, key_, marks.join(u','), orderBy(false)));
    int mark = 0;
    for (const long long key : keys)
        st.bind(++mark, key);
    while (st.step()) {
        ArchiveRow& row = rows.emplace_back();
        row.rowid = st.integer(0);
        for (int i = 0; i < 4; ++i)
            row.cells[size_t(i)] = st.text(i + 1);
    }
    return rows;
}

} // namespace parlix
