#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "import-vcard": appends the contacts of a vCard file ("-": standard input)
// to a book, as the window program's "Importa file vCard" does. Prints the
// number imported; the cards left out are listed on standard error.
class ImportVcardCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import-vcard"); }
    QString synopsis() const override { return QStringLiteral("FILE|- [--book NOME]"); }
    QString description() const override
    {
        return QStringLiteral(
            "importa i contatti di un file vCard nella rubrica (Principale se non indicata)");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
