#pragma once

#include "cli/command.h"
#include "cli/sendingservices.h"

namespace parlix::cli {

// "resend": the text of a batch once more, to its recipients the gateway
// refused or that were never tried; never to one accepted or in doubt.
class ResendCommand : public Command
{
public:
    explicit ResendCommand(SendingServices services) : services_(std::move(services)) {}

    QString name() const override { return QStringLiteral("resend"); }
    QString synopsis() const override { return QStringLiteral("--book NOME --batch NUMERO"); }
    QString description() const override
    {
        return QStringLiteral(
            "invia di nuovo il testo di un invio ai soli destinatari rifiutati o mai tentati");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    SendingServices services_;
};

} // namespace parlix::cli
