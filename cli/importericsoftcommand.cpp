#include "importericsoftcommand.h"

#include "cli/report.h"
#include "core/programstate.h"
#include "core/startupfiles.h"
#include "transfer/ericsoftimport.h"
#include "transfer/ericsoftmessages.h"

namespace parlix::cli {

CommandGrammar ImportEricsoftCommand::grammar() const
{
    return {
        0,
        1,
        {},
        {{QStringLiteral("imported"), QStringLiteral("i clienti importati")},
         {QStringLiteral("complete"), QStringLiteral("false quando una tabella ha fermato l'importazione")}}};
}

int ImportEricsoftCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    ProgramState state(folder);
    loadStartupFiles(state);
    const QString source = arguments.isEmpty() ? state.percorsoericsoft : arguments.first();

    using Status = EricsoftImportResult::Status;
    const EricsoftImportResult result =
        EricsoftImport(state).run(source, transferProgress(console, QStringLiteral("Clienti letti")));
    const auto tell = [&] {
        report(console,
               {{QStringLiteral("imported"), result.imported},
                {QStringLiteral("complete"), result.status == Status::Done}},
               QString::number(result.imported) + u'\n');
    };
    if (result.status == Status::Done) {
        tell();
        console.err << ericsoft::completedText() << '\n';
        return Done;
    }
    QString text = ericsoft::failureText(result);
    console.err << text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    // Customers read before the table failed have been imported all the same.
    if (result.imported > 0) {
        tell();
        return Stopped;
    }
    return Failed;
}

} // namespace parlix::cli
