#include "statscommand.h"

#include "cli/report.h"
#include "core/clock.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/sendstatistics.h"
#include "sending/statisticstable.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QJsonArray>
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

// The period asked for; says why on `err` when the words do not name one.
std::optional<StatisticsRequest> requestFrom(const QStringList& arguments, const QDate& today,
                                             QTextStream& err)
{
    StatisticsRequest request{{}, today, StatisticsStep::Month, today};
    bool from = false;
    for (qsizetype i = 0; i + 1 < arguments.size(); i += 2) {
        const QString& word = arguments.at(i);
        const QString& value = arguments.at(i + 1);
        if (word == u"--by") {
            const auto step = statisticsStepFromWord(value);
            if (!step) {
                err << "Periodo non valido: \"" << value << "\" (day, week o month).\n";
                return std::nullopt;
            }
            request.step = *step;
            continue;
        }
        const std::optional<QDate> day = dateArgument(value);
        if (!day) {
            err << "Data non valida: \"" << value << "\" (scrivere per esempio 2026-12-24).\n";
            return std::nullopt;
        }
        (word == u"--from" ? request.from : request.to) = *day;
        from = from || word == u"--from";
    }
    if (!from)
        request.from = defaultPeriodStart(request.to, request.step);
    if (request.from > request.to) {
        err << "La data iniziale (--from) è successiva a quella finale (--to).\n";
        return std::nullopt;
    }
    return request;
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

QJsonObject statsJson(const SendStatistics& stats)
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
    return document;
}

} // namespace

CommandGrammar StatsCommand::grammar() const
{
    const QString date = QStringLiteral("DATA");
    return {0,
            0,
            {{QStringLiteral("from"),
              date,
              QStringLiteral("il primo giorno contato (2026-12-24 o 24/12/2026)"),
              {},
              {}},
             {QStringLiteral("to"), date, QStringLiteral("l'ultimo giorno contato (di norma oggi)"), {}, {}},
             {QStringLiteral("by"),
              QStringLiteral("PERIODO"),
              QStringLiteral("day, week o month: la durata di ogni riga (di norma month)"),
              {},
              {}}},
            {{QStringLiteral("from"), QStringLiteral("il primo giorno contato, AAAA-MM-GG")},
             {QStringLiteral("to"), QStringLiteral("l'ultimo giorno contato, AAAA-MM-GG")},
             {QStringLiteral("by"), QStringLiteral("day, week o month")},
             {QStringLiteral("books"), QStringLiteral("le rubriche che hanno inviato SMS nel periodo")},
             {QStringLiteral("periods"),
              QStringLiteral("un oggetto per periodo: from, to, accepted, refused, in_doubt, credit_spent, "
                             "acceptance_rate (se qualche SMS ha avuto risposta), books (gli stessi conteggi "
                             "per rubrica)")},
             {QStringLiteral("total"), QStringLiteral("gli stessi conteggi per tutto il periodo")},
             {QStringLiteral("forecast"),
              QStringLiteral("credit (il credito di residui.txt o null), accepted_last_30_days, "
                             "daily_average, runs_out (il giorno in cui il credito finisce, o null)")}}};
}

bool StatsCommand::accepts(const QStringList& arguments, QTextStream& err) const
{
    return requestFrom(arguments, clock_.now().date(), err).has_value();
}

int StatsCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    const std::optional<StatisticsRequest> request = requestFrom(arguments, clock_.now().date(), console.err);
    if (!request)
        return Usage;
    SendStatistics stats;
    try {
        stats = readSendStatistics(*chooseStore(folder), folder, *request);
    } catch (const StoreError& error) {
        console.err << "Impossibile leggere l'elenco delle rubriche: " << error.message() << '\n';
        return Failed;
    }
    QString text;
    for (const QStringList& row : statisticsTable(stats))
        text += row.join(u'\t') + u'\n';
    report(console, statsJson(stats), text + forecastText(stats) + u'\n');
    for (const QString& book : stats.unreadable)
        console.err << "Rubrica non letta, esclusa dalle statistiche: " << book << '\n';
    return stats.unreadable.isEmpty() ? Done : Failed;
}

} // namespace parlix::cli
