#include "bookcatalog.h"

#include "contacts/bookname.h"
#include "core/faultpoint.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "store/bookstorage.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace parlix {

namespace {

const QString elenco = QStringLiteral("elenco");
constexpr QStringView rubricaField = u"Rubrica";

// The record of a change under way: its kind and names, one per line. It is
// written (and flushed to disk) before the first file is touched and removed
// once rows and files agree again.
class Intent
{
public:
    Intent(QString path, const QStringList& lines) : path_(std::move(path))
    {
        written_ = textfile::writeLines(path_, lines);
    }
    ~Intent()
    {
        if (written_)
            QFile::remove(path_);
    }
    Intent(const Intent&) = delete;
    Intent& operator=(const Intent&) = delete;

    bool written() const { return written_; }

private:
    QString path_;
    bool written_ = false;
};

// The rows of the book list, in its transaction: `name`'s row added, its
// rows removed, or the rows of `from` named `to`.
void addRow(const std::shared_ptr<Database>& list, const QString& name)
{
    Recordset rs(list, queries::bookByName(name));
    rs.addNew();
    rs.setField(rubricaField, name);
    rs.update();
}

void removeRows(const std::shared_ptr<Database>& list, const QString& name)
{
    Recordset rs(list, queries::wholeTable(elenco));
    const int field = rs.fieldIndex(rubricaField);
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.field(field) == name)
            rs.deleteCurrent();
    }
}

void renameRows(const std::shared_ptr<Database>& list, const QString& from, const QString& to)
{
    Recordset rs(list, queries::wholeTable(elenco));
    const int field = rs.fieldIndex(rubricaField);
    for (; !rs.eof(); rs.moveNext()) {
        if (rs.field(field) == from) {
            rs.edit();
            rs.setField(rubricaField, to);
            rs.update();
        }
    }
}

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

