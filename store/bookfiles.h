#pragma once

#include "store/bookstorage.h"

namespace parlix {

// `name` in `dir`, as it is spelt on disk when only the case differs.
QString entryIn(const QString& dir, const QString& name);

// The book files of a data folder: one copy of "rubrica_base.mdb" per book
// under "rubriche", named as the book.
//
// Before a file is touched the change is recorded in "elenco.in-corso" (its
// kind and names, one a line), on disk; the record goes once the change is
// finished or undone. A new book is copied whole under a hidden temporary name
// and then linked to its name, which never replaces a file; a deleted book is
// set aside as "rubriche/.eliminata" until the list has let it go; a rename is
// one rename() in the folder. So whatever step a crash stops, repair() finds
// the book under one of its names and settles the change as the list says.
class BookFiles : public BookStorage
{
public:
    explicit BookFiles(QString root) : root_(std::move(root)) {}

    bool exists(const QString& name) override;
    std::unique_ptr<BookChange> create(const QString& name) override;
    std::unique_ptr<BookChange> rename(const QString& from, const QString& to,
                                       const QStringList& listed) override;
    std::unique_ptr<BookChange> drop(const QString& name, const QStringList& listed) override;
    std::optional<QString> nameProblem(const QString&) const override { return std::nullopt; }
    bool transactional() const override { return false; }
    bool interrupted() override;
    bool repair(const QStringList& listed) override;

    QString booksDir() const;

private:
    // The file of book `name`: the exact name, else one that differs only in
    // case and belongs to none of `others`. Empty when there is none.
    QString bookFile(const QString& name, const QStringList& others) const;
    QString recordPath() const;
    QString setAsidePath() const;
    // Writes the record of a change about to be made. Throws CannotOpen when
    // it cannot be written or an earlier change is still unsettled.
    void record(const QStringList& lines);
    // Removes the record of a change that touched nothing.
    void forget();

    QString root_;
};

} // namespace parlix
