#pragma once

#include <string>

namespace qwirl {

// What a result of Send or SendNotify means, in Italian (UTF-8), for messages to the user:
// e.g. "numero non valido" for 3, "certificato del gateway firmato da un'autorità sconosciuta" for 12045.
// Every number has a text; an unknown one is a failed exchange.
std::string resultMeaning(long result);

// Why CheckCredits gave no credit, from Control::LastCreditFailure(), in the same words.
std::string creditFailureMeaning(long failure);

} // namespace qwirl
