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
            "--book NOME --text TESTO [--flash] [--split fixed|word] [--at AAAA-MM-GGTHH:MM]\n"
            "      [--accept-replacements] | --resume [--book NOME]");
    }
    QString description() const override
    {
        return QStringLiteral(
            "invia il testo ai contatti della rubrica ({Nome}, {Cognome}, {Cellulare}, {Email}\n"
            "      diventano i dati di ciascuno); con --at lo programma per quell'ora; con --resume\n"
            "      riprende gli invii interrotti, solo verso i destinatari mai tentati");
    }
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    // Serves the recipients never tried of the interrupted batches of `book` (of every book when empty).
    int resume(const DataFolder& folder, const QString& book, Console& console);

    SendingServices services_;
};

} // namespace parlix::cli
