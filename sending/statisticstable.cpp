#include "statisticstable.h"

#include "core/numbers.h"
#include "sending/sendstatistics.h"

#include <QLocale>

namespace parlix {

namespace {

QString date(const QDate& day)
{
    return day.toString(QStringLiteral("dd/MM/yyyy"));
}

// One decimal in the user's locale, without group separators.
QString oneDecimal(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 1);
}

QStringList totals(const SmsCounts& counts)
{
    return {QString::number(counts.accepted), QString::number(counts.refused),
            QString::number(counts.inDoubt), QString::number(counts.accepted), acceptanceRateText(counts)};
}

QString csvField(const QString& field)
{
    if (!field.contains(u';') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
        return field;
    return u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

QString acceptanceRateText(const SmsCounts& counts)
{
    const auto value = SendStatistics::acceptanceRate(counts);
    return value ? oneDecimal(*value * 100) + u'%' : QString();
}

QList<QStringList> statisticsTable(const SendStatistics& stats)
{
    QStringList header{QStringLiteral("Periodo"), QStringLiteral("Dal"), QStringLiteral("Al")};
    for (const QString& book : stats.books)
        header << book + QStringLiteral(" accettati") << book + QStringLiteral(" rifiutati");
    header << QStringLiteral("Accettati") << QStringLiteral("Rifiutati") << QStringLiteral("Esito incerto")
           << QStringLiteral("Credito speso") << QStringLiteral("Tasso di accettazione");
    QList<QStringList> table{header};
    for (const StatisticsPeriod& period : stats.periods) {
        QStringList row{periodLabel(periodStart(period.start, stats.request.step), stats.request.step),
                        date(period.start), date(period.end)};
        for (const SmsCounts& counts : period.books)
            row << QString::number(counts.accepted) << QString::number(counts.refused);
        table << row + totals(period.total);
    }
    QStringList all{QStringLiteral("Totale"), date(stats.request.from), date(stats.request.to)};
    for (qsizetype book = 0; book < stats.books.size(); ++book) {
        SmsCounts counts;
        for (const StatisticsPeriod& period : stats.periods)
            counts += period.books[std::size_t(book)];
        all << QString::number(counts.accepted) << QString::number(counts.refused);
    }
    table << all + totals(stats.total);
    return table;
}

QByteArray statisticsCsv(const SendStatistics& stats)
{
    QByteArray csv;
    for (const QStringList& row : statisticsTable(stats)) {
        QStringList fields;
        for (const QString& field : row)
            fields << csvField(field);
        csv += fields.join(u';').toUtf8() + "\r\n";
    }
    return csv;
}

QString forecastText(const SendStatistics& stats)
{
    const CreditForecast& forecast = stats.forecast;
    const QString basis = QStringLiteral("%1 SMS accettati negli ultimi %2 giorni (%3 al giorno)")
                              .arg(forecast.acceptedLastDays)
                              .arg(CreditForecast::days)
                              .arg(oneDecimal(forecast.dailyPace()));
    if (!forecast.credit)
        return QStringLiteral("Credito residuo sconosciuto: aggiornare il credito per la previsione. ") +
               basis + u'.';
    const QString credit = QStringLiteral("credito residuo %1").arg(numbers::format(*forecast.credit));
    if (*forecast.credit <= 0)
        return QStringLiteral("Il credito è esaurito: %1, %2.").arg(credit, basis);
    if (!forecast.runsOut)
        return QStringLiteral("Al ritmo attuale il credito non si esaurisce: %1, %2.").arg(basis, credit);
    return QStringLiteral("Il credito si esaurirà il %1 al ritmo di %2, %3.")
        .arg(date(*forecast.runsOut), basis, credit);
}

} // namespace parlix
