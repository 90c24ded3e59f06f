#include "statisticschart.h"

#include "sending/sendstatistics.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace parlix {

namespace {

QString axisTitle(StatisticsStep step)
{
    switch (step) {
    case StatisticsStep::Day:
        return QStringLiteral("Giorno");
    case StatisticsStep::Week:
        return QStringLiteral("Settimana (dal lunedì)");
    case StatisticsStep::Month:
        return QStringLiteral("Mese");
    }
    return {};
}

QString shortLabel(const QDate& start, StatisticsStep step)
{
    return start.toString(step == StatisticsStep::Month ? QStringLiteral("MM/yyyy")
                                                        : QStringLiteral("dd/MM"));
}

// More columns than this leave no room for a name under each.
constexpr qsizetype namedColumns = 16;

// Where the line puts a period: the middle of its column. Periods of a day or
// a week are all as long, so a time axis under the columns matches them.
qreal position(const StatisticsPeriod& period, StatisticsStep step, qsizetype index, bool timed)
{
    if (!timed)
        return qreal(index);
    const QDate start = periodStart(period.start, step);
    return qreal(start.startOfDay().addSecs(12 * 3600).toMSecsSinceEpoch());
}

// The book's colour from a fixed palette, so a book keeps it from one chart to the next.
QColor bookColour(qsizetype book)
{
    static const QColor palette[] = {QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c),
                                     QColor(0x94, 0x67, 0xbd), QColor(0xff, 0x7f, 0x0e),
                                     QColor(0x17, 0xbe, 0xcf), QColor(0x8c, 0x56, 0x4b),
                                     QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};
    return palette[book % qsizetype(std::size(palette))];
}

// A round top for an axis holding `value`, at least 1.
qreal niceTop(qreal value)
{
    QValueAxis probe;
    probe.setRange(0, std::max<qreal>(value, 1));
    probe.applyNiceNumbers();
    return probe.max();
}

} // namespace

QChart* statisticsChart(const SendStatistics& stats)
{
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("SMS inviati dal %1 al %2")
                        .arg(stats.request.from.toString(QStringLiteral("dd/MM/yyyy")),
                             stats.request.to.toString(QStringLiteral("dd/MM/yyyy"))));
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);

    auto* bars = new QStackedBarSeries(chart);
    bars->setName(QStringLiteral("SMS"));
    auto* credit = new QLineSeries(chart);
    credit->setName(QStringLiteral("Credito speso"));
    const StatisticsStep step = stats.request.step;
    const bool timed = qsizetype(stats.periods.size()) > namedColumns && step != StatisticsStep::Month;
    QStringList categories;
    qreal highestBar = 0;
    for (const StatisticsPeriod& period : stats.periods) {
        credit->append(position(period, step, categories.size(), timed), qreal(period.total.accepted));
        categories << shortLabel(period.start, step);
        highestBar = std::max<qreal>(highestBar, qreal(period.total.accepted + period.total.refused));
    }
    for (qsizetype book = 0; book < stats.books.size(); ++book) {
        auto* accepted = new QBarSet(stats.books[book]);
        auto* refused = new QBarSet(stats.books[book] + QStringLiteral(" rifiutati"));
        accepted->setColor(bookColour(book));
        if (timed) {
            // Columns a few pixels wide: plain colours, no borders.
            accepted->setBorderColor(Qt::transparent);
            refused->setColor(bookColour(book).lighter(160));
            refused->setBorderColor(Qt::transparent);
        } else {
            refused->setBrush(QBrush(bookColour(book), Qt::BDiagPattern));
            refused->setBorderColor(bookColour(book));
        }
        for (const StatisticsPeriod& period : stats.periods) {
            accepted->append(qreal(period.books[std::size_t(book)].accepted));
            refused->append(qreal(period.books[std::size_t(book)].refused));
        }
        bars->append(accepted);
        bars->append(refused);
    }
    if (timed)
        bars->setBarWidth(1);
    chart->addSeries(bars);
    chart->addSeries(credit);

    auto* periods = new QBarCategoryAxis(chart);
    periods->setCategories(categories);
    periods->setTitleText(axisTitle(step));
    auto* sms = new QValueAxis(chart);
    sms->setTitleText(QStringLiteral("SMS"));
    sms->setLabelFormat(QStringLiteral("%d"));
    sms->setRange(0, niceTop(highestBar));
    auto* spent = new QValueAxis(chart);
    spent->setTitleText(QStringLiteral("Credito speso (SMS)"));
    spent->setLabelFormat(QStringLiteral("%d"));
    spent->setRange(0, sms->max()); // the same unit, the same scale
    chart->addAxis(periods, Qt::AlignBottom);
    chart->addAxis(sms, Qt::AlignLeft);
    chart->addAxis(spent, Qt::AlignRight);
    bars->attachAxis(periods);
    bars->attachAxis(sms);
    credit->attachAxis(spent);
    if (timed) {
        // Too many columns to name each: the columns go unnamed and dates
        // are marked on a time axis under them, the line drawn against it.
        periods->setLabelsVisible(false);
        periods->setTitleVisible(false);
        auto* dates = new QDateTimeAxis(chart);
        dates->setFormat(QStringLiteral("dd/MM/yy"));
        dates->setTitleText(axisTitle(step));
        dates->setTickCount(9);
        const qreal half = (credit->at(1).x() - credit->at(0).x()) / 2;
        dates->setRange(QDateTime::fromMSecsSinceEpoch(qint64(credit->at(0).x() - half)),
                        QDateTime::fromMSecsSinceEpoch(qint64(credit->at(credit->count() - 1).x() + half)));
        chart->addAxis(dates, Qt::AlignBottom);
        credit->attachAxis(dates);
    } else {
        credit->attachAxis(periods);
    }
    credit->setPen(QPen(QColor(0xd6, 0x27, 0x28), 2));
    return chart;
}

} // namespace parlix
