#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "import-ericsoft": the Ericsoft import of the window program, from the
// folder given or else the one saved in "persorso". Prints the number of
// contacts imported.
class ImportEricsoftCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import-ericsoft"); }
    QString synopsis() const override { return QStringLiteral("[CARTELLA]"); }
    QString description() const override
    {
        return QStringLiteral(
            "importa i clienti dell'archivio Ericsoft (la cartella impostata se non indicata)");
    }
    CommandGrammar grammar() const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
