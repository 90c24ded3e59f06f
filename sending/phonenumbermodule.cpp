// The phone number module: libphonenumber behind the plain entry points of
// contacts/phonenumbermodule.h. Only these symbols are exported.
#include "contacts/phonenumbermodule.h"

#include <phonenumbers/phonenumberutil.h>

#include <string>

namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

const PhoneNumberUtil& util()
{
    return *PhoneNumberUtil::GetInstance();
}

bool parsed(const char* number, PhoneNumber& into)
{
    return util().Parse(number, "IT", &into) == PhoneNumberUtil::NO_PARSING_ERROR;
}

} // namespace

extern "C" __attribute__((visibility("default"))) bool parlix_phone_is_possible(const char* number)
{
    PhoneNumber parsedNumber;
    return parsed(number, parsedNumber) && util().IsPossibleNumber(parsedNumber);
}

extern "C" __attribute__((visibility("default"))) void
parlix_phone_e164(const char* number, ParlixPhoneTextVisitor visit, void* context)
{
    PhoneNumber parsedNumber;
    if (!parsed(number, parsedNumber) || !util().IsPossibleNumber(parsedNumber))
        return;
    std::string formatted;
    util().Format(parsedNumber, PhoneNumberUtil::E164, &formatted);
    visit(formatted.c_str(), context);
}

extern "C" __attribute__((visibility("default"))) void
parlix_phone_national(const char* number, ParlixPhoneTextVisitor visit, void* context)
{
    PhoneNumber parsedNumber;
    if (!parsed(number, parsedNumber))
        return;
    std::string national;
    util().GetNationalSignificantNumber(parsedNumber, &national);
    visit(national.c_str(), context);
}

extern "C" __attribute__((visibility("default"))) bool parlix_phone_is_mobile(const char* number)
{
    PhoneNumber parsedNumber;
    if (!parsed(number, parsedNumber))
        return false;
    const auto type = util().GetNumberType(parsedNumber);
    return type == PhoneNumberUtil::MOBILE || type == PhoneNumberUtil::FIXED_LINE_OR_MOBILE;
}
