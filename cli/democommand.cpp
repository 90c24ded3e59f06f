#include "democommand.h"

#include "cli/report.h"

#include "contacts/bookcatalog.h"
#include "contacts/bookcontacts.h"
#include "contacts/contactstore.h"
#include "core/programstate.h"
#include "sending/messagearchive.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix::cli {

namespace {

const QString mainBook = QStringLiteral("Principale");
const QString customersBook = QStringLiteral("Clienti");

struct DemoContact
{
    const char* book;
    Contact contact;
};

QList<DemoContact> demoContacts()
{
    const char* main = "Principale";
    const char* customers = "Clienti";
    return {
        {main,
         {QStringLiteral("Mario"),
          QStringLiteral("Rossi"),
          QStringLiteral("3331234567"),
          QStringLiteral("mario.rossi@example.it"),
          {}}},
        {main, {QStringLiteral("Chiara"), QStringLiteral("Àlberti"), QStringLiteral("3472223344"), {}, {}}},
        {main,
         {QStringLiteral("Ercole"),
          QStringLiteral("Èrcoli"),
          QStringLiteral("3405556677"),
          QStringLiteral("ercole@example.it"),
          {}}},
        {main, {QStringLiteral("Giulia"), QStringLiteral("Verdi"), QStringLiteral("3289998877"), {}, {}}},
        {customers,
         {QStringLiteral("Anna"),
          QStringLiteral("Esposito"),
          QStringLiteral("3391112233"),
          QStringLiteral("anna.esposito@example.it"),
          {}}},
        {customers,
         {QStringLiteral("Paolo"), QStringLiteral("Ferrari"), QStringLiteral("3204445566"), {}, {}}},
        {customers,
         {QStringLiteral("Marco"), QStringLiteral("Romano"), QStringLiteral("3357778899"), {}, {}}},
    };
}

} // namespace

CommandGrammar DemoCommand::grammar() const
{
    return {0, 0, {}, {{QStringLiteral("contacts"), QStringLiteral("i contatti di esempio aggiunti")}}};
}

int DemoCommand::execute(const DataFolder& folder, const QStringList&, Console& console)
{
    try {
        ProgramState state(folder);
        BookCatalog catalog(state);
        const bool fresh = catalog.names() == QStringList{mainBook} &&
                           contactsWithNumbers(*state.store, folder.bookPath(mainBook)).isEmpty();
        if (!fresh) {
            console.err << "La cartella dati " << folder.root()
                        << " contiene già rubriche o contatti: gli esempi si aggiungono solo a una cartella "
                           "nuova.\n";
            return Failed;
        }
        if (catalog.create(customersBook) != BookCatalog::Outcome::Done) {
            console.err << "Impossibile creare la rubrica \"" << customersBook << "\".\n";
            return Failed;
        }
        ContactStore contacts(state);
        const QList<DemoContact> rows = demoContacts();
        for (const DemoContact& row : rows)
            contacts.add(QString::fromUtf8(row.book), row.contact);
        appendMessage(state, clock_, mainBook, QStringLiteral("salvati"),
                      {QStringLiteral("<lista>"), QStringLiteral("3331234567;3289998877"),
                       QStringLiteral("Domani l'ufficio apre alle 10. Buona serata!")});
        report(console, {{QStringLiteral("contacts"), int(rows.size())}},
               QString::number(rows.size()) + u'\n');
        return Done;
    } catch (const StoreError& error) {
        console.err << "Esempi non creati: " << error.message() << '\n';
        return Failed;
    }
}

} // namespace parlix::cli
