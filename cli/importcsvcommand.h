#pragma once

#include "cli/contactimportcommand.h"
#include "transfer/csvimport.h"

namespace parlix::cli {

// "import-csv": appends the contacts of a contact exchange file to a book, as
// the window program's "Importa file csv" does. Prints the number imported.
class ImportCsvCommand : public ContactImportCommand<CsvImport>
{
public:
    QString name() const override { return QStringLiteral("import-csv"); }
    QString description() const override
    {
        return QStringLiteral("importa i contatti di un file csv nella rubrica (Principale se non indicata)");
    }
    CommandGrammar grammar() const override;

protected:
    QString progressWhat() const override { return QStringLiteral("Contatti scritti"); }
    int finish(const CsvImportResult& result, const FileArguments& words, Console& console) const override;
};

} // namespace parlix::cli
