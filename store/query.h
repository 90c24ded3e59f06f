#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace parlix {

// One test on a field. Every text comparison of the store ignores letter case.
struct Condition
{
    enum class Match {
        Equal,  // the whole value
        Prefix, // values that begin with the text; "%", "_" and "\" in it are plain text
        Key,    // the row whose own key (Recordset::rowid()) is the number in `value`; no field
    };
    QString field;
    Match match = Match::Equal;
    QString value;
};

// What a recordset reads: one table, optionally narrowed by conditions that
// must all hold. Each store turns it into its own statement with bound values.
struct Query
{
    QString table;
    std::vector<Condition> conditions;
};

// The lookups the program makes, each as a prepared condition.
namespace queries {

Query wholeTable(const QString& table);
// Contacts of a book with this number ("=" ignores case like every text comparison here).
Query contactByNumber(const QString& number);
// A message of `table` (salvati, inviati, cancellati) found by number and date text.
Query messageByNumberAndDate(const QString& table, const QString& number, const QString& date);
// The row of `table` with this key (Recordset::rowid()).
Query rowById(const QString& table, long long rowid);
// The row of a book in elenco.
Query bookByName(const QString& name);
// Contacts whose `field` (cognome, cellulare, nome, email) begins with `text`, in any case, on the
// field's index. The rows may include some that only begin with a leading part of a long text with many
// non-ASCII letters: keep those for which beginsWithIgnoringCase() holds.
Query contactsBeginningWith(const QString& field, const QString& text);
// Unicode case folding (full: "ß" folds like "ss").
QString foldCase(const QString& text);
// Whether `value` begins with `text` after both are case-folded.
bool beginsWithIgnoringCase(const QString& value, const QString& text);

// The spellings of `text` that a store whose case-blind comparison folds ASCII letters only (SQLite's
// NOCASE and LIKE) must each look for: its other letters in each of their cases. At most 16; a text with
// more combinations is spelled out only in its leading part.
QStringList caseSpellings(const QString& text);

// `text` with "%", "_" and "\" escaped for LIKE ... ESCAPE '\', followed by "%".
QString likePrefix(const QString& text);

} // namespace queries
} // namespace parlix
