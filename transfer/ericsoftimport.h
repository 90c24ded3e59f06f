#pragma once

#include "contacts/contact.h"
#include "transfer/ericsoftregister.h"
#include "transfer/progress.h"

#include <QString>
#include <QStringList>

namespace parlix {

struct ProgramState;

// The rules that turn a customer into a contact.
namespace ericsoft {

// The digits of a number, in order; everything else is dropped.
QString digitsOnly(const QString& text);
// A single blank for an empty value.
QString blankIfEmpty(const QString& text);
// The book a customer goes to: "Mercato-" + the market code, "Principale"
// for an empty code.
QString targetBook(const QString& marketCode);
// The book whose existence esiste() makes sure of: "Mercato-" + the code,
// also for an empty code.
QString marketBook(const QString& marketCode);
// "Cognome Nome (mercato "code")", a long code cut short, to name a customer to the user.
QString customerLabel(const EricsoftCustomer& customer);
// `cognome`, `Nome` and `email` blank when empty, the number's digits, icona 4.
Contact contactOf(const EricsoftCustomer& customer);

} // namespace ericsoft

// Makes sure the book "Mercato-" + code exists, as a row of elenco and as a
// file (a copy of the template; a file that is already there is taken as the
// book). False when it could not be made (a code that is no file name, a
// file that cannot be copied). Store failures throw StoreError.
bool esiste(ProgramState& state, const QString& marketCode);

struct EricsoftImportResult
{
    enum class Status {
        Done,
        FolderNotSet, // nothing read
        Unreadable,   // the folder or table cannot be opened or read; the customers read before were imported
        TableMissing,
        FieldMissing, // see `detail`
        StoreFailed,  // a book could not be written (see `detail`); books written before keep their rows
    };

    Status status = Status::Done;
    int imported = 0;
    int withoutNumber = 0;         // customers whose number holds no digit
    int duplicates = 0;            // customers whose number was already in a book
    int unplaced = 0;              // customers whose book could not be made (a code that is no book name)
    QStringList unplacedCustomers; // the first of them, "Cognome Nome (mercato "code")"
    QString detail;
};

// Adds every customer of the Ericsoft register with a usable mobile number to
// the book of its market code, unless the same number (in the same
// digits-only form) is already in any book; books are made as needed, in the
// order the customers name them. Every book's numbers are read once into a
// set before the first customer, so the import takes one pass over the
// register and the books. Each customer goes to its book as it is read, and
// none is held: each book's new rows are written in one transaction, in the
// register's order, and the transactions are committed once the register has
// been read.
class EricsoftImport
{
public:
    explicit EricsoftImport(ProgramState& state) : state_(state) {}

    EricsoftImportResult run(const QString& folder, const Progress& progress = {});

private:
    ProgramState& state_;
};

} // namespace parlix
