#pragma once

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "store/storeerror.h"

#include <QFile>
#include <QString>

// The steps the imports of contact files (CSV, vCard) share. `Result` is the
// import's result: a `Status` with FileUnreadable, BookMissing and
// StoreFailed among its values, and a `detail` that says why.
namespace parlix::contactimport {

// How many contacts an import writes between two calls of its progress.
constexpr int progressStep = 512;

// A result that imported nothing: `status`, and why in `detail`.
template <typename Result> Result failed(typename Result::Status status, const QString& detail = {})
{
    Result result;
    result.status = status;
    result.detail = detail;
    return result;
}

// `file` opened and handed to `read`, which imports from it. `file` must be a
// regular file (a link to one will do): a FIFO, a device or a folder is
// refused, never waited on. FileUnreadable, saying why, when it cannot be opened.
template <typename Result, typename Read> Result fromFile(const QString& file, Read&& read)
{
    QFile source;
    QString problem;
    if (!userfile::openForReading(file, source, &problem))
        return failed<Result>(Result::Status::FileUnreadable, problem);
    return read(source);
}

// An import into `book`: BookMissing, with nothing created, when the book is
// not stored; otherwise what `write` returns. `write` gets the book's path,
// opens a ContactAppender on it (one transaction), appends each contact and
// commits, or returns without committing to leave the book as it was. A
// store failure at any step gives StoreFailed, with the store's message, and
// nothing imported.
template <typename Result, typename Write>
Result intoBook(ProgramState& state, const QString& book, Write&& write)
{
    try {
        if (book.isEmpty() || !BookCatalog(state).isStored(book))
            return failed<Result>(Result::Status::BookMissing);
        return write(state.folder.bookPath(book));
    } catch (const StoreError& error) {
        return failed<Result>(Result::Status::StoreFailed, error.message());
    }
}

} // namespace parlix::contactimport
