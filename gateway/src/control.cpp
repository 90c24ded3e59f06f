#include "qwirl/control.h"

#include "qwirl/answer_parser.h"
#include "qwirl/argument_checks.h"
#include "qwirl/cp1252.h"
#include "qwirl/request_builder.h"
#include "qwirl/result_codes.h"

#include <exception>

namespace qwirl {
namespace {

constexpr const char* SendPath = "/sms-gw/sendsmart";
constexpr const char* NotifyPath = "/sms-gw/smartnotify";

} // namespace

Control::Control() : Control(Hosts::fromEnvironment()) {}

Control::Control(Hosts hosts, Timeouts timeouts)
    : Control(hosts, std::make_unique<CurlTransport>(timeouts, hosts.caFile))
{}

Control::Control(Hosts hosts, std::unique_ptr<Transport> transport)
    : hosts_(std::move(hosts)), transport_(std::move(transport))
{}

Control::~Control()
{
    CloseInternet();
}

void Control::CloseInternet()
{
    transport_->CloseInternet();
}

void Control::setGoOnlineHook(GoOnlineHook hook)
{
    transport_->setGoOnlineHook(std::move(hook));
}

void Control::setProxyCredentialsCallback(ProxyCredentialsCallback callback)
{
    transport_->setProxyCredentialsCallback(std::move(callback));
}

long Control::checkMessage(std::optional<std::string_view> Number, std::optional<std::string_view> Text) const
{
    if (!ArgumentChecks::IsValidNumber(Number)) {
        return Result::BadNumber;
    }
    if (!Text) {
        return Result::NoText;
    }
    if (login_.empty()) {
        return Result::NoLogin;
    }
    if (password_.empty()) {
        return Result::NoPassword;
    }
    return Result::Accepted;
}

long Control::Send(std::optional<std::string_view> Number, std::optional<std::string_view> Text)
{
    if (const long refused = checkMessage(Number, Text); refused != Result::Accepted) {
        return refused;
    }
    if (quality_ < 1 || quality_ > 3) {
        return Result::BadQuality;
    }
    return exchangeMessage(SendPath, hosts_.send, *Number, *Text, std::nullopt);
}

long Control::SendNotify(std::optional<std::string_view> Number, std::optional<std::string_view> Text,
                         std::optional<std::string_view> MessageID)
{
    if (const long refused = checkMessage(Number, Text); refused != Result::Accepted) {
        return refused;
    }
    if (!ArgumentChecks::isValidMessageId(MessageID)) {
        return Result::BadMessageId;
    }
    if (quality_ != 1 && quality_ != 2) {
        return Result::BadQuality;
    }
    return exchangeMessage(NotifyPath, hosts_.notify, *Number, *Text, MessageID);
}

long Control::exchangeMessage(std::string_view path, const std::string& host, std::string_view number,
                              std::string_view text, std::optional<std::string_view> messageId)
{
    // The shortened sender stays in the property, whatever the exchange brings.
    sender_.resize(Cp1252::utf8Prefix(sender_, MaxSenderLength).size());
    if (!Hosts::isWellFormed(host)) {
        return WinInetError::InvalidUrl;
    }
    try {
        const MessageFields message{Cp1252::fromUtf8(login_), flash_ ? "FLASH" : "TEXT",
                                    Cp1252::fromUtf8(number), Cp1252::fromUtf8(sender_),
                                    Cp1252::fromUtf8(text),   Cp1252::fromUtf8(password_)};
        const std::string body = messageId ? RequestBuilder::notifyBody(message, *messageId, quality_)
                                           : RequestBuilder::sendBody(message, quality_);
        std::string answer;
        const int code = transport_->PostForm(body, std::string(path), host, proxy_, answer);
        if (code != 0) {
            return code;
        }
        return AnswerParser::sendResult(answer);
    } catch (const std::exception&) {
        return WinInetError::InternalError;
    }
}

long Control::CheckCredits()
{
    creditFailure_ = Result::Accepted;
    if (login_.empty() || password_.empty() || !Hosts::isWellFormed(hosts_.send)) {
        creditFailure_ = login_.empty()      ? Result::NoLogin
                         : password_.empty() ? Result::NoPassword
                                             : WinInetError::InvalidUrl;
        return Result::NoCredit;
    }
    try {
        const std::string body =
            RequestBuilder::creditBody(Cp1252::fromUtf8(login_), Cp1252::fromUtf8(password_));
        std::string answer;
        if (const int code = transport_->PostForm(body, SendPath, hosts_.send, proxy_, answer); code != 0) {
            creditFailure_ = code;
            return Result::NoCredit;
        }
        const long credit = AnswerParser::creditResult(answer);
        if (credit == Result::NoCredit) {
            // "OK" with a number that is no credit is still no answer to the question.
            const long refusal = AnswerParser::sendResult(answer);
            creditFailure_ = refusal == Result::Accepted ? Result::Refused : refusal;
        }
        return credit;
    } catch (const std::exception&) {
        creditFailure_ = WinInetError::InternalError;
        return Result::NoCredit;
    }
}

} // namespace qwirl
