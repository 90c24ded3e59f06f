#include "importcsvcommand.h"

namespace parlix::cli {

CommandGrammar ImportCsvCommand::grammar() const
{
    return fileGrammar(
        {{QStringLiteral("book"), QStringLiteral("la rubrica")},
         {QStringLiteral("imported"), QStringLiteral("i contatti importati")},
         {QStringLiteral("complete"), QStringLiteral("false quando una riga ha fermato l'importazione")}});
}

int ImportCsvCommand::finish(const CsvImportResult& result, const FileArguments& words,
                             Console& console) const
{
    using Status = CsvImportResult::Status;
    report(console,
           {{QStringLiteral("book"), words.book},
            {QStringLiteral("imported"), result.imported},
            {QStringLiteral("complete"), result.status == Status::Done}},
           QString::number(result.imported) + u'\n');
    if (result.status == Status::Done)
        return Done;
    console.err << stoppedImportMessage(result).replace(u'\r', u'\n') << '\n';
    return Stopped;
}

} // namespace parlix::cli
