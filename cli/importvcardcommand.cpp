#include "importvcardcommand.h"

namespace parlix::cli {

CommandGrammar ImportVcardCommand::grammar() const
{
    return fileGrammar({{QStringLiteral("book"), QStringLiteral("la rubrica")},
                        {QStringLiteral("imported"), QStringLiteral("i contatti importati")},
                        {QStringLiteral("left_out"),
                         QStringLiteral("le schede lasciate fuori (senza numero, o troncate)")}});
}

int ImportVcardCommand::finish(const VcardImportResult& result, const FileArguments& words,
                               Console& console) const
{
    if (result.status == VcardImportResult::Status::NoCards) {
        console.err << "Il file " << words.file << " non contiene schede vCard\n";
        return Failed;
    }
    report(console,
           {{QStringLiteral("book"), words.book},
            {QStringLiteral("imported"), result.imported},
            {QStringLiteral("left_out"), result.withoutNumber + result.unreadable}},
           QString::number(result.imported) + u'\n');
    if (const QString report = vcardImportReport(result); !report.isEmpty()) {
        console.err << QString(report).replace(u'\r', u'\n') << '\n';
        return Stopped;
    }
    return Done;
}

} // namespace parlix::cli
