#pragma once

#include <string>
#include <string_view>

namespace qwirl {

// What one SMS request is made of, every field already in Windows-1252 bytes.
struct MessageFields
{
    std::string login;
    std::string type; // "TEXT" or "FLASH"
    std::string number;
    std::string sender;
    std::string text;
    std::string password;
};

// Builds the form bodies of the three gateway operations, ticket first.
class RequestBuilder
{
public:
    // Quality 1..3 for sendBody, 1..2 for notifyBody; callers check it beforehand.
    static std::string sendBody(const MessageFields& message, short quality);
    static std::string notifyBody(const MessageFields& message, std::string_view messageId, short quality);
    static std::string creditBody(std::string_view login, std::string_view password);

    // The string whose MD5 digest is the ticket of an SMS request.
    static std::string messageTicketSource(const MessageFields& message);
};

} // namespace qwirl
