#include "query.h"

namespace parlix::queries {

Query wholeTable(const QString& table)
{
    return {table, {}, {}};
}

Query contactByNumber(const QString& number)
{
    return {QStringLiteral("rubrica"), QStringLiteral("cellulare = ?"), {number}};
}

Query messageByNumberAndDate(const QString& table, const QString& number, const QString& date)
{
    return {table, QStringLiteral("cellulare = ? AND Data = ?"), {number, date}};
}

Query rowById(const QString& table, long long rowid)
{
    return {table, QStringLiteral("rowid = CAST(? AS INTEGER)"), {QString::number(rowid)}};
}

Query bookByName(const QString& name)
{
    return {QStringLiteral("elenco"), QStringLiteral("Rubrica = ?"), {name}};
}

Query contactsBeginningWith(const QString& field, const QString& text)
{
    return {QStringLiteral("rubrica"), field + QStringLiteral(" LIKE ? ESCAPE '\\'"), {likePrefix(text)}};
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
