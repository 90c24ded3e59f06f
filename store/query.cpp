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

Query contactsBeginningWith(const QString& field, const QString& text)
{
    return {QStringLiteral("rubrica"), {{field, Condition::Match::Prefix, text}}};
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
