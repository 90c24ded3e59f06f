#include "storemigration.h"

#include "contacts/bookcatalog.h"
#include "core/datafolder.h"
#include "core/programstate.h"
#include "store/bookstorage.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/transaction.h"

#include <algorithm>
#include <optional>

namespace parlix {

namespace {

const QString principale = QStringLiteral("Principale");

// Appends every row of `table`; the number of rows after must be the number
// before plus the rows read.
int copyTable(const std::shared_ptr<Database>& from, const std::shared_ptr<Database>& to,
              const QString& table)
{
    Recordset source(from, queries::wholeTable(table), Recordset::Reading::ForwardOnly);
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

// Every table of a book, the ones the program adds included; a line
// counting the rows of each.
QString copyBook(const std::shared_ptr<Database>& source, const std::shared_ptr<Database>& target)
{
    Database& from = *source;
    QStringList counts;
    for (const QString& table : schema::bookTables())
        counts << QStringLiteral("%1 %2").arg(copyTable(source, target, table)).arg(table);
    // The send journal and the batches kept for later, where the book has them.
    for (const schema::AddedTables& group : schema::addedTables()) {
        if (!from.hasTable(group.tables.first()))
            continue;
        group.add(*target);
        for (const QString& table : group.tables) {
            if (from.hasTable(table))
                counts << QStringLiteral("%1 %2").arg(copyAddedTable(from, *target, table)).arg(table);
        }
        target->keysCopied(group.numbered);
    }
    return counts.join(QStringLiteral(", "));
}

// The books of a store through its own catalog.
struct Side
{
    Side(const DataFolder& folder, std::shared_ptr<Store> store) : state(folder)
    {
        state.store = std::move(store);
    }
    ProgramState state;
    BookCatalog catalog{state};
};

// The opt-out register, beside the book list.
void copyOptOutRegister(Store& from, Store& to, const DataFolder& folder,
                        const std::function<void(const QString&)>& progress)
{
    const auto sourceList = from.open(folder.bookList());
    const QString optOut = QStringLiteral("esclusi");
    if (!sourceList->hasTable(optOut))
        return;
    const auto targetList = to.open(folder.bookList());
    Transaction transaction(*targetList);
    schema::addOptOutTable(*targetList);
    const int rows = copyAddedTable(*sourceList, *targetList, optOut);
    targetList->keysCopied(optOut);
    transaction.commit();
    progress(QStringLiteral("Numeri esclusi: %1").arg(rows));
}

} // namespace

StoreMigration::StoreMigration(const DataFolder& folder, std::shared_ptr<Store> from,
                               std::shared_ptr<Store> to)
    : folder_(folder), from_(std::move(from)), to_(std::move(to))
{}

int StoreMigration::run(const std::function<void(const QString&)>& progress)
{
    to_->prepare();
    Side source(folder_, from_);
    Side target(folder_, to_);
    const QStringList books = source.catalog.names();
    const QStringList present = target.catalog.names();
    for (const QString& book : present) {
        bool empty = book == principale;
        if (empty) {
            const auto db = to_->open(folder_.bookPath(book));
            for (const QString& table : schema::bookTables())
                empty = empty && Recordset(db, queries::wholeTable(table)).recordCount() == 0;
        }
        if (!empty)
            throw StoreError(
                StoreError::Code::Exists,
                QStringLiteral("L'archivio di destinazione non è vuoto: contiene già la rubrica \"%1\".")
                    .arg(book));
    }

    // Every book is checked before the first is written.
    QStringList problems;
    QStringList seen;
    for (const QString& book : books) {
        if (seen.contains(book, Qt::CaseInsensitive))
            problems << QStringLiteral("\"%1\": un'altra rubrica ha lo stesso nome").arg(book);
        seen << book;
        if (!present.contains(book)) {
            if (const auto problem = target.catalog.nameProblem(book))
                problems << QStringLiteral("\"%1\": %2").arg(book, *problem);
        }
        const QString path = folder_.bookPath(book);
        const auto db = path.isEmpty() ? nullptr : from_->open(path);
        for (const QString& table : schema::bookTables()) {
            if (db && !db->hasTable(table)) {
                problems << QStringLiteral("\"%1\": manca la tabella %2").arg(book, table);
                break;
            }
        }
    }
    if (!problems.isEmpty())
        throw StoreError(StoreError::Code::Engine,
                         QStringLiteral("nessuna rubrica copiata, queste non possono passare: ") +
                             problems.join(QStringLiteral("; ")));

    QStringList made;
    const bool shared = to_->books().transactional();
    const auto list = to_->open(folder_.bookList());
    // On a shared database each book's own transaction is a part of this one.
    std::optional<Transaction> whole;
    if (shared)
        whole.emplace(*list);
    int done = 0;
    try {
        done = copy(books, made, progress);
        copyOptOutRegister(*from_, *to_, folder_, progress);
        const QStringList copied = target.catalog.names();
        for (const QString& book : books) {
            if (!copied.contains(book))
                throw StoreError::engine(QStringLiteral("la rubrica \"%1\" manca dopo la copia").arg(book));
        }
        if (whole)
            whole->commit();
    } catch (const StoreError&) {
        if (!shared)
            undo(made);
        throw;
    }
    return done;
}

int StoreMigration::copy(const QStringList& books, QStringList& made,
                         const std::function<void(const QString&)>& progress)
{
    Side target(folder_, to_);
    const bool shared = to_->books().transactional();
    int done = 0;
    for (const QString& book : books) {
        const auto source = from_->open(folder_.bookPath(book));
        QString counts;
        const auto fill = [&](const std::shared_ptr<Database>& into) { counts = copyBook(source, into); };
        if (book == principale) {
            // Already there, empty.
            const auto into = to_->open(folder_.bookPath(book));
            std::optional<Transaction> transaction;
            if (!shared)
                transaction.emplace(*into);
            fill(into);
            if (transaction)
                transaction->commit();
        } else {
            const BookCatalog::Outcome outcome = target.catalog.create(book, fill);
            if (outcome != BookCatalog::Outcome::Done)
                throw StoreError::engine(
                    QStringLiteral("la rubrica \"%1\" non si può creare nella destinazione").arg(book));
            made << book;
        }
        ++done;
        progress(QStringLiteral("%1: %2").arg(book, counts));
    }
    return done;
}

// Takes away what a failed copy into files wrote: the books it made, and the
// rows it put into "Principale", which was empty.
void StoreMigration::undo(const QStringList& made)
{
    Side target(folder_, to_);
    try {
        for (const QString& book : made)
            target.catalog.remove(book);
        const auto db = to_->open(folder_.bookPath(principale));
        Transaction transaction(*db);
        QStringList tables = schema::bookTables();
        for (const schema::AddedTables& group : schema::addedTables())
            tables += group.tables;
        // Rows that others point at go last.
        std::reverse(tables.begin(), tables.end());
        for (const QString& table : tables) {
            if (db->hasTable(table))
                Statement(*db, QStringLiteral("DELETE FROM ") + table).step();
        }
        transaction.commit();
    } catch (const StoreError&) {
        // The copy's own failure is the one to tell.
    }
}

} // namespace parlix
