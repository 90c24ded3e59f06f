#include "sendoutcome.h"

#include "sending/scheduledrunner.h"

namespace parlix::cli {

int reportOutcome(const RunOutcome& outcome, const QStringList& refusals, Console& console)
{
    if (outcome.status == RunOutcome::Status::NotSent) {
        console.err << outcome.message << "\nNessun SMS inviato.\n";
        console.out << "Inviati 0 di 0\n";
        return Failed;
    }
    console.out << "Inviati " << outcome.accepted << " di " << outcome.attempted << '\n';
    if (outcome.status != RunOutcome::Status::SomeRefused)
        return Done;
    console.err << "Alcuni messaggi non Inviati. Rifiutati (numero: codice):\n";
    for (const QString& refusal : refusals)
        console.err << "  " << refusal << '\n';
    return Stopped;
}

int worseStatus(int a, int b)
{
    // Failed outranks Stopped, which outranks Done.
    const auto rank = [](int status) { return status == Failed ? 2 : status == Stopped ? 1 : 0; };
    return rank(a) >= rank(b) ? a : b;
}

} // namespace parlix::cli
