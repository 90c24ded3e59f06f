#pragma once

// The entry points of the vCard parser module (parlix_vcardparser), the only
// part of the program that needs Evolution's contacts library. It is loaded
// on the first card read (vcardparserloader.h), so that the programs start
// without that library and the ones it pulls in. Plain C types only: every
// string is UTF-8 and lives for the call of the visitor that gets it.

extern "C" {

enum ParlixVcardKind { PARLIX_VCARD_TEL, PARLIX_VCARD_EMAIL, PARLIX_VCARD_FN, PARLIX_VCARD_N };

// One of the properties a contact is made of.
struct ParlixVcardProperty
{
    ParlixVcardKind kind;
    const char* value;  // the first value, null when it has none
    const char* second; // the second value (N: the given names), null when it has none
    int cell;           // TEL: typed CELL
};

// A formatted name split into its parts; null for a part not there.
struct ParlixVcardName
{
    const char* first;
    const char* middle;
    const char* last;
};

using ParlixVcardPropertyVisitor = void (*)(const ParlixVcardProperty* property, void* context);
using ParlixVcardNameVisitor = void (*)(const ParlixVcardName* name, void* context);

// `card`: one card, UTF-8, any version. `visit` gets the TEL, EMAIL, FN and N
// properties in the card's order.
using ParlixVcardRead = void (*)(const char* card, ParlixVcardPropertyVisitor visit, void* context);
// `formatted`: a formatted name, UTF-8; the library knows the particles of
// surnames ("De Santis", "di Marco") and leaves titles out.
using ParlixVcardSplitName = void (*)(const char* formatted, ParlixVcardNameVisitor visit, void* context);

} // extern "C"

#define PARLIX_VCARD_READ_SYMBOL "parlix_vcard_read"
#define PARLIX_VCARD_SPLIT_NAME_SYMBOL "parlix_vcard_split_name"
