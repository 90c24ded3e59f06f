#include "storemigration.h"

#include "core/datafolder.h"
#include "store/bookstorage.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/transaction.h"

#include <optional>

namespace parlix {

namespace {

const QString elenco = QStringLiteral("elenco");
const QString principale = QStringLiteral("Principale");

QStringList bookNames(Store& store, const DataFolder& folder)
{
    QStringList names;
    Recordset rs(store.open(folder.bookList()), queries::wholeTable(elenco));
    const int field = rs.fieldIndex(u"Rubrica");
    for (; !rs.eof(); rs.moveNext())
        names << rs.field(field);
    return names;
}

// Appends every row of `table`; the number of rows after must be the number
// before plus the rows read.
int copyTable(const std::shared_ptr<Database>& from, const std::shared_ptr<Database>& to,
              const QString& table)
{
    Recordset source(from, queries::wholeTable(table));
    Recordset target(to, queries::wholeTable(table));
    const int before = target.recordCount();
    std::vector<std::pair<int, QString>> shared; // source field index, target field name
    for (int i = 0; i < source.fieldNames().size(); ++i) {
        if (target.fieldIndex(source.fieldNames()[i]) >= 0)
            shared.emplace_back(i, source.fieldNames()[i]);
    }
    int copied = 0;
    for (; !source.eof(); source.moveNext()) {
        target.addNew();
        for (const auto& [index, name] : shared)
            target.setField(name, source.field(index));
        target.update();
        ++copied;
    }
    const int after = Recordset(to, queries::wholeTable(table)).recordCount();
    if (after != before + copied)
        throw StoreError::engine(QStringLiteral("la tabella %1 ha %2 righe invece di %3")
                                     .arg(table)
                                     .arg(after)
                                     .arg(before + copied));
    return copied;
}

QString quoted(const QString& name)
{
    QString text = name;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

int rowCount(Database& db, const QString& table)
{
    Statement count(db, QStringLiteral("SELECT count(*) FROM ") + table);
    const int rows = count.step() ? int(count.integer(0)) : 0;
    count.reset();
    return rows;
}

// Appends every row of a table the program adds to books, every column as
// it is (keys included, NULL kept NULL); counted again afterwards.
int copyAddedTable(Database& from, Database& to, const QString& table)
{
    QStringList read;
    QStringList written;
    const QStringList targetFields = to.fields(table);
    for (const QString& field : from.fields(table)) {
        for (const QString& target : targetFields) {
            if (target.compare(field, Qt::CaseInsensitive) == 0) {
                read << quoted(field);
                written << quoted(target);
            }
        }
    }
    const int before = rowCount(to, table);
    Statement source(from, QStringLiteral("SELECT %1 FROM %2").arg(read.join(u','), table));
    Statement target(
        to, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, written.join(u','), QStringList(written.size(), QStringLiteral("?")).join(u',')));
    int copied = 0;
    while (source.step()) {
        for (int c = 0; c < written.size(); ++c) {
            const QString value = source.text(c);
            if (value.isNull())
                target.bindNull(c + 1);
            else
                target.bind(c + 1, value);
        }
        target.step();
        ++copied;
    }
    if (rowCount(to, table) != before + copied)
        throw StoreError::engine(QStringLiteral("la tabella %1 non ha le righe copiate").arg(table));
    return copied;
}

} // namespace

int StoreMigration::run(const std::function<void(const QString&)>& progress)
{
    to_.prepare();
    const QStringList books = bookNames(from_, folder_);
    const QStringList present = bookNames(to_, folder_);
    for (const QString& book : present) {
        bool empty = book == principale;
        if (empty) {
            const auto db = to_.open(folder_.bookPath(book));
            for (const QString& table : schema::bookTables())
                empty = empty && Recordset(db, queries::wholeTable(table)).recordCount() == 0;
        }
        if (!empty)
            throw StoreError(
                StoreError::Code::Exists,
                QStringLiteral("L'archivio di destinazione non è vuoto: contiene già la rubrica \"%1\".")
                    .arg(book));
    }

    BookStorage& storage = to_.books();
    int done = 0;
    for (const QString& book : books) {
        const auto list = to_.open(folder_.bookList());
        Transaction listTransaction(*list);
        if (!present.contains(book)) {
            storage.create(book);
            Recordset row(list, queries::wholeTable(elenco));
            row.addNew();
            row.setField(u"Rubrica", book);
            row.update();
        }
        const auto source = from_.open(folder_.bookPath(book));
        const auto target = to_.open(folder_.bookPath(book));
        // Book files are databases of their own; a shared database holds the
        // book in the list's transaction.
        std::optional<Transaction> bookTransaction;
        if (!storage.transactional())
            bookTransaction.emplace(*target);
        QStringList counts;
        for (const QString& table : schema::bookTables())
            counts << QStringLiteral("%1 %2").arg(copyTable(source, target, table)).arg(table);
        // The send journal and the batches kept for later, where the book has them.
        for (const schema::AddedTables& group : schema::addedTables()) {
            if (!source->hasTable(group.tables.first()))
                continue;
            group.add(*target);
            for (const QString& table : group.tables) {
                if (source->hasTable(table))
                    counts << QStringLiteral("%1 %2").arg(copyAddedTable(*source, *target, table)).arg(table);
            }
            target->keysCopied(group.numbered);
        }
        if (bookTransaction)
            bookTransaction->commit();
        listTransaction.commit();
        ++done;
        progress(QStringLiteral("%1: %2").arg(book, counts.join(QStringLiteral(", "))));
    }

    // The opt-out register, beside the book list.
    const auto sourceList = from_.open(folder_.bookList());
    const QString optOut = QStringLiteral("esclusi");
    if (sourceList->hasTable(optOut)) {
        const auto targetList = to_.open(folder_.bookList());
        Transaction transaction(*targetList);
        schema::addOptOutTable(*targetList);
        const int rows = copyAddedTable(*sourceList, *targetList, optOut);
        targetList->keysCopied(optOut);
        transaction.commit();
        progress(QStringLiteral("Numeri esclusi: %1").arg(rows));
    }

    const QStringList copied = bookNames(to_, folder_);
    for (const QString& book : books) {
        if (!copied.contains(book))
            throw StoreError::engine(QStringLiteral("la rubrica \"%1\" manca dopo la copia").arg(book));
    }
    return done;
}

} // namespace parlix
