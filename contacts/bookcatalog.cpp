#include "bookcatalog.h"

#include "contacts/bookname.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace parlix {

namespace {

const QString elenco = QStringLiteral("elenco");
constexpr QStringView rubricaField = u"Rubrica";

// Rolls the book list back unless commit() was reached.
class Transaction
{
public:
    explicit Transaction(Database& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }
    ~Transaction()
    {
        if (!done_) {
            try {
                db_.exec("ROLLBACK");
            } catch (const StoreError&) {
                // Nothing was committed; SQLite undoes it on close all the same.
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit()
    {
        db_.exec("COMMIT");
        done_ = true;
    }

private:
    Database& db_;
    bool done_ = false;
};

std::optional<BookCatalog::Outcome> checkNewName(const QString& name)
{
    if (name.isEmpty())
        return BookCatalog::Outcome::Empty;
    if (bookNameProblem(name))
        return BookCatalog::Outcome::InvalidName;
    return std::nullopt;
}

} // namespace

void BookCatalog::openList()
{
    state_.percorsodb = state_.folder.bookList();
    state_.openDatabase(state_.percorsodb);
}

QStringList BookCatalog::names()
{
    openList();
    Recordset& rs = state_.openRecordset(queries::wholeTable(elenco));
    const int field = rs.fieldIndex(rubricaField);
    QStringList books;
    for (; !rs.eof(); rs.moveNext())
        books << rs.field(field);
    return books;
}

bool BookCatalog::exists(const QString& name)
{
    // SQLite's NOCASE folds ASCII letters only; "Èlite" and "èlite" would both
    // pass it and then share one file, so the comparison is made here.
    const QStringList books = names();
    return std::any_of(books.begin(), books.end(),
                       [&](const QString& book) { return book.compare(name, Qt::CaseInsensitive) == 0; });
}

QString BookCatalog::existingFile(const QString& name, const QStringList& books) const
{
    const QString exact = state_.folder.booksDir() + u'/' + name;
    if (QFileInfo(exact).isFile())
        return exact;
    const QString found = state_.folder.bookPath(name);
    if (!QFileInfo(found).isFile())
        return {};
    const QString onDisk = QFileInfo(found).fileName();
    return books.contains(onDisk) ? QString() : found;
}

BookCatalog::Outcome BookCatalog::create(const QString& name)
{
    if (const auto refused = checkNewName(name))
        return *refused;
    if (exists(name))
        return Outcome::Exists;

    const QString dir = state_.folder.booksDir();
    if (!QDir().mkpath(dir))
        return Outcome::FileFailure;
    // A file of that name (in any case) is no book of ours, since the name is
    // free: it may be a book whose row was lost, so it is never overwritten.
    if (QFileInfo::exists(state_.folder.bookPath(name)))
        return Outcome::FileConflict;
    const QString path = dir + u'/' + name;
    if (!QFile::copy(state_.folder.bookTemplate(), path))
        return Outcome::FileFailure;

    try {
        openList();
        Recordset& rs = state_.openRecordset(queries::bookByName(name));
        rs.addNew();
        rs.setField(rubricaField, name);
        rs.update();
    } catch (const StoreError&) {
        state_.releaseStore();
        QFile::remove(path);
        throw;
    }
    return Outcome::Done;
}

void BookCatalog::remove(const QString& name)
{
    const QStringList books = names();
    const QStringList others = [&] {
        QStringList list = books;
        list.removeAll(name);
        return list;
    }();
    const QString file = existingFile(name, others);

    openList();
    {
        Transaction transaction(*state_.dbcorrente);
        Recordset& rs = state_.openRecordset(queries::wholeTable(elenco));
        const int field = rs.fieldIndex(rubricaField);
        for (; !rs.eof(); rs.moveNext()) {
            if (rs.field(field) == name)
                rs.deleteCurrent();
        }
        state_.rscorrente.reset();
        transaction.commit();
    }
    // The book may be the one the list or an editor last opened.
    state_.releaseStore();
    if (!file.isEmpty())
        QFile::remove(file);
}

BookCatalog::Outcome BookCatalog::rename(const QString& from, const QString& to)
{
    if (const auto refused = checkNewName(to))
        return *refused;
    const QStringList books = names();
    for (const QString& book : books) {
        if (book.compare(to, Qt::CaseInsensitive) == 0)
            return Outcome::Exists;
    }
    if (!books.contains(from))
        return Outcome::NoSuchBook;

    // No handle of ours may keep writing to the old file once it moves.
    state_.releaseStore();
    QStringList others = books;
    others.removeAll(from);
    const QString oldFile = existingFile(from, others);
    const QString newFile = state_.folder.booksDir() + u'/' + to;
    if (!oldFile.isEmpty()) {
        if (QFileInfo::exists(state_.folder.bookPath(to)))
            return Outcome::FileConflict;
        // One atomic rename in the same folder: no temporary copy is left
        // behind, and an existing file is never overwritten.
        if (!QFile::rename(oldFile, newFile))
            return Outcome::FileFailure;
    }

    try {
        openList();
        Transaction transaction(*state_.dbcorrente);
        Recordset& rs = state_.openRecordset(queries::wholeTable(elenco));
        const int field = rs.fieldIndex(rubricaField);
        for (; !rs.eof(); rs.moveNext()) {
            if (rs.field(field) == from) {
                rs.edit();
                rs.setField(rubricaField, to);
                rs.update();
            }
        }
        state_.rscorrente.reset();
        transaction.commit();
    } catch (const StoreError&) {
        state_.releaseStore();
        if (!oldFile.isEmpty())
            QFile::rename(newFile, oldFile);
        throw;
    }
    return Outcome::Done;
}

} // namespace parlix
