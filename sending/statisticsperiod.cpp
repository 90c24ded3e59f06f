#include "statisticsperiod.h"

namespace parlix {

std::optional<StatisticsStep> statisticsStepFromWord(const QString& word)
{
    for (const StatisticsStep step : {StatisticsStep::Day, StatisticsStep::Week, StatisticsStep::Month}) {
        if (statisticsStepWord(step) == word)
            return step;
    }
    return std::nullopt;
}

QString statisticsStepWord(StatisticsStep step)
{
    switch (step) {
    case StatisticsStep::Day:
        return QStringLiteral("day");
    case StatisticsStep::Week:
        return QStringLiteral("week");
    case StatisticsStep::Month:
        return QStringLiteral("month");
    }
    return {};
}

QDate periodStart(const QDate& day, StatisticsStep step)
{
    switch (step) {
    case StatisticsStep::Day:
        return day;
    case StatisticsStep::Week:
        return day.addDays(1 - day.dayOfWeek());
    case StatisticsStep::Month:
        return QDate(day.year(), day.month(), 1);
    }
    return day;
}

QDate periodEnd(const QDate& start, StatisticsStep step)
{
    switch (step) {
    case StatisticsStep::Day:
        return start;
    case StatisticsStep::Week:
        return start.addDays(6);
    case StatisticsStep::Month:
        return start.addMonths(1).addDays(-1);
    }
    return start;
}

QDate defaultPeriodStart(const QDate& to, StatisticsStep step)
{
    switch (step) {
    case StatisticsStep::Day:
        return to.addDays(-29);
    case StatisticsStep::Week:
        return periodStart(to, step).addDays(-7 * 11);
    case StatisticsStep::Month:
        return periodStart(to, step).addMonths(-11);
    }
    return to;
}

QString periodLabel(const QDate& start, StatisticsStep step)
{
    switch (step) {
    case StatisticsStep::Day:
        return start.toString(QStringLiteral("dd/MM/yyyy"));
    case StatisticsStep::Week:
        return QStringLiteral("sett. ") + start.toString(QStringLiteral("dd/MM/yyyy"));
    case StatisticsStep::Month:
        return start.toString(QStringLiteral("MM/yyyy"));
    }
    return {};
}

} // namespace parlix
