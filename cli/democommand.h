#pragma once

#include "cli/command.h"

namespace parlix {
class Clock;
}

namespace parlix::cli {

// "demo": fills a new data folder with sample books, contacts and a saved
// message, so a first look at the program shows what it is for. It refuses
// a folder that holds anything of the user's: more books than "Principale",
// or contacts in it.
class DemoCommand : public Command
{
public:
    explicit DemoCommand(const Clock& clock) : clock_(clock) {}

    QString name() const override { return QStringLiteral("demo"); }
    QString synopsis() const override { return {}; }
    QString description() const override
    {
        return QStringLiteral("riempie una cartella dati nuova con rubriche e contatti di esempio");
    }
    CommandGrammar grammar() const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    const Clock& clock_;
};

} // namespace parlix::cli
