#pragma once

#include "transfer/progress.h"

#include <QString>

#include <functional>
#include <vector>

namespace parlix {

// One customer of the Ericsoft register, the fields the import uses, as text
// with blanks at either end removed (a null value reads as empty).
struct EricsoftCustomer
{
    QString mercato;  // RN_MER, the market code
    QString cognome;  // cognome
    QString nome;     // Nome
    QString posta;    // posta, the e-mail address
    QString telefono; // telefono_3, the mobile number

    bool operator==(const EricsoftCustomer&) const = default;
};

struct EricsoftRegister
{
    enum class Status {
        Read,
        Unreadable,   // the folder or the table cannot be opened or read (customers read before stay)
        TableMissing, // the folder holds no table "Anagrafiche"
        FieldMissing, // the table lacks one of the five fields (see `missingField`)
    };

    Status status = Status::Read;
    std::vector<EricsoftCustomer> customers; // in the table's order, deleted records left out
    QString missingField;
};

// Reads the table "Anagrafiche" (the file "anagrafiche.dbf" in any letter
// case) of an Ericsoft archive folder. `progress` hears of the records read
// out of the records in the file.
EricsoftRegister readEricsoftRegister(const QString& folder, const Progress& progress = {});
// The same for one DBF file given by its path.
EricsoftRegister readEricsoftTable(const QString& path, const Progress& progress = {});

// Reads the register of a folder as readEricsoftRegister() does, but hands
// each customer to `each` as it is read and keeps none: the memory taken does
// not grow with the table. The result's list of customers stays empty.
using EricsoftCustomerSink = std::function<void(const EricsoftCustomer&)>;
EricsoftRegister walkEricsoftRegister(const QString& folder, const EricsoftCustomerSink& each,
                                      const Progress& progress = {});

} // namespace parlix
