#pragma once

#include "cli/command.h"
#include "cli/sendingservices.h"

namespace parlix::cli {

// "send": one text to every contact of a book that has a number, each with
// its merge fields filled in; at once, or kept for run-scheduled with --at.
class SendCommand : public Command
{
public:
    explicit SendCommand(SendingServices services) : services_(std::move(services)) {}

    QString name() const override { return QStringLiteral("send"); }
    QString synopsis() const override
    {
        return QStringLiteral(
            "--book NOME --text TESTO [--flash] [--split fixed|word] [--at AAAA-MM-GGTHH:MM]");
    }
    QString description() const override
    {
        return QStringLiteral(
            "invia il testo ai contatti della rubrica ({Nome}, {Cognome}, {Cellulare}, {Email}\n"
            "      diventano i dati di ciascuno); con --at lo programma per quell'ora");
    }
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    SendingServices services_;
};

} // namespace parlix::cli
