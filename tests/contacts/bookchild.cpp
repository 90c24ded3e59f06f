// Runs one book change on a data folder, as a separate process, so that a
// test can let it die at a fault point or race another one:
//   bookchild HOME create NAME | delete NAME | rename FROM TO
//            | add BOOK NOME COGNOME NUMBER | replace BOOK NUMBER NOME COGNOME NEWNUMBER
// Exits 0 when the change was made, 1 when it was refused, 2 on a store error.

#include "contacts/bookcatalog.h"
#include "contacts/contactstore.h"
#include "core/programstate.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4)
        return 3;
    parlix::ProgramState state{parlix::DataFolder(args[1])};
    parlix::BookCatalog catalog(state);
    using Outcome = parlix::BookCatalog::Outcome;
    try {
        Outcome outcome = Outcome::Empty;
        if (args[2] == u"create")
            outcome = catalog.create(args[3]);
        else if (args[2] == u"delete")
            outcome = catalog.remove(args[3]);
        else if (args[2] == u"rename" && args.size() > 4)
            outcome = catalog.rename(args[3], args[4]);
        else if (args[2] == u"add" && args.size() > 6)
            return parlix::ContactStore(state).add(
                       args[3], {args[4], args[5], args[6], QStringLiteral(" "), QStringLiteral("4")}) ==
                           parlix::ContactStore::AddOutcome::Added
                       ? 0
                       : 1;
        else if (args[2] == u"replace" && args.size() > 7)
            return parlix::ContactStore(state).replace(
                       args[3], args[4].toLongLong(),
                       {args[5], args[6], args[7], QStringLiteral(" "), QStringLiteral("4")}) ==
                           parlix::ContactStore::ReplaceOutcome::Replaced
                       ? 0
                       : 1;
        return outcome == Outcome::Done ? 0 : 1;
    } catch (const parlix::StoreError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
}
