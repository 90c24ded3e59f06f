#pragma once

#include "cli/command.h"
#include "cli/sendingservices.h"

namespace parlix::cli {

// "run-scheduled": sends every stored batch whose time has come, in every
// book, and exits (for cron or a systemd user timer). Several of these, or
// the window program, may run at once: each recipient is served once.
class RunScheduledCommand : public Command
{
public:
    explicit RunScheduledCommand(SendingServices services) : services_(std::move(services)) {}

    QString name() const override { return QStringLiteral("run-scheduled"); }
    QString synopsis() const override { return {}; }
    QString description() const override
    {
        return QStringLiteral("invia gli SMS programmati la cui ora è arrivata, poi termina");
    }
    CommandGrammar grammar() const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    SendingServices services_;
};

} // namespace parlix::cli
