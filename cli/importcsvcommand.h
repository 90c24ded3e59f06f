#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "import-csv": appends the contacts of a contact exchange file to a book, as
// the window program's "Importa file csv" does. Prints the number imported.
class ImportCsvCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import-csv"); }
    QString synopsis() const override { return QStringLiteral("FILE [--book NOME]"); }
    QString description() const override
    {
        return QStringLiteral("importa i contatti di un file csv nella rubrica (Principale se non indicata)");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
