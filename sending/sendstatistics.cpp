#include "sendstatistics.h"

#include "contacts/bookcontacts.h"
#include "core/datafolder.h"
#include "core/numbers.h"
#include "core/textfile.h"
#include "store/database.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <algorithm>
#include <cmath>

namespace parlix {

namespace {

std::vector<StatisticsPeriod> emptyPeriods(const StatisticsRequest& request)
{
    std::vector<StatisticsPeriod> periods;
    if (!request.from.isValid() || !request.to.isValid() || request.from > request.to)
        return periods;
    for (QDate start = periodStart(request.from, request.step); start <= request.to;
         start = periodEnd(start, request.step).addDays(1)) {
        StatisticsPeriod period;
        period.start = std::max(start, request.from);
        period.end = std::min(periodEnd(start, request.step), request.to);
        periods.push_back(period);
    }
    return periods;
}

// The period of `periods` (in order, back to back) that holds `day`.
StatisticsPeriod* periodOf(std::vector<StatisticsPeriod>& periods, const QDate& day)
{
    auto found = std::upper_bound(periods.begin(), periods.end(), day,
                                  [](const QDate& d, const StatisticsPeriod& p) { return d < p.start; });
    if (found == periods.begin())
        return nullptr;
    --found;
    return day <= found->end ? &*found : nullptr;
}

} // namespace

std::optional<double> SendStatistics::acceptanceRate(const SmsCounts& counts)
{
    const qint64 answered = counts.accepted + counts.refused;
    if (answered == 0)
        return std::nullopt;
    return double(counts.accepted) / double(answered);
}

std::optional<QDate> creditRunsOut(std::optional<double> credit, qint64 acceptedLastDays, const QDate& today)
{
    if (!credit)
        return std::nullopt;
    if (*credit <= 0)
        return today;
    if (acceptedLastDays <= 0)
        return std::nullopt;
    // Used up during the day the pace has spent it all.
    const double days = std::ceil(*credit * CreditForecast::days / double(acceptedLastDays));
    if (days > 36500)
        return std::nullopt; // beyond a century is no forecast
    return today.addDays(qint64(days));
}

std::optional<double> lastKnownCredit(const DataFolder& folder)
{
    const auto line = textfile::readFirstLine(folder.path(QStringLiteral("residui.txt")));
    return line ? numbers::parse(*line) : std::nullopt;
}

SendStatistics readSendStatistics(Store& store, const DataFolder& folder, const StatisticsRequest& request)
{
    SendStatistics stats;
    stats.request = request;
    std::vector<StatisticsPeriod> periods = emptyPeriods(request);
    const QDate recentFrom = request.today.addDays(1 - CreditForecast::days);
    std::vector<std::vector<SmsCounts>> perBook; // one column per book that sent anything
    for (const QString& book : bookNames(store, folder.bookList())) {
        const QString path = folder.bookPath(book);
        if (path.isEmpty())
            continue; // a damaged name
        std::map<QDate, SmsCounts> days;
        try {
            const std::shared_ptr<Database> db = store.open(path);
            // One reading serves both when the last days touch the period.
            const bool together =
                recentFrom <= request.to.addDays(1) && request.today >= request.from.addDays(-1);
            days = together ? dailySmsCounts(*db, std::min(request.from, recentFrom),
                                             std::max(request.to, request.today))
                            : dailySmsCounts(*db, request.from, request.to);
            const std::map<QDate, SmsCounts> recent =
                together ? std::map<QDate, SmsCounts>() : dailySmsCounts(*db, recentFrom, request.today);
            for (const auto& [day, counts] : together ? days : recent) {
                if (day >= recentFrom && day <= request.today)
                    stats.forecast.acceptedLastDays += counts.accepted;
            }
        } catch (const StoreError& error) {
            stats.unreadable << book + QStringLiteral(": ") + error.message();
            continue;
        }
        std::vector<SmsCounts> column(periods.size());
        bool sent = false;
        for (const auto& [day, counts] : days) {
            if (StatisticsPeriod* period = periodOf(periods, day)) {
                column[std::size_t(period - periods.data())] += counts;
                period->total += counts;
                stats.total += counts;
                sent = true;
            }
        }
        if (!sent)
            continue;
        stats.books << book;
        perBook.push_back(std::move(column));
    }
    for (std::size_t p = 0; p < periods.size(); ++p) {
        for (const auto& column : perBook)
            periods[p].books.push_back(column[p]);
    }
    stats.periods = std::move(periods);
    stats.forecast.credit = lastKnownCredit(folder);
    stats.forecast.runsOut =
        creditRunsOut(stats.forecast.credit, stats.forecast.acceptedLastDays, request.today);
    return stats;
}

} // namespace parlix
