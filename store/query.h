#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

// What a recordset reads: one table, optionally narrowed by a condition whose
// values are bound in order to its "?" placeholders.
struct Query
{
    QString table;
    QString where;
    QStringList values;
};

// The lookups the program makes, each as a prepared condition.
namespace queries {

Query wholeTable(const QString& table);
// Contacts of a book with this number ("=" ignores case like every text comparison here).
Query contactByNumber(const QString& number);
// A message of `table` (salvati, inviati, cancellati) found by number and date text.
Query messageByNumberAndDate(const QString& table, const QString& number, const QString& date);
// The row of `table` with this rowid.
Query rowById(const QString& table, long long rowid);
// The row of a book in elenco.
Query bookByName(const QString& name);
// Contacts whose `field` (cognome, cellulare, nome, email) begins with `text`, in any case.
Query contactsBeginningWith(const QString& field, const QString& text);

// `text` with "%", "_" and "\" escaped for LIKE ... ESCAPE '\', followed by "%".
QString likePrefix(const QString& text);

} // namespace queries
} // namespace parlix
