#pragma once

class QChart;

namespace parlix {

struct SendStatistics;

// The chart of the statistics window: per period, the SMS accepted and
// refused stacked book by book (bars named after the book and "<book>
// rifiutati", left axis "SMS") and the credit spent
// (line, right axis "Credito speso"). The caller owns it.
QChart* statisticsChart(const SendStatistics& stats);

} // namespace parlix
