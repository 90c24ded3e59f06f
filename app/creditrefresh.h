#pragma once

#include <QString>

namespace parlix {

struct ProgramState;

enum class CreditOutcome {
    Updated,  // `credito` and "residui.txt" hold the new credit
    NoAnswer, // empty or not a number: nothing changed
    NotSaved, // `credito` changed but "residui.txt" could not be written
};

// Takes the account service's answer to a credit query: a decimal number as
// text, or an empty text when the service could not be reached. Only a
// number changes `credito` and replaces "residui.txt" (with the text as its
// only line).
CreditOutcome storeCreditAnswer(ProgramState& state, const QString& answer);

} // namespace parlix
