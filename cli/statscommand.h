#pragma once

#include "cli/command.h"

namespace parlix {
class Clock;
}

namespace parlix::cli {

// "stats": the SMS accepted and refused per day, week or month over a period,
// book by book, the credit spent, the acceptance rate and the day the credit
// runs out at the pace of the last 30 days; as a table or, with --json, for
// scripts.
class StatsCommand : public Command
{
public:
    explicit StatsCommand(const Clock& clock) : clock_(clock) {}

    QString name() const override { return QStringLiteral("stats"); }
    QString synopsis() const override
    {
        return QStringLiteral("[--from DATA] [--to DATA] [--by day|week|month]");
    }
    QString description() const override
    {
        return QStringLiteral(
            "statistiche degli SMS inviati (accettati, rifiutati, credito speso, previsione);\n"
            "      DATA come 2026-12-24; senza date, gli ultimi 12 mesi (30 giorni con --by "
            "day,\n      12 settimane con --by week)");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    const Clock& clock_;
};

} // namespace parlix::cli
