#pragma once

#include "sending/smstally.h"
#include "sending/statisticsperiod.h"

#include <QDate>
#include <QStringList>

#include <optional>
#include <vector>

namespace parlix {

class DataFolder;
class Store;

struct StatisticsRequest
{
    QDate from; // first day counted
    QDate to;   // last day counted; none when before `from`
    StatisticsStep step = StatisticsStep::Month;
    QDate today; // the forecast looks at the 30 days up to this one
};

// One column of the statistics: the days of one period within the request.
struct StatisticsPeriod
{
    QDate start;
    QDate end;
    std::vector<SmsCounts> books; // in the order of SendStatistics::books
    SmsCounts total;
};

// When the credit runs out at the pace of the last 30 days.
struct CreditForecast
{
    static constexpr int days = 30;

    std::optional<double> credit; // the last known credit (residui.txt)
    qint64 acceptedLastDays = 0;  // SMS accepted in the `days` days up to today
    std::optional<QDate> runsOut; // nothing without a credit figure or without any SMS sent

    double dailyPace() const { return double(acceptedLastDays) / days; }
};

// The day `credit` runs out when the SMS accepted in the last
// CreditForecast::days days keep being sent at the same pace: today when there
// is none left; nothing without a credit figure or without any pace.
std::optional<QDate> creditRunsOut(std::optional<double> credit, qint64 acceptedLastDays, const QDate& today);

// What the books of a data folder sent over a period, period by period and
// book by book, and how long the credit will last.
struct SendStatistics
{
    StatisticsRequest request;
    QStringList books; // the books that sent any SMS in the period, in list order
    std::vector<StatisticsPeriod> periods;
    SmsCounts total;
    CreditForecast forecast;
    QStringList unreadable; // "book: why", for books that could not be read

    // Accepted of the SMS the gateway answered (in doubt left out); nothing when none.
    static std::optional<double> acceptanceRate(const SmsCounts& counts);
};

// The credit "residui.txt" holds; nothing when missing or no number.
std::optional<double> lastKnownCredit(const DataFolder& folder);

// Reads the statistics of every book of `folder` through `store` (a worker
// thread passes a store of its own). Throws StoreError when the book list
// cannot be read; a book that cannot be read is named in `unreadable` and
// the others are counted.
SendStatistics readSendStatistics(Store& store, const DataFolder& folder, const StatisticsRequest& request);

} // namespace parlix
