#include "creditrefresh.h"

#include "core/numbers.h"
#include "core/programstate.h"
#include "core/textfile.h"

namespace parlix {

CreditOutcome storeCreditAnswer(ProgramState& state, const QString& answer)
{
    if (answer.isEmpty())
        return CreditOutcome::NoAnswer;
    const auto credit = numbers::parse(answer);
    if (!credit)
        return CreditOutcome::NoAnswer;
    state.credito = *credit;
    if (!textfile::writeLines(state.folder.path(QStringLiteral("residui.txt")), {answer}))
        return CreditOutcome::NotSaved;
    return CreditOutcome::Updated;
}

} // namespace parlix
