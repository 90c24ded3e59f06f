#include "bookcatalog.h"

#include "contacts/bookname.h"
#include "core/faultpoint.h"
#include "core/programstate.h"
#include "store/bookstorage.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/transaction.h"

#include <QFileInfo>

#include <algorithm>

namespace parlix {

namespace {

const QString elenco = QStringLiteral("elenco");
constexpr QStringView rubricaField = u"Rubrica";

std::optional<BookCatalog::Outcome> checkNewName(const QString& name, const BookStorage& storage)
{
    if (name.isEmpty())
        return BookCatalog::Outcome::Empty;
    if (bookNameProblem(name) || storage.nameProblem(name))
        return BookCatalog::Outcome::InvalidName;
    return std::nullopt;
}

bool containsIgnoringCase(const QStringList& books, const QString& name)
{
    return std::any_of(books.begin(), books.end(),
                       [&](const QString& book) { return book.compare(name, Qt::CaseInsensitive) == 0; });
}

} // namespace

void BookCatalog::openList()
{
    list_ = state_.store->open(state_.folder.bookList());
}

QStringList BookCatalog::readRows()
{
    Recordset rs(list_, queries::wholeTable(elenco));
    const int field = rs.fieldIndex(rubricaField);
    QStringList books;
    for (; !rs.eof(); rs.moveNext())
        books << rs.field(field);
    return books;
}

QStringList BookCatalog::names()
{
    openList();
    return readRows();
}

bool BookCatalog::exists(const QString& name)
{
    // SQLite's NOCASE folds ASCII letters only; "Èlite" and "èlite" would both
    // pass it and then share one file, so the comparison is made here.
    return containsIgnoringCase(names(), name);
}

bool BookCatalog::isStored(const QString& name)
{
    if (!exists(name) || isDamaged(name))
        return false;
    try {
        state_.store->open(state_.folder.bookPath(name));
    } catch (const StoreError& error) {
        if (error.code() == StoreError::Code::CannotOpen)
            return false;
        throw;
    }
    return true;
}

bool BookCatalog::isDamaged(const QString& name) const
{
    return name.isEmpty() || bookNameProblem(name) || state_.folder.bookPath(name).isEmpty();
}

std::optional<QString> BookCatalog::nameProblem(const QString& name) const
{
    if (const auto problem = bookNameProblem(name))
        return problem;
    return storage().nameProblem(name);
}

BookStorage& BookCatalog::storage() const
{
    return state_.store->books();
}

bool BookCatalog::shared() const
{
    return storage().transactional();
}

bool BookCatalog::settled(const QStringList& books)
{
    return !storage().interrupted() || storage().repair(books);
}

std::optional<BookCatalog::Outcome> BookCatalog::refusal(const StoreError& error) const
{
    // On a shared database a name taken meanwhile is another seat's book; a
    // file of that name is none of ours.
    if (error.code() == StoreError::Code::Exists)
        return shared() ? Outcome::Exists : Outcome::FileConflict;
    if (error.code() == StoreError::Code::CannotOpen)
        return Outcome::FileFailure;
    return std::nullopt;
}

BookCatalog::Outcome BookCatalog::change(Transaction& transaction,
                                         const std::function<std::unique_ptr<BookChange>()>& make,
                                         const std::function<void()>& rows, const char* madeStep,
                                         const char* listedStep)
{
    std::unique_ptr<BookChange> made;
    try {
        made = make();
    } catch (const StoreError& error) {
        if (const auto outcome = refusal(error))
            return *outcome;
        throw;
    }
    faultpoint::reach(madeStep);
    try {
        rows();
        transaction.commit();
    } catch (const StoreError& error) {
        // When the book cannot be put back it stays where it is, its change
        // recorded: the next change or start settles it as the list says.
        (void)made->undo();
        if (error.code() == StoreError::Code::Exists && shared())
            return Outcome::Exists; // another seat listed the name meanwhile
        throw;
    } catch (...) {
        (void)made->undo();
        throw;
    }
    faultpoint::reach(listedStep);
    made->finish();
    return Outcome::Done;
}

void BookCatalog::addRow(const QString& name)
{
    Recordset rs(list_, queries::bookByName(name));
    rs.addNew();
    rs.setField(rubricaField, name);
    rs.update();
}

BookCatalog::Outcome BookCatalog::create(const QString& name, const Fill& fill)
{
    if (const auto refused = checkNewName(name, storage()))
        return *refused;
    openList();
    Transaction transaction(*list_);
    const QStringList books = readRows();
    if (containsIgnoringCase(books, name))
        return Outcome::Exists;
    if (!settled(books))
        return Outcome::FileFailure;
    return change(
        transaction, [&] { return storage().create(name); },
        [&] {
            if (fill) {
                const auto book = state_.store->open(state_.folder.bookPath(name));
                Transaction filling(*book);
                fill(book);
                filling.commit();
            }
            addRow(name);
        },
        "book.create.file", "book.create.row");
}

BookCatalog::Outcome BookCatalog::remove(const QString& name)
{
    openList();
    Transaction transaction(*list_);
    const QStringList books = readRows();
    if (!books.contains(name))
        return Outcome::NoSuchBook;
    if (isDamaged(name))
        return Outcome::Damaged;
    if (!settled(books))
        return Outcome::FileFailure;
    return change(
        transaction, [&] { return storage().drop(name, books); },
        [&] {
            Recordset rs(list_, queries::wholeTable(elenco));
            const int field = rs.fieldIndex(rubricaField);
            for (; !rs.eof(); rs.moveNext()) {
                if (rs.field(field) == name)
                    rs.deleteCurrent();
            }
        },
        "book.delete.file", "book.delete.row");
}

BookCatalog::Outcome BookCatalog::rename(const QString& from, const QString& to)
{
    if (const auto refused = checkNewName(to, storage()))
        return *refused;
    openList();
    Transaction transaction(*list_);
    const QStringList books = readRows();
    if (containsIgnoringCase(books, to))
        return Outcome::Exists;
    if (!books.contains(from))
        return Outcome::NoSuchBook;
    if (isDamaged(from))
        return Outcome::Damaged;
    if (!settled(books))
        return Outcome::FileFailure;
    return change(
        transaction, [&] { return storage().rename(from, to, books); },
        [&] {
            Recordset rs(list_, queries::wholeTable(elenco));
            const int field = rs.fieldIndex(rubricaField);
            for (; !rs.eof(); rs.moveNext()) {
                if (rs.field(field) == from) {
                    rs.edit();
                    rs.setField(rubricaField, to);
                    rs.update();
                }
            }
        },
        "book.rename.file", "book.rename.row");
}

BookCatalog::Outcome BookCatalog::ensure(const QString& name)
{
    if (const auto refused = checkNewName(name, storage()))
        return *refused;
    {
        openList();
        Transaction transaction(*list_);
        const QStringList books = readRows();
        if (!settled(books))
            return Outcome::FileFailure;
        const bool listed = containsIgnoringCase(books, name);
        const bool stored = QFileInfo(state_.folder.bookPath(name)).isFile() || storage().exists(name);
        if (listed && stored)
            return Outcome::Done;
        if (stored) {
            addRow(name);
            transaction.commit();
            return Outcome::Done;
        }
        if (listed) {
            try {
                const Outcome made = change(
                    transaction, [&] { return storage().create(name); }, [] {}, "book.create.file",
                    "book.create.row");
                return made == Outcome::Done ? made : Outcome::FileFailure;
            } catch (const StoreError&) {
                return Outcome::FileFailure;
            }
        }
    }
    const Outcome made = create(name);
    // Another program may have made it meanwhile: it is there all the same.
    return made == Outcome::Exists ? Outcome::Done : made;
}

void BookCatalog::repair()
{
    openList();
    if (!storage().interrupted()) {
        readRows(); // an unreadable list is reported all the same
        return;
    }
    Transaction transaction(*list_);
    storage().repair(readRows());
    transaction.commit();
}

} // namespace parlix
