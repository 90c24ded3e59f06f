#include "vcardparserloader.h"

#include "core/programmodule.h"

namespace parlix::vcard {

namespace {

ParserModule load()
{
    const ProgramModule loaded = loadProgramModule(
        PARLIX_VCARD_PARSER_FILE, {PARLIX_VCARD_READ_SYMBOL, PARLIX_VCARD_SPLIT_NAME_SYMBOL});
    if (!loaded.problem.isEmpty())
        return {.problem = loaded.problem};
    return {reinterpret_cast<ParlixVcardRead>(loaded.symbols[0]),
            reinterpret_cast<ParlixVcardSplitName>(loaded.symbols[1]),
            {}};
}

} // namespace

const ParserModule& parserModule()
{
    static const ParserModule module = load();
    return module;
}

} // namespace parlix::vcard
