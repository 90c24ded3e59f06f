#include "query.h"

namespace parlix::queries {

namespace {
Condition equal(const QString& field, const QString& value)
{
    return {field, Condition::Match::Equal, value};
}
} // namespace

Query wholeTable(const QString& table)
{
    return {table, {}};
}

Query contactByNumber(const QString& number)
{
    return {QStringLiteral("rubrica"), {equal(QStringLiteral("cellulare"), number)}};
}

Query messageByNumberAndDate(const QString& table, const QString& number, const QString& date)
{
    return {table, {equal(QStringLiteral("cellulare"), number), equal(QStringLiteral("Data"), date)}};
}

Query rowById(const QString& table, long long rowid)
{
    return {table, {{QString(), Condition::Match::Key, QString::number(rowid)}}};
}

Query bookByName(const QString& name)
{
    return {QStringLiteral("elenco"), {equal(QStringLiteral("Rubrica"), name)}};
}

namespace {

// More spellings than this and the search narrows on the text's leading part.
constexpr qsizetype maxSpellings = 16;

// A character's spellings that NOCASE tells apart: one for an ASCII
// character (NOCASE folds those), the upper and lower case of any other.
QStringList spellingsOf(char32_t code)
{
    const QString character = QString::fromUcs4(&code, 1);
    if (code < 0x80)
        return {character};
    // Spellings equal to NOCASE ("SS" and "ss" of "ß") would give the same rows.
    const auto asNocaseSees = [](QString spelling) {
        for (QChar& c : spelling) {
            if (c.unicode() < 0x80)
                c = c.toLower();
        }
        return spelling;
    };
    QStringList spellings;
    QStringList seen;
    for (const QString& spelling : {character, character.toUpper(), character.toLower()}) {
        if (!seen.contains(asNocaseSees(spelling))) {
            seen << asNocaseSees(spelling);
            spellings << spelling;
        }
    }
    return spellings;
}

} // namespace

Query contactsBeginningWith(const QString& field, const QString& text)
{
    return {QStringLiteral("rubrica"), {{field, Condition::Match::Prefix, text}}};
}

QStringList caseSpellings(const QString& text)
{
    // SQLite's NOCASE and LIKE fold ASCII letters only. So that "è" finds
    // "Èrcole" and the search still runs on the field's NOCASE index, each
    // spelling of the text's other letters gets a LIKE of its own; SQLite
    // serves each from the index and unites the rows.
    QStringList spellings{QString()};
    for (const uint code : text.toUcs4()) {
        const QStringList options = spellingsOf(char32_t(code));
        if (spellings.size() * options.size() > maxSpellings)
            break;
        QStringList longer;
        for (const QString& start : std::as_const(spellings)) {
            for (const QString& option : options)
                longer << start + option;
        }
        spellings = longer;
    }
    return spellings;
}

QString foldCase(const QString& text)
{
    // Full upper case first, so that "ß" and "SS" fold alike.
    return text.toUpper().toCaseFolded();
}

bool beginsWithIgnoringCase(const QString& value, const QString& text)
{
    return foldCase(value).startsWith(foldCase(text));
}

QString likePrefix(const QString& text)
{
    QString pattern;
    pattern.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            pattern += u'\\';
        pattern += c;
    }
    pattern += u'%';
    return pattern;
}

} // namespace parlix::queries
