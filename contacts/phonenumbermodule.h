#pragma once

// The entry points of the phone number module (parlix_phonenumbers), the only
// part of the program that needs libphonenumber: its static initialisers and
// those of protobuf would cost every start of the programs, so it is loaded on
// the first number checked (phonenumberloader.h). Plain C types only: every
// string is UTF-8, and a number without a country code is Italian.

extern "C" {

using ParlixPhoneTextVisitor = void (*)(const char* text, void* context);

// Whether the number parses and has a length some numbering plan allows.
using ParlixPhoneIsPossible = bool (*)(const char* number);
// A form of the number, given to `visit`, which is not called when there is
// none: E.164 ("+393331234567") when the number parses and is possible; the
// national significant number ("3331234567") when it parses.
using ParlixPhoneText = void (*)(const char* number, ParlixPhoneTextVisitor visit, void* context);
// Whether the number parses and is a mobile one (or may be, as in the plans
// that do not tell mobile from fixed numbers).
using ParlixPhoneIsMobile = bool (*)(const char* number);

} // extern "C"

#define PARLIX_PHONE_IS_POSSIBLE_SYMBOL "parlix_phone_is_possible"
#define PARLIX_PHONE_E164_SYMBOL "parlix_phone_e164"
#define PARLIX_PHONE_NATIONAL_SYMBOL "parlix_phone_national"
#define PARLIX_PHONE_IS_MOBILE_SYMBOL "parlix_phone_is_mobile"
