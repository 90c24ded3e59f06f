#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace parlix {

struct SendStatistics;
struct SmsCounts;

// The share of accepted SMS among those the gateway answered, as "94,9%";
// empty when none was answered.
QString acceptanceRateText(const SmsCounts& counts);

// The table behind the statistics chart: a header, then one row per period
// (its name, first and last day, accepted and refused SMS of each book, the
// totals, the credit spent and the acceptance rate), then the row of the
// whole period. Numbers in the user's locale.
QList<QStringList> statisticsTable(const SendStatistics& stats);

// The table as a CSV file: fields separated by ";" (quoted when they hold
// one), UTF-8, CR LF line ends, as the program's other CSV files.
QByteArray statisticsCsv(const SendStatistics& stats);

// The forecast in words: the day the credit runs out, and the figures it
// rests on.
QString forecastText(const SendStatistics& stats);

} // namespace parlix
