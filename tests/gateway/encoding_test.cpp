#include "qwirl/cp1252.h"
#include "qwirl/form_encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using qwirl::Cp1252;
using qwirl::FormEncoding;

TEST(QwirlCp1252, ConvertsUtf8ToWindows1252WithQuestionMarkForTheRest)
{
    const struct
    {
        std::string utf8;
        std::string expected;
    } cases[] = {
        {"Ciao a tutti 123", "Ciao a tutti 123"},
        {"perché è già così più", "perch\xE9 \xE8 gi\xE0 cos\xEC pi\xF9"},
        {"€ “quote” – Š œ Ÿ ™", "\x80 \x93quote\x94 \x96 \x8A \x9C \x9F \x99"},
        {"Ω 😀 中", "? ? ?"},
        {std::string("a\xC3", 2), "a?"},                  // truncated sequence
        {"\xC0\xAF", "??"},                               // overlong '/'
        {"\xED\xA0\x80", "???"},                          // surrogate
        {"\xF4\x90\x80\x80", "????"},                     // above U+10FFFF
        {std::string("a\0b", 3), std::string("a\0b", 3)}, // NUL is a character like any other
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1252::fromUtf8(c.utf8), c.expected) << c.utf8;
    }
}

TEST(QwirlCp1252, EveryByteSurvivesTheRoundTripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(Cp1252::fromUtf8(Cp1252::toUtf8(all)), all);
    EXPECT_EQ(Cp1252::toUtf8("\x80\xE8\x9C"), "€èœ");
}

TEST(QwirlCp1252, Utf8PrefixCountsCharactersNotBytes)
{
    EXPECT_EQ(Cp1252::utf8Prefix("Perché-è-così", 7), "Perché-");
    EXPECT_EQ(Cp1252::utf8Prefix("€€€", 2), "€€");
    EXPECT_EQ(Cp1252::utf8Prefix("short", 11), "short");
    EXPECT_EQ(Cp1252::utf8Prefix("a\xFF"
                                 "bc",
                                 2),
              "a\xFF");
}

TEST(QwirlFormEncoding, KeepsLettersDigitsUnderscoreApostropheAndEncodesEverythingElse)
{
    const struct
    {
        std::string bytes;
        std::string expected;
    } cases[] = {
        {"AZaz09_'", "AZaz09_'"},
        {"l'ho visto", "l'ho+visto"},
        {"a,b!c-d", "a%2Cb%21c%2Dd"},
        {".-*~+/", "%2E%2D%2A%7E%2B%2F"},
        {"riga 1\r\nriga 2", "riga+1%0D%0Ariga+2"},
        {"perch\xE8", "perch%E8"},
        {"\x80\xFF", "%80%FF"},
        {std::string("\0&=%", 4), "%00%26%3D%25"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormEncoding::encode(c.bytes), c.expected) << c.bytes;
    }
}

TEST(QwirlFormEncoding, DecodesWhatItEncodesAndRejectsBrokenEscapes)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(FormEncoding::decode(FormEncoding::encode(all)), all);
    EXPECT_EQ(FormEncoding::decode("a+b%e8%2B"), std::optional<std::string>("a b\xE8+"));
    EXPECT_EQ(FormEncoding::decode("%"), std::nullopt);
    EXPECT_EQ(FormEncoding::decode("ab%4"), std::nullopt);
    EXPECT_EQ(FormEncoding::decode("%G0"), std::nullopt);
}

} // namespace
