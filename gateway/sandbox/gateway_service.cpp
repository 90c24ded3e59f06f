#include "gateway_service.h"

#include "form_fields.h"
#include "json_line.h"
#include "line_file.h"
#include "qwirl/cp1252.h"
#include "qwirl/ticket.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>

namespace qwirl::sandbox {
namespace {

constexpr std::string_view SendPath = "/sms-gw/sendsmart";
constexpr std::string_view NotifyPath = "/sms-gw/smartnotify";
constexpr std::size_t MaxSenderBytes = 11;
constexpr std::size_t MaxDigits = 20;

const std::string BadAccount = "KO 1";
const std::string NoCredit = "KO 2";
const std::string Malformed = "KO 3";
const std::string Other = "KO 9";

bool isDigits(std::string_view s, std::size_t maximum)
{
    return !s.empty() && s.size() <= maximum &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string utcNow()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    gmtime_r(&now, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return text;
}

} // namespace

GatewayService::GatewayService(Account account, long credit, std::set<std::string> refused, LineFile& log)
    : account_{Cp1252::fromUtf8(account.login), Cp1252::fromUtf8(account.password)},
      refused_(std::move(refused)), log_(log), credit_(credit)
{}

long GatewayService::credit() const
{
    const std::lock_guard lock(mutex_);
    return credit_;
}

std::string GatewayService::credits(const std::string& id, const std::string& ticket)
{
    if (id != account_.login || ticket != Ticket::compute(id + "GETCREDIT" + account_.password)) {
        return BadAccount;
    }
    return "OK " + std::to_string(credit());
}

std::string GatewayService::answer(std::string_view path, std::string_view body)
{
    const bool notify = path == NotifyPath;
    if (!notify && path != SendPath) {
        return Other;
    }
    const auto form = FormFields::parse(body);
    if (!form) {
        return Malformed;
    }
    const auto operation = form->value("operation");
    const auto id = form->value("id");
    const auto ticket = form->value("ticket");
    if (!operation || !id || !ticket) {
        return Malformed;
    }
    if (*operation == "GETCREDIT" && !notify) {
        return credits(*id, *ticket);
    }
    if (*operation != "TEXT" && *operation != "FLASH") {
        return Malformed;
    }
    const auto text = form->value("data");
    const auto recipient = form->value("rcpt");
    const auto sender = form->value("from");
    const auto quality = form->value("qty");
    const auto messageId = notify ? form->value("act") : std::nullopt;
    if (!text || !recipient || !sender || !quality || (notify && !messageId)) {
        return Malformed;
    }
    if (*id != account_.login ||
        *ticket != Ticket::compute(*id + *operation + *recipient + *sender + *text + account_.password)) {
        return BadAccount;
    }
    const bool qualityKnown = *quality == "h" || *quality == "l" || (!notify && *quality == "ll");
    if (!qualityKnown || sender->size() > MaxSenderBytes || !recipient->starts_with('+') ||
        !isDigits(std::string_view(*recipient).substr(1), MaxDigits) ||
        (notify && !isDigits(*messageId, MaxDigits))) {
        return Malformed;
    }
    if (refused_.contains(*recipient)) {
        return Malformed;
    }
    {
        const std::lock_guard lock(mutex_);
        if (credit_ <= 0) {
            return NoCredit;
        }
        --credit_;
    }
    JsonLine line;
    line.add("time", utcNow())
        .add("recipient", *recipient)
        .add("sender", Cp1252::toUtf8(*sender))
        .add("type", *operation)
        .add("quality", *quality)
        .add("text", Cp1252::toUtf8(*text));
    if (notify) {
        line.add("message_id", *messageId);
    }
    log_.append(line.text());
    return "OK";
}

} // namespace qwirl::sandbox
