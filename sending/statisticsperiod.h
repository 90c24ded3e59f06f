#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace parlix {

// The length of one column of the statistics: a day, a week (Monday to
// Sunday) or a calendar month.
enum class StatisticsStep { Day, Week, Month };

// "day", "week" or "month" (the console's words); nothing for any other.
std::optional<StatisticsStep> statisticsStepFromWord(const QString& word);
QString statisticsStepWord(StatisticsStep step);

// The first day of the period of `step` that holds `day`.
QDate periodStart(const QDate& day, StatisticsStep step);
// The last day of the period that begins on `start`.
QDate periodEnd(const QDate& start, StatisticsStep step);
// Where a period ending on `to` begins when the user names none: the last
// 30 days, 12 weeks or 12 months.
QDate defaultPeriodStart(const QDate& to, StatisticsStep step);
// How the period that begins on `start` is named for the user: "24/12/2026",
// "sett. 21/12/2026" (its Monday), "12/2026".
QString periodLabel(const QDate& start, StatisticsStep step);

} // namespace parlix
