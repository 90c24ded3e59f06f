#include "qwirl/request_builder.h"

#include "qwirl/form_encoding.h"
#include "qwirl/ticket.h"

namespace qwirl {
namespace {

std::string_view qualityField(short quality)
{
    switch (quality) {
    case 1:
        return "&qty=h";
    case 2:
        return "&qty=l";
    case 3:
        return "&qty=ll";
    default:
        return "";
    }
}

std::string messageFields(const MessageFields& message)
{
    std::string body = "ticket=" + Ticket::compute(RequestBuilder::messageTicketSource(message));
    body += "&operation=" + message.type;
    body += "&data=" + FormEncoding::encode(message.text);
    body += "&id=" + FormEncoding::encode(message.login);
    body += "&rcpt=" + FormEncoding::encode(message.number);
    body += "&from=" + FormEncoding::encode(message.sender);
    return body;
}

} // namespace

std::string RequestBuilder::messageTicketSource(const MessageFields& message)
{
    return message.login + message.type + message.number + message.sender + message.text + message.password;
}

std::string RequestBuilder::sendBody(const MessageFields& message, short quality)
{
    return messageFields(message) + std::string(qualityField(quality));
}

std::string RequestBuilder::notifyBody(const MessageFields& message, std::string_view messageId,
                                       short quality)
{
    return messageFields(message) + "&act=" + FormEncoding::encode(messageId) +
           std::string(qualityField(quality));
}

std::string RequestBuilder::creditBody(std::string_view login, std::string_view password)
{
    std::string source(login);
    source += "GETCREDIT";
    source += password;
    // The login is encoded like every other field value: sent as it stands, a login holding '&', '=', '+'
    // or '%' would break the form apart or reach the gateway as another account.
    return "ticket=" + Ticket::compute(source) + "&operation=GETCREDIT&id=" + FormEncoding::encode(login);
}

} // namespace qwirl
