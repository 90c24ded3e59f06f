#pragma once

#include <QString>

#include <initializer_list>
#include <vector>

namespace parlix {

// A module of the program (a shared object loaded on first use, so that the
// libraries it links cost nothing to the programs until then). A program run
// from its build tree loads the module built beside it (lib/ of the build
// tree); an installed one loads the installed module (the program's folder
// under the library folder).
struct ProgramModule
{
    // The entry points, in the order asked; all set, or none.
    std::vector<void*> symbols;
    // Why the module could not be loaded, for the user ("manca il modulo
    // PATH (reason)"); empty when it was.
    QString problem;
};

// Loads `file` (never unloaded) and finds `symbols` in it.
ProgramModule loadProgramModule(const char* file, std::initializer_list<const char*> symbols);

} // namespace parlix
