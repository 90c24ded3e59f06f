#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "export-vcard": writes every contact of a book, in stored order, to a vCard
// file ("-": standard output). Prints the number exported (on standard error
// when the cards go to standard output).
class ExportVcardCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("export-vcard"); }
    QString synopsis() const override { return QStringLiteral("FILE|- [--book NOME]"); }
    QString description() const override
    {
        return QStringLiteral(
            "esporta i contatti della rubrica (Principale se non indicata) in un file vCard");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
