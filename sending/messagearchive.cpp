#include "messagearchive.h"

#include "core/clock.h"
#include "core/programstate.h"
#include "store/archivekind.h"
#include "store/recordset.h"
#include "store/store.h"

namespace parlix {

namespace {
QString principale()
{
    return QStringLiteral("Principale");
}
} // namespace

QString sentRecordBook(const ArchiveNode& node)
{
    return node.key.startsWith(u'r') ? node.text : principale();
}

QString savedRecordBook(const ArchiveNode& node)
{
    return archiveKindFromKey(node.key) ? node.text : principale();
}

void appendMessage(ProgramState& state, const Clock& clock, const QString& book, const QString& table,
                   const MessageRecord& record)
{
    Recordset rs(state.store->open(state.folder.bookPath(book)), queries::rowById(table, 0));
    rs.addNew();
    rs.setField(u"cognome", record.cognome);
    rs.setField(u"cellulare", record.cellulare);
    rs.setField(u"Data", messageDate(clock.now()));
    rs.setField(u"Testo", record.testo);
    rs.update();
}

} // namespace parlix
