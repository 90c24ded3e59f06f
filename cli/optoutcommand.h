#pragma once

#include "cli/command.h"

namespace parlix {
class Clock;
class OptOutRegister;
} // namespace parlix

namespace parlix::cli {

// "optout": the opt-out register of the data folder (the window's "Numeri
// esclusi"), the numbers every send skips.
//   optout add NUMERO [--note TESTO]   registers a number (typed)
//   optout remove NUMERO [--yes]       takes it off, after a confirmation read
//                                      from standard input unless --yes
//   optout list [--all] [--search T]   the numbers honoured (--all: the removed too)
//   optout import FILE|-               a CSV or a plain list, one number a line
//   optout line [TESTO|--none]         shows or sets the line appended to campaigns
// With --json the outcome goes into the run's JSON object, for scripts.
class OptOutCommand : public Command
{
public:
    explicit OptOutCommand(const Clock& clock) : clock_(clock) {}

    QString name() const override { return QStringLiteral("optout"); }
    QString synopsis() const override;
    QString description() const override;
    CommandGrammar grammar() const override;
    bool accepts(const QStringList& arguments, QTextStream& err) const override;
    int execute(const DataFolder& folder, const QStringList& arguments, Console& console) override;

private:
    int add(OptOutRegister& optOut, const QString& number, const QString& note, Console& console);
    int remove(OptOutRegister& optOut, const QString& number, bool confirmed, Console& console);
    int list(OptOutRegister& optOut, const QString& search, bool all, Console& console);
    int import(OptOutRegister& optOut, const QString& file, Console& console);
    int line(const DataFolder& folder, const QStringList& words, bool none, Console& console);

    const Clock& clock_;
};

} // namespace parlix::cli
