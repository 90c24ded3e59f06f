#include "bookcontacts.h"

#include "store/recordset.h"
#include "store/store.h"

#include <QHash>

#include <algorithm>

namespace parlix {

namespace {

// Blanks are spaces only: a number of other white space is kept, as ever.
bool onlyBlanks(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == u' '; });
}

// Calls `keep` on every row of the book whose number is not only blanks, in stored order.
template <typename Keep> void walkNumbered(Store& store, const QString& bookPath, Keep keep)
{
    for (Recordset rs(store.open(bookPath), queries::wholeTable(QStringLiteral("rubrica")),
                      Recordset::Reading::ForwardOnly);
         !rs.eof(); rs.moveNext()) {
        QString cellulare = rs.field(u"cellulare");
        if (!onlyBlanks(cellulare))
            keep(rs, std::move(cellulare));
    }
}

} // namespace

QList<Contact> contactsWithNumbers(Store& store, const QString& bookPath)
{
    QList<Contact> contacts;
    walkNumbered(store, bookPath, [&](const Recordset& rs, QString cellulare) {
        contacts.append({rs.field(u"Nome"), rs.field(u"cognome"), std::move(cellulare), rs.field(u"email"),
                         rs.field(u"icona")});
    });
    return contacts;
}

QStringList numbersWithContacts(Store& store, const QString& bookPath)
{
    QStringList numbers;
    walkNumbered(store, bookPath,
                 [&](const Recordset&, QString cellulare) { numbers << std::move(cellulare); });
    return numbers;
}

QStringList bookNames(Store& store, const QString& bookListPath)
{
    QStringList books;
    for (Recordset rs(store.open(bookListPath), queries::wholeTable(QStringLiteral("elenco")),
                      Recordset::Reading::ForwardOnly);
         !rs.eof(); rs.moveNext())
        books << rs.field(u"Rubrica");
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
