#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "export-csv": writes every contact of a book, in stored order, to a contact
// exchange file. Prints the number exported.
class ExportCsvCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("export-csv"); }
    QString synopsis() const override { return QStringLiteral("FILE [--book NOME]"); }
    QString description() const override
    {
        return QStringLiteral("esporta i contatti della rubrica (Principale se non indicata) in un file csv");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
