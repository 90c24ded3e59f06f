#include "importericsoftcommand.h"

#include "core/programstate.h"
#include "core/startupfiles.h"
#include "transfer/ericsoftimport.h"
#include "transfer/ericsoftmessages.h"

namespace parlix::cli {

int ImportEricsoftCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments.first().startsWith(u'-'))) {
        console.err << "Uso: parlix-cli import-ericsoft " << synopsis() << '\n';
        return Usage;
    }
    ProgramState state(folder);
    loadStartupFiles(state);
    const QString source = arguments.isEmpty() ? state.percorsoericsoft : arguments.first();

    const EricsoftImportResult result = EricsoftImport(state).run(source);
    using Status = EricsoftImportResult::Status;
    if (result.status == Status::Done) {
        console.out << result.imported << '\n';
        if (QString unplaced = ericsoft::unplacedText(result); !unplaced.isEmpty()) {
            console.err << unplaced.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
            return Stopped;
        }
        console.err << ericsoft::completedText() << '\n';
        return Done;
    }
    QString text = ericsoft::failureText(result);
    console.err << text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    // Customers read before the table failed have been imported all the same.
    if (result.imported > 0) {
        console.out << result.imported << '\n';
        return Stopped;
    }
    return Failed;
}

} // namespace parlix::cli
