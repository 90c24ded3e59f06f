#pragma once

// The list benchmarks' book and baseline: a book file of shuffled surnames,
// and a bare table model over a vector of rows, filled from the book's file
// with the sqlite3 C API in one read and sorted by a column, case ignored.
#include "store/database.h"
#include "store/statement.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QChar>
#include <QFile>
#include <QString>
#include <QTableView>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <vector>

namespace parlix::bench {

// `count` contacts "Nome<i>", a surname of eight random letters, "33<1000000 + i>"
// and "utente<i>@example.it", through the store in one transaction.
inline void fillShuffledBook(const QString& path, int count)
{
    auto db = Database::open(path);
    db->exec("BEGIN");
    Statement insert(
        *db, "INSERT INTO rubrica (\"Nome\", cognome, cellulare, email, icona) VALUES (?, ?, ?, ?, '4')");
    std::mt19937 random(42);
    std::uniform_int_distribution<int> letter(0, 25);
    for (int i = 0; i < count; ++i) {
        QString surname;
        for (int c = 0; c < 8; ++c)
            surname += QChar(char16_t((c == 0 ? u'A' : u'a') + letter(random)));
        insert.bind(1, QStringLiteral("Nome%1").arg(i));
        insert.bind(2, surname);
        insert.bind(3, QStringLiteral("33%1").arg(1000000 + i));
        insert.bind(4, QStringLiteral("utente%1@example.it").arg(i));
        insert.step();
        insert.reset();
    }
    db->exec("COMMIT");
}

class BareModel : public QAbstractTableModel
{
public:
    using Row = std::array<QString, 4>;

    void fill(std::vector<Row> rows)
    {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    int rowCount(const QModelIndex& = {}) const override { return int(rows_.size()); }
    int columnCount(const QModelIndex& = {}) const override { return 4; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return rows_[size_t(index.row())][size_t(index.column())];
    }
    void sort(int column, Qt::SortOrder) override
    {
        emit layoutAboutToBeChanged();
        std::stable_sort(rows_.begin(), rows_.end(), [column](const Row& a, const Row& b) {
            return QString::compare(a[size_t(column)], b[size_t(column)], Qt::CaseInsensitive) < 0;
        });
        emit layoutChanged();
    }

private:
    std::vector<Row> rows_;
};

// A bare QTableView over a BareModel, 900 x 600 and shown.
class BareView
{
public:
    BareView()
    {
        view_.setModel(&model_);
        view_.resize(900, 600);
        view_.show();
        QApplication::processEvents();
    }

    // The model emptied, then filled with what `read` returns, sorted by
    // surname and painted.
    void show(const std::function<std::vector<BareModel::Row>()>& read)
    {
        model_.fill({});
        model_.fill(read());
        view_.sortByColumn(2, Qt::AscendingOrder);
        view_.repaint();
        QApplication::processEvents();
    }
    int rows() const { return model_.rowCount(); }

private:
    BareModel model_;
    QTableView view_;
};

// cellulare, Nome, cognome and email of every row of a book's file, in one statement.
inline std::vector<BareModel::Row> readBareRows(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT cellulare, Nome, cognome, email FROM rubrica", -1, &stmt, nullptr);
    std::vector<BareModel::Row> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        BareModel::Row row;
        for (int c = 0; c < 4; ++c)
            row[size_t(c)] = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                               sqlite3_column_bytes(stmt, c));
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

} // namespace parlix::bench