bool moveWithoutReplacing(const QString& from, const QString& to)
{
    // QFile::rename refuses an existing target and stays one rename() in one folder.
    return QFile::rename(from, to);
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

// On a shared database the book's schema and its row are made, renamed or
// dropped in the list's transaction, so every seat sees the whole change or
// none of it. A seat that makes the same name at the same moment waits for
// this one and then finds the name taken.
BookCatalog::Outcome BookCatalog::sharedChange(Transaction& transaction, const std::function<void()>& change)
{
    try {
        change();
        transaction.commit();
    } catch (const StoreError& error) {
        if (error.code() == StoreError::Code::Exists)
            return Outcome::Exists;
        throw;
    }
    return Outcome::Done;
}

BookCatalog::Outcome BookCatalog::sharedCreate(const QString& name, const Fill& fill,
                                               Transaction& transaction)
{
    return sharedChange(transaction, [&] {
        storage().create(name);
        if (fill)
            fill(state_.store->open(state_.folder.bookPath(name)));
        addRow(list_, name);
    });
}

BookCatalog::Outcome BookCatalog::sharedRemove(const QString& name, Transaction& transaction)
{
    removeRows(list_, name);
    storage().drop(name);
    transaction.commit();
    return Outcome::Done;
}

BookCatalog::Outcome BookCatalog::sharedRename(const QString& from, const QString& to,
                                               Transaction& transaction)
{
    return sharedChange(transaction, [&] {
        if (storage().exists(from))
            storage().rename(from, to);
        renameRows(list_, from, to);
    });
}

QString BookCatalog::intentPath() const
{
    return state_.folder.path(QStringLiteral("elenco.in-corso"));
}

QString BookCatalog::trashPath() const
{
    return state_.folder.booksDir() + QStringLiteral("/.eliminata");
}

QString BookCatalog::existingFile(const QString& name, const QStringList& books) const
{
    const QString exact = state_.folder.booksDir() + u'/' + name;
    if (QFileInfo(exact).isFile() && !QFileInfo(exact).isSymLink())
        return exact;
    const QString found = state_.folder.bookPath(name);
    if (found.isEmpty() || !QFileInfo(found).isFile())
        return {};
    const QString onDisk = QFileInfo(found).fileName();
    return books.contains(onDisk) ? QString() : found;
}

BookCatalog::Outcome BookCatalog::create(const QString& name, const Fill& fill)
{
    if (const auto refused = checkNewName(name, storage()))
        return *refused;
    openList();
    Transaction transaction(*list_);
    if (containsIgnoringCase(readRows(), name))
        return Outcome::Exists;
    if (shared())
        return sharedCreate(name, fill, transaction);

    const QString dir = state_.folder.booksDir();
    if (!QDir().mkpath(dir))
        return Outcome::FileFailure;
    // A file of that name (in any case) is no book of ours, since the name is
    // free: it may be a book whose row was lost, so it is never overwritten.
    const QFileInfo present(state_.folder.booksDir() + u'/' + name);
    if (present.exists() || present.isSymLink() || QFileInfo::exists(state_.folder.bookPath(name)))
        return Outcome::FileConflict;

    const Intent intent(intentPath(), {QStringLiteral("create"), name});
    const QString path = dir + u'/' + name;
    if (!intent.written())
        return Outcome::FileFailure;
    try {
        storage().create(name);
    } catch (const StoreError& error) {
        return error.code() == StoreError::Code::Exists ? Outcome::FileConflict : Outcome::FileFailure;
    }
    faultpoint::reach("book.create.file");

    try {
        if (fill) {
            const auto book = state_.store->open(state_.folder.bookPath(name));
            Transaction filling(*book);
            fill(book);
            filling.commit();
        }
        addRow(list_, name);
        transaction.commit();
    } catch (const StoreError&) {
        QFile::remove(path);
        throw;
    }
    faultpoint::reach("book.create.row");
    return Outcome::Done;
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
    if (shared())
        return sharedRemove(name, transaction);
    QStringList others = books;
    others.removeAll(name);
    const QString file = existingFile(name, others);

    const Intent intent(intentPath(), {QStringLiteral("delete"), name, QFileInfo(file).fileName()});
    if (!intent.written())
        return Outcome::FileFailure;
    // The file first goes aside, so that until the rows are gone it can come back.
    if (!file.isEmpty()) {
        QFile::remove(trashPath());
        if (!moveWithoutReplacing(file, trashPath()))
            return Outcome::FileFailure;
    }
    faultpoint::reach("book.delete.file");
    try {
        removeRows(list_, name);
        transaction.commit();
    } catch (const StoreError&) {
        if (!file.isEmpty())
            moveWithoutReplacing(trashPath(), file);
        throw;
    }
    faultpoint::reach("book.delete.row");
    QFile::remove(trashPath());
    return Outcome::Done;
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
    if (shared())
        return sharedRename(from, to, transaction);

    QStringList others = books;
    others.removeAll(from);
    const QString oldFile = existingFile(from, others);
    const QString newFile = state_.folder.booksDir() + u'/' + to;
    const Intent intent(intentPath(), {QStringLiteral("rename"), from, to, QFileInfo(oldFile).fileName()});
    if (!intent.written())
        return Outcome::FileFailure;
    if (!oldFile.isEmpty()) {
        const QFileInfo present(newFile);
        if (present.exists() || present.isSymLink() || QFileInfo::exists(state_.folder.bookPath(to)))
            return Outcome::FileConflict;
        // One atomic rename in the same folder: no temporary copy is left
        // behind, and an existing file is never overwritten.
        if (!moveWithoutReplacing(oldFile, newFile))
            return Outcome::FileFailure;
    }
    faultpoint::reach("book.rename.file");

    try {
        renameRows(list_, from, to);
        transaction.commit();
    } catch (const StoreError&) {
        if (!oldFile.isEmpty())
            moveWithoutReplacing(newFile, oldFile);
        throw;
    }
    faultpoint::reach("book.rename.row");
    return Outcome::Done;
}

BookCatalog::Outcome BookCatalog::ensure(const QString& name)
{
    if (const auto refused = checkNewName(name, storage()))
        return *refused;
    {
        openList();
        Transaction transaction(*list_);
        const bool listed = containsIgnoringCase(readRows(), name);
        const bool stored = QFileInfo(state_.folder.bookPath(name)).isFile() || storage().exists(name);
        if (listed && stored)
            return Outcome::Done;
        if (listed || stored) {
            if (stored) {
                Recordset rs(list_, queries::bookByName(name));
                rs.addNew();
                rs.setField(rubricaField, name);
                rs.update();
            } else {
                try {
                    storage().create(name);
                } catch (const StoreError&) {
                    return Outcome::FileFailure;
                }
            }
            transaction.commit();
            return Outcome::Done;
        }
    }
    const Outcome made = create(name);
    // Another program may have made it meanwhile: it is there all the same.
    return made == Outcome::Exists ? Outcome::Done : made;
}

void BookCatalog::repair()
{
    if (shared()) {
        // Each change on a shared database is one transaction: nothing is left half-made.
        names();
        return;
    }
    const QString dir = state_.folder.booksDir();
    // Temporary files of an interrupted copy: hidden, so never a book's.
    static const QRegularExpression temporary(QStringLiteral("^\\..+\\.[A-Za-z0-9]{6}$"));
    QStringList leftovers;
    for (const QString& entry : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (temporary.match(entry).hasMatch())
            leftovers << entry;
    }
    openList();
    const auto intent = textfile::readLines(intentPath());
    if (!intent && leftovers.isEmpty() && !QFileInfo::exists(trashPath())) {
        readRows(); // an unreadable list is reported all the same
        return;
    }

    Transaction transaction(*list_);
    const QStringList books = readRows();
    const QStringList lines = intent.value_or(QStringList());
    const QString kind = lines.value(0);
    const auto file = [&dir](const QString& name) { return dir + u'/' + name; };
    const auto safe = [](const QString& name) { return !name.isEmpty() && !bookNameProblem(name); };
    if (kind == u"create" && safe(lines.value(1))) {
        // The name was free, in any case, when the file was made.
        if (!books.contains(lines.value(1)))
            QFile::remove(file(lines.value(1)));
    } else if (kind == u"delete" && safe(lines.value(1))) {
        const QString onDisk = lines.value(2);
        if (books.contains(lines.value(1)) && safe(onDisk) && !QFileInfo::exists(file(onDisk)))
            moveWithoutReplacing(trashPath(), file(onDisk));
    } else if (kind == u"rename" && safe(lines.value(1)) && safe(lines.value(2))) {
        const QString from = lines.value(1);
        const QString to = lines.value(2);
        const QString onDisk = lines.value(3);
        if (safe(onDisk)) {
            if (books.contains(to) && !books.contains(from) && !QFileInfo::exists(file(to)))
                moveWithoutReplacing(file(onDisk), file(to));
            else if (books.contains(from) && !QFileInfo::exists(file(onDisk)))
                moveWithoutReplacing(file(to), file(onDisk));
        }
    }
    QFile::remove(trashPath());
    for (const QString& entry : leftovers)
        QFile::remove(file(entry));
    QFile::remove(intentPath());
    transaction.commit();
}

} // namespace parlix
