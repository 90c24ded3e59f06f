#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "store": which store the data folder uses (its SQLite files, or the shared
// database of "archivio") and whether it answers.
class StoreCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("store"); }
    QString synopsis() const override { return {}; }
    QString description() const override
    {
        return QStringLiteral("mostra l'archivio in uso (file o database condiviso) e se risponde");
    }
    CommandGrammar grammar() const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
