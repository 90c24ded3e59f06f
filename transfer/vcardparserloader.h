#pragma once

#include "transfer/vcardparser.h"

#include <QString>

#include <stdexcept>

namespace parlix::vcard {

// The vCard parser module, loaded once, on first use, by whichever thread
// asks first. A program run from its build tree loads the module built
// beside it (lib/ of the build tree); an installed one loads the installed
// module (the program's folder under the library folder).
struct ParserModule
{
    ParlixVcardRead read = nullptr;
    ParlixVcardSplitName splitName = nullptr;
    // Why the module could not be loaded, for the user ("manca il modulo
    // PATH (reason)"); empty when it was, and then both entry points are set.
    QString problem;
};

const ParserModule& parserModule();

// Thrown by a reading that needs the module when it could not be loaded;
// what() is the module's `problem`.
class ParserMissing : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace parlix::vcard
