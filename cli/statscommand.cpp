#include "statscommand.h"

#include "core/clock.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/sendstatistics.h"
#include "sending/statisticstable.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace parlix::cli {

namespace {

std::optional<QDate> dateArgument(const QString& text)
{
    for (const QString& format : {QStringLiteral("yyyy-MM-dd"), QStringLiteral("dd/MM/yyyy")}) {
        const QDate day = QDate::fromString(text, format);
        if (day.isValid())
            return day;
    }
    return std::nullopt;
}

QJsonObject countsJson(const SmsCounts& counts)
{
    QJsonObject object{{QStringLiteral("accepted"), counts.accepted},
                       {QStringLiteral("refused"), counts.refused},
                       {QStringLiteral("in_doubt"), counts.inDoubt}};
    if (const auto rate = SendStatistics::acceptanceRate(counts))
        object.insert(QStringLiteral("acceptance_rate"), *rate);
    return object;
}

QByteArray statsJson(const SendStatistics& stats)
{
    QJsonArray periods;
    for (const StatisticsPeriod& period : stats.periods) {
        QJsonObject object = countsJson(period.total);
        object.insert(QStringLiteral("from"), period.start.toString(Qt::ISODate));
        object.insert(QStringLiteral("to"), period.end.toString(Qt::ISODate));
        object.insert(QStringLiteral("credit_spent"), period.total.accepted);
        QJsonObject books;
        for (qsizetype b = 0; b < stats.books.size(); ++b)
            books.insert(stats.books[b], countsJson(period.books[std::size_t(b)]));
        object.insert(QStringLiteral("books"), books);
        periods.append(object);
    }
    const CreditForecast& forecast = stats.forecast;
    QJsonObject forecastObject{
        {QStringLiteral("accepted_last_30_days"), forecast.acceptedLastDays},
        {QStringLiteral("daily_average"), forecast.dailyPace()},
        {QStringLiteral("credit"), forecast.credit ? QJsonValue(*forecast.credit) : QJsonValue()},
        {QStringLiteral("runs_out"),
         forecast.runsOut ? QJsonValue(forecast.runsOut->toString(Qt::ISODate)) : QJsonValue()}};
    QJsonObject total = countsJson(stats.total);
    total.insert(QStringLiteral("credit_spent"), stats.total.accepted);
    const QJsonObject document{{QStringLiteral("from"), stats.request.from.toString(Qt::ISODate)},
                               {QStringLiteral("to"), stats.request.to.toString(Qt::ISODate)},
                               {QStringLiteral("by"), statisticsStepWord(stats.request.step)},
                               {QStringLiteral("books"), QJsonArray::fromStringList(stats.books)},
                               {QStringLiteral("periods"), periods},
                               {QStringLiteral("total"), total},
                               {QStringLiteral("forecast"), forecastObject}};
    return QJsonDocument(document).toJson(QJsonDocument::Indented);
}

} // namespace

int StatsCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const QDate today = clock_.now().date();
    std::optional<QDate> from;
    QDate to = today;
    StatisticsStep step = StatisticsStep::Month;
    bool json = false;
    QString problem;
    for (qsizetype i = 0; i < arguments.size() && problem.isEmpty(); ++i) {
        const QString& word = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (word == u"--json") {
            json = true;
        } else if ((word == u"--from" || word == u"--to") && hasValue) {
            const std::optional<QDate> day = dateArgument(arguments.at(++i));
            if (!day)
                problem = QStringLiteral("Data non valida: \"%1\" (scrivere per esempio 2026-12-24).")
                              .arg(arguments.at(i));
            else if (word == u"--from")
                from = day;
            else
                to = *day;
        } else if (word == u"--by" && hasValue) {
            const auto chosen = statisticsStepFromWord(arguments.at(++i));
            if (!chosen)
                problem =
                    QStringLiteral("Periodo non valido: \"%1\" (day, week o month).").arg(arguments.at(i));
            else
                step = *chosen;
        } else {
            problem = QStringLiteral("Argomento non riconosciuto: \"%1\".").arg(word);
        }
    }
    if (problem.isEmpty() && from && *from > to)
        problem = QStringLiteral("La data iniziale (--from) è successiva a quella finale (--to).");
    if (!problem.isEmpty()) {
        console.err << problem << "\nUso: parlix-cli stats " << synopsis() << '\n';
        return Usage;
    }
    SendStatistics stats;
    try {
        stats = readSendStatistics(*chooseStore(folder), folder,
                                   {from.value_or(defaultPeriodStart(to, step)), to, step, today});
    } catch (const StoreError& error) {
        console.err << "Impossibile leggere l'elenco delle rubriche: " << error.message() << '\n';
        return Failed;
    }
    if (json) {
        console.out << QString::fromUtf8(statsJson(stats));
    } else {
        for (const QStringList& row : statisticsTable(stats))
            console.out << row.join(u'\t') << '\n';
        console.out << forecastText(stats) << '\n';
    }
    for (const QString& book : stats.unreadable)
        console.err << "Rubrica non letta, esclusa dalle statistiche: " << book << '\n';
    return stats.unreadable.isEmpty() ? Done : Failed;
}

} // namespace parlix::cli
