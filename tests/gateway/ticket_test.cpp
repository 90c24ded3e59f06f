#include "qwirl/request_builder.h"
#include "qwirl/ticket.h"

#include <gtest/gtest.h>

namespace {

using qwirl::MessageFields;
using qwirl::RequestBuilder;
using qwirl::Ticket;

TEST(QwirlTicket, MatchesTheTestSuiteOfRfc1321)
{
    const struct
    {
        const char* input;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ticket::compute(c.input), c.digest) << c.input;
    }
}

TEST(QwirlTicket, IsComputedOverLoginTypeNumberSenderTextAndPassword)
{
    const MessageFields text{
        "maria", "TEXT", "+393331234567", "Parlix Srl", "Ciao, tutto bene? Perch\xE9 no!", "s3gr3t0"};
    EXPECT_EQ(Ticket::compute(RequestBuilder::messageTicketSource(text)), "69f0610155d25de3381dd0869b995c10");

    const MessageFields flash{"maria", "FLASH", "+393331234567", "Parlix", "Ciao", "s3gr3t0"};
    EXPECT_EQ(Ticket::compute(RequestBuilder::messageTicketSource(flash)),
              "202c66f2d7cd55668eb68272ab926fca");
}

TEST(QwirlTicket, CreditQueryTicketIsLoginGetcreditPassword)
{
    EXPECT_EQ(RequestBuilder::creditBody("maria", "s3gr3t0"),
              "ticket=b6eee2556d2d4dc042edeb339ce00ff2&operation=GETCREDIT&id=maria");
}

} // namespace
