#include "sendoutcome.h"

#include "sending/optoutregister.h"
#include "sending/scheduledrunner.h"

namespace parlix::cli {

int reportOutcome(const RunOutcome& outcome, const BatchLeftovers& leftovers, Console& console)
{
    if (outcome.status == RunOutcome::Status::NotSent) {
        console.err << outcome.message << "\nNessun SMS inviato.\n";
        console.out << "Inviati 0 di 0\n";
        return Failed;
    }
    console.out << "Inviati " << outcome.accepted << " di " << outcome.attempted << '\n';
    if (outcome.excluded > 0)
        console.err << OptOutRegister::excludedText(outcome.excluded) << '\n';
    int status = Done;
    // The batch's refusals and doubts, when this run had some of its own.
    const bool refused = outcome.status == RunOutcome::Status::SomeRefused;
    if (refused && !leftovers.refusals.isEmpty()) {
        console.err << "Alcuni messaggi non Inviati. Rifiutati (numero: codice):\n";
        for (const QString& refusal : leftovers.refusals)
            console.err << "  " << refusal << '\n';
        if (!leftovers.resend.isEmpty())
            console.err << "Per inviarlo di nuovo ai rifiutati: " << leftovers.resend << '\n';
        status = Stopped;
    }
    if (refused && !leftovers.inDoubt.isEmpty()) {
        console.err << inDoubtText(leftovers.inDoubt) << '\n';
        status = Stopped;
    }
    if (outcome.end != SendTally::End::Finished) {
        console.err << runEndText(outcome);
        if (outcome.left > 0 && !leftovers.resume.isEmpty())
            console.err << " Per riprendere: " << leftovers.resume;
        console.err << '\n';
        status = Stopped;
    }
    return status;
}

int worseStatus(int a, int b)
{
    // Failed outranks Stopped, which outranks Done.
    const auto rank = [](int status) { return status == Failed ? 2 : status == Stopped ? 1 : 0; };
    return rank(a) >= rank(b) ? a : b;
}

} // namespace parlix::cli
