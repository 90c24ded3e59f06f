#include "optoutnumber.h"

#include "contacts/phonenumberloader.h"
#include "store/storeerror.h"

#include <algorithm>

namespace parlix {

namespace {

// Without the phone number module the register cannot tell its numbers: the
// operation fails as one of the store would, rather than letting a number in
// the register through.
const phone::NumberModule& loadedModule()
{
    const phone::NumberModule& module = phone::numberModule();
    if (!module.problem.isEmpty())
        throw StoreError(StoreError::Code::Engine, module.problem);
    return module;
}

} // namespace

std::optional<QString> optOutKey(const QString& number)
{
    const QString trimmed = number.trimmed();
    // The library reads letters as keypad digits: in a register they are a typing error.
    const auto allowed = [](QChar c) {
        return c.isDigit() || c == u'+' || c == u' ' || c == u'-' || c == u'.' || c == u'/' || c == u'(' ||
               c == u')';
    };
    if (trimmed.isEmpty() || !std::all_of(trimmed.begin(), trimmed.end(), allowed))
        return std::nullopt;
    return phone::textOf(loadedModule().e164, trimmed);
}

QString nationalDigits(const QString& key)
{
    return phone::textOf(loadedModule().national, key).value_or(QString());
}

} // namespace parlix
