#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "migrate --to URI": copies the books of the data folder's SQLite files into
// an empty shared database; "migrate --from URI" copies a shared database
// back into the folder's SQLite files. Nothing is deleted at the source.
class MigrateCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("migrate"); }
    QString synopsis() const override { return QStringLiteral("--to INDIRIZZO | --from INDIRIZZO"); }
    QString description() const override
    {
        return QStringLiteral(
            "copia rubriche e messaggi dai file in un database PostgreSQL vuoto, o viceversa");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
