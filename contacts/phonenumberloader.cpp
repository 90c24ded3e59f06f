#include "phonenumberloader.h"

#include "core/programmodule.h"

namespace parlix::phone {

namespace {

NumberModule load()
{
    const ProgramModule loaded = loadProgramModule(
        PARLIX_PHONE_NUMBERS_FILE, {PARLIX_PHONE_IS_POSSIBLE_SYMBOL, PARLIX_PHONE_E164_SYMBOL,
                                    PARLIX_PHONE_NATIONAL_SYMBOL, PARLIX_PHONE_IS_MOBILE_SYMBOL});
    if (!loaded.problem.isEmpty())
        return {.problem = loaded.problem};
    return {reinterpret_cast<ParlixPhoneIsPossible>(loaded.symbols[0]),
            reinterpret_cast<ParlixPhoneText>(loaded.symbols[1]),
            reinterpret_cast<ParlixPhoneText>(loaded.symbols[2]),
            reinterpret_cast<ParlixPhoneIsMobile>(loaded.symbols[3]),
            {}};
}

} // namespace

const NumberModule& numberModule()
{
    static const NumberModule module = load();
    return module;
}

std::optional<QString> textOf(ParlixPhoneText entry, const QString& number)
{
    std::optional<QString> text;
    entry(
        number.toStdString().c_str(),
        [](const char* given, void* context) {
            *static_cast<std::optional<QString>*>(context) = QString::fromUtf8(given);
        },
        &text);
    return text;
}

} // namespace parlix::phone
