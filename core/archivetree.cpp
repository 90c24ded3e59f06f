#include "archivetree.h"

#include "core/programstate.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix {

namespace {

struct Group
{
    const char* key;
    const char* text;
    int image;
    char16_t letter;
};

constexpr Group groups[] = {
    {"a1", "Rubriche", 1, u'r'},
    {"a2", "SMS Salvati", 3, u's'},
    {"a3", "SMS Inviati", 4, u'i'},
    {"a4", "SMS Cancellati", 5, u'c'},
};

} // namespace

std::vector<ArchiveNode> archiveNodes(const QStringList& books)
{
    std::vector<ArchiveNode> nodes;
    nodes.reserve(4 * (books.size() + 1));
    for (const Group& group : groups) {
        nodes.push_back({QString::fromLatin1(group.key), QString::fromLatin1(group.text), group.image, 0});
        const int parent = int(nodes.size());
        for (int i = 0; i < books.size(); ++i)
            nodes.push_back({QChar(group.letter) + QString::number(i + 1), books[i], group.image, parent});
    }
    return nodes;
}

QStringList readBookNames(const ProgramState& state)
{
    // The groups are shown all the same, without books.
    return tryReadBookNames(state).value_or(QStringList());
}

std::optional<QStringList> tryReadBookNames(const ProgramState& state)
{
    QStringList books;
    try {
        Recordset rs(state.store->open(state.folder.bookList()),
                     queries::wholeTable(QStringLiteral("elenco")));
        const int field = rs.fieldIndex(u"Rubrica");
        for (; !rs.eof(); rs.moveNext())
            books << rs.field(field);
    } catch (const StoreError&) {
        return std::nullopt;
    }
    return books;
}

} // namespace parlix
