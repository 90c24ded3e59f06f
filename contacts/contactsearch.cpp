#include "contactsearch.h"

#include "contacts/readingorder.h"
#include "core/programstate.h"
#include "store/recordset.h"

#include <algorithm>

namespace parlix {

std::optional<SearchCriterion> searchCriterion(const SearchBoxes& boxes)
{
    std::optional<SearchCriterion> chosen;
    const std::pair<const char16_t*, const QString*> order[] = {
        {u"cognome", &boxes.cognome},
        {u"cellulare", &boxes.cellulare},
        {u"nome", &boxes.nome},
        {u"email", &boxes.email},
    };
    for (const auto& [field, text] : order) {
        if (!text->isEmpty())
            chosen = SearchCriterion{QString::fromUtf16(field), *text};
    }
    return chosen;
}

std::vector<Contact> ContactSearch::find(const QString& book, const SearchBoxes& boxes)
{
    const auto criterion = searchCriterion(boxes);
    if (!criterion)
        return {};
    return find(book, *criterion);
}

std::vector<Contact> ContactSearch::find(const QString& book, const SearchCriterion& criterion)
{
    state_.percorsodb = state_.folder.bookPath(book);
    state_.openDatabase(state_.percorsodb);
    Recordset& rs = state_.openRecordset(queries::contactsBeginningWith(criterion.field, criterion.text));
    const int nome = rs.fieldIndex(u"Nome");
    const int cognome = rs.fieldIndex(u"cognome");
    const int cellulare = rs.fieldIndex(u"cellulare");
    const int email = rs.fieldIndex(u"email");
    const int icona = rs.fieldIndex(u"icona");
    const int searched = rs.fieldIndex(criterion.field);
    // LIKE is exact for a text of ASCII characters; others may have been
    // searched by their leading part only.
    const bool check = std::any_of(criterion.text.cbegin(), criterion.text.cend(),
                                   [](QChar c) { return c.unicode() >= 0x80; });
    std::vector<Contact> found;
    QStringList keys;
    for (; !rs.eof(); rs.moveNext()) {
        if (check && !queries::beginsWithIgnoringCase(rs.field(searched), criterion.text))
            continue;
        found.push_back({rs.field(nome), rs.field(cognome), rs.field(cellulare), rs.field(email),
                         icona >= 0 ? rs.field(icona) : QString()});
        keys << rs.field(searched);
    }
    std::vector<Contact> sorted;
    sorted.reserve(found.size());
    for (const size_t i :
         ReadingOrder().order(found.size(), [&keys](size_t i) { return keys.at(qsizetype(i)); }))
        sorted.push_back(std::move(found[i]));
    return sorted;
}

} // namespace parlix
