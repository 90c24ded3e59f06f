#pragma once

#include "cli/command.h"

namespace parlix::cli {

// "scheduled": the batches waiting for their time, one per line.
class ScheduledCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("scheduled"); }
    QString synopsis() const override { return {}; }
    QString description() const override
    {
        return QStringLiteral(
            "elenca gli invii programmati in attesa, uno per riga:\n"
            "      rubrica, numero, ora, destinatari, SMS, testo (separati da tabulazioni)");
    }
    CommandGrammar grammar() const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;
};

} // namespace parlix::cli
