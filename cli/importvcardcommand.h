#pragma once

#include "cli/contactimportcommand.h"
#include "transfer/vcardimport.h"

namespace parlix::cli {

// "import-vcard": appends the contacts of a vCard file ("-": standard input)
// to a book, as the window program's "Importa file vCard" does. Prints the
// number imported; the cards left out are listed on standard error.
class ImportVcardCommand : public ContactImportCommand<VcardImport>
{
public:
    QString name() const override { return QStringLiteral("import-vcard"); }
    QString description() const override
    {
        return QStringLiteral(
            "importa i contatti di un file vCard nella rubrica (Principale se non indicata)");
    }
    CommandGrammar grammar() const override;

protected:
    QString progressWhat() const override { return QStringLiteral("KiB letti"); }
    int finish(const VcardImportResult& result, const FileArguments& words, Console& console) const override;
};

} // namespace parlix::cli
