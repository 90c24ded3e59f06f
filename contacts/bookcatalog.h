#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

struct ProgramState;

// The address books of the data folder. A book exists twice, as a row of
// table elenco (field Rubrica) and as a copy of the template named after it in
// "rubriche"; every change here keeps the two in step or leaves both as they
// were. The book list is reached through the program's shared handles, which
// are left on it.
//
// Names are unique without regard to letter case (book files are found that
// way too), while "which row is this book" compares exactly.
class BookCatalog
{
public:
    enum class Outcome {
        Done,
        Empty,        // the empty name: nothing to do
        InvalidName,  // refused as a file name, see bookNameProblem()
        Exists,       // another book has this name, ignoring case
        FileConflict, // "rubriche" already holds a file of that name that is no book of ours
        FileFailure,  // the book file could not be created or renamed
        NoSuchBook,   // rename: no row holds the old name (any more)
    };

    explicit BookCatalog(ProgramState& state) : state_(state) {}

    // The book names in stored order. Store failures throw StoreError here and below.
    QStringList names();
    bool exists(const QString& name);

    // Copies the template to "rubriche/<name>" (making the folder if needed),
    // then appends the row.
    Outcome create(const QString& name);
    // Removes every row that is exactly `name` and the book's file; a file
    // that is already gone is no error. The program's handles are released
    // first, so none of them keeps the file.
    void remove(const QString& name);
    // Moves the file first, then changes the rows; when the rows cannot be
    // changed the file is moved back, so both stay under the old name.
    Outcome rename(const QString& from, const QString& to);

private:
    void openList();
    // The file of book `name`: the exact name, else one that differs only in
    // case and belongs to no other book. Empty when there is none.
    QString existingFile(const QString& name, const QStringList& books) const;

    ProgramState& state_;
};

} // namespace parlix
