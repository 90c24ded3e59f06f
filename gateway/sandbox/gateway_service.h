#pragma once

#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace qwirl::sandbox {

class LineFile;

// The gateway's side of the protocol: checks a request the way the control builds it, keeps the credit
// and logs every accepted SMS.
//
// Answers: "OK" for an accepted SMS, "OK <credit>" for a credit query, "KO 1" for a bad ticket or an
// unknown account, "KO 2" when no credit is left, "KO 3" for a malformed request or recipient (and for a
// refused recipient), "KO 9" for anything else. Safe to call from several threads.
class GatewayService
{
public:
    struct Account
    {
        std::string login;
        std::string password;
    };

    GatewayService(Account account, long credit, std::set<std::string> refused, LineFile& log);

    // `path` is the request's path ("/sms-gw/sendsmart" or "/sms-gw/smartnotify"), `body` its form body.
    std::string answer(std::string_view path, std::string_view body);

    long credit() const;

private:
    std::string credits(const std::string& id, const std::string& ticket);

    const Account account_;
    const std::set<std::string> refused_;
    LineFile& log_;
    mutable std::mutex mutex_;
    long credit_;
};

} // namespace qwirl::sandbox
