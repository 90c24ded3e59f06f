#include "bookcontacts.h"

#include "store/database.h"
#include "store/statement.h"

#include <QHash>

namespace parlix {

QList<Contact> contactsWithNumbers(const QString& bookPath)
{
    const auto db = Database::open(bookPath);
    Statement st(*db, "SELECT Nome, cognome, cellulare, email, icona FROM rubrica"
                      " WHERE trim(coalesce(cellulare, '')) <> '' ORDER BY rowid");
    QList<Contact> contacts;
    while (st.step())
        contacts.append({st.text(0), st.text(1), st.text(2), st.text(3), st.text(4)});
    return contacts;
}

QStringList bookNames(const QString& bookListPath)
{
    const auto db = Database::open(bookListPath);
    Statement st(*db, "SELECT Rubrica FROM elenco ORDER BY rowid");
    QStringList books;
    while (st.step())
        books << st.text(0);
    return books;
}

QList<Contact> contactsForNumbers(const QList<Contact>& contacts, const QStringList& numbers)
{
    QHash<QString, qsizetype> first;
    for (qsizetype i = contacts.size() - 1; i >= 0; --i)
        first.insert(contacts.at(i).cellulare.toCaseFolded(), i);
    QList<Contact> found;
    found.reserve(numbers.size());
    for (const QString& number : numbers) {
        const auto it = first.constFind(number.toCaseFolded());
        if (it == first.cend()) {
            Contact alone;
            alone.cellulare = number;
            found.append(alone);
        } else {
            found.append(contacts.at(*it));
        }
    }
    return found;
}

} // namespace parlix
