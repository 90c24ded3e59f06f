#pragma once

#include "qwirl/curl_transport.h"
#include "qwirl/hosts.h"
#include "qwirl/result_codes.h"
#include "qwirl/transport.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qwirl {

// The gateway control: eight properties and the three gateway operations.
//
// Strings are UTF-8 at this interface and become Windows-1252 inside (a character without a Windows-1252
// code becomes '?'). An absent argument (std::nullopt) is distinct from an empty one; use optionalText()
// to pass a C string that may be null.
//
// Every method is synchronous and blocks for the length of the HTTP exchange; none throws, every failure
// is a result value. One instance serves one thread; instances share nothing, so each worker thread can
// own its own.
class Control
{
public:
    // Hosts from the compiled defaults and the QWIRL_SEND_HOST / QWIRL_NOTIFY_HOST environment variables,
    // libcurl transport with the standard time-outs. With a malformed variable nothing goes out: the
    // exchanges on that host fail as an invalid address (12005, CheckCredits -1).
    Control();
    // Fixed hosts (a local sandbox, say) and a libcurl transport with the given time-outs.
    explicit Control(Hosts hosts, Timeouts timeouts = {});
    // Fixed hosts and any transport.
    Control(Hosts hosts, std::unique_ptr<Transport> transport);
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Properties: stored as given, checked only when a method runs.
    bool Flash() const { return flash_; }
    void setFlash(bool flash) { flash_ = flash; }
    const std::string& password() const { return password_; }
    void setPassword(std::string password) { password_ = std::move(password); }
    const std::string& login() const { return login_; }
    void setLogin(std::string login) { login_ = std::move(login); }
    // Send and SendNotify cut it to its first 11 characters once their checks pass.
    const std::string& Sender() const { return sender_; }
    void setSender(std::string sender) { sender_ = std::move(sender); }
    const std::string& ProxyAddress() const { return proxy_.address; }
    void setProxyAddress(std::string address) { proxy_.address = std::move(address); }
    const std::string& ProxyLogin() const { return proxy_.login; }
    void setProxyLogin(std::string login) { proxy_.login = std::move(login); }
    const std::string& ProxyPassword() const { return proxy_.password; }
    void setProxyPassword(std::string password) { proxy_.password = std::move(password); }
    short Quality() const { return quality_; }
    void setQuality(short quality) { quality_ = quality; }

    // One SMS to `Number` ("+" and digits). 0 when the gateway accepted it, else a code of Result or a
    // WinInet-style number above 12000.
    long Send(std::optional<std::string_view> Number, std::optional<std::string_view> Text);
    // As Send, with a message identifier of 1 to 20 digits that the gateway reports back.
    long SendNotify(std::optional<std::string_view> Number, std::optional<std::string_view> Text,
                    std::optional<std::string_view> MessageID);
    // The account's remaining credit, or -1.
    long CheckCredits();
    // Why the last CheckCredits gave -1, so a host can tell a refused account from a gateway out of reach:
    // 0 after a credit was read; Result::NoLogin or NoPassword when one was missing; the number of the
    // failed exchange (above 12000, or ProxyAuthCancelled, Offline) when the gateway could not be reached;
    // otherwise the gateway answered without a credit, and this is what Send would have returned for that
    // answer (RefusedKo1 for a wrong login or password, Refused for an answer that is no credit at all).
    long LastCreditFailure() const { return creditFailure_; }

    // Releases any internet session kept open (after a declined go-online request).
    void CloseInternet();

    void setGoOnlineHook(GoOnlineHook hook);
    void setProxyCredentialsCallback(ProxyCredentialsCallback callback);

    const Hosts& hosts() const { return hosts_; }

    static constexpr std::size_t MaxSenderLength = 11;
    static constexpr short DefaultQuality = 2;

private:
    // The checks Send and SendNotify share, in their order; Result::Accepted when all pass.
    long checkMessage(std::optional<std::string_view> Number, std::optional<std::string_view> Text) const;
    long exchangeMessage(std::string_view path, const std::string& host, std::string_view number,
                         std::string_view text, std::optional<std::string_view> messageId);

    Hosts hosts_;
    std::unique_ptr<Transport> transport_;
    bool flash_ = false;
    std::string password_;
    std::string login_;
    std::string sender_;
    ProxySettings proxy_;
    short quality_ = DefaultQuality;
    long creditFailure_ = Result::Accepted;
};

// A C string that may be null as an optional argument: null is absent.
inline std::optional<std::string_view> optionalText(const char* text)
{
    if (text == nullptr) {
        return std::nullopt;
    }
    return std::string_view(text);
}

} // namespace qwirl
