#include "contactwriter.h"

#include "core/programstate.h"
#include "store/statement.h"
#include "transfer/writetransaction.h"

namespace parlix {

namespace {

constexpr int progressStep = 512;

} // namespace

void appendContacts(ProgramState& state, const QString& bookPath, const std::vector<Contact>& contacts,
                    const Progress& progress)
{
    state.percorsodb = bookPath;
    state.openDatabase(bookPath);
    // Our own hold on the connection: `progress` lets the window handle its
    // timers, and a form that runs then may replace the shared handles.
    const std::shared_ptr<Database> book = state.dbcorrente;
    Database& db = *book;
    WriteTransaction transaction(db);
    Statement insert(db,
                     "INSERT INTO rubrica (Nome, cognome, cellulare, email, icona) VALUES (?, ?, ?, ?, ?)");
    const int total = int(contacts.size());
    int written = 0;
    for (const Contact& contact : contacts) {
        insert.bind(1, contact.nome);
        insert.bind(2, contact.cognome);
        insert.bind(3, contact.cellulare);
        insert.bind(4, contact.email);
        insert.bind(5, contact.icona);
        insert.step();
        if (progress && ++written % progressStep == 0)
            progress(written, total);
    }
    transaction.commit();
    if (progress)
        progress(total, total);
}

} // namespace parlix
