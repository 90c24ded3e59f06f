#pragma once

#include "contacts/phonenumbermodule.h"

#include <QString>

#include <optional>

namespace parlix::phone {

// The phone number module, loaded once, on first use, by whichever thread
// asks first (see core/programmodule.h for where it is looked for).
struct NumberModule
{
    ParlixPhoneIsPossible isPossible = nullptr;
    ParlixPhoneText e164 = nullptr;
    ParlixPhoneText national = nullptr;
    ParlixPhoneIsMobile isMobile = nullptr;
    // Why the module could not be loaded ("manca il modulo PATH (reason)");
    // empty when it was, and then every entry point is set.
    QString problem;
};

const NumberModule& numberModule();

// What one of the module's text entry points gives for `number`; nothing when
// it does not call back.
std::optional<QString> textOf(ParlixPhoneText entry, const QString& number);

} // namespace parlix::phone
