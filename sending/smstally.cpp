#include "smstally.h"

#include "sending/exchangeoutcome.h"
#include "sending/messagesplitter.h"
#include "store/database.h"
#include "store/statement.h"

namespace parlix {

namespace {

// The dd/MM/yyyy of a Data text as yyyyMMdd, which sorts as time does and
// which both stores compute alike.
QString dayKey(const char* column)
{
    return QStringLiteral("(substr(%1, 7, 4) || substr(%1, 4, 2) || substr(%1, 1, 2))")
        .arg(QString::fromLatin1(column));
}

QString keyText(const QDate& day)
{
    return day.toString(QStringLiteral("yyyyMMdd"));
}

// Keys that are no date (a Data written in another form) are left out.
QDate dayFromKey(const QString& key)
{
    return QDate::fromString(key, QStringLiteral("yyyyMMdd"));
}

// Recipients served (2) or taken by a runner that has not reported (1),
// summed batch by batch: the batches of the period are found first, then
// the index on their answers gives the sums without reading any recipient.
void addJournal(Database& book, const QDate& from, const QDate& to, std::map<QDate, SmsCounts>& days)
{
    Statement st(book,
                 QStringLiteral("SELECT p.Inviato, d.Stato, d.Esito, sum(d.Parti), sum(d.Accettati)"
                                " FROM programmati p JOIN programmati_destinatari d ON d.programma = p.id"
                                " WHERE p.Inviato IS NOT NULL AND %1 BETWEEN ? AND ? AND d.Stato IN (1, 2)"
                                " GROUP BY p.id, p.Inviato, d.Stato, d.Esito")
                     .arg(dayKey("p.Inviato")));
    st.bind(1, keyText(from));
    st.bind(2, keyText(to));
    while (st.step()) {
        const QDate day = QDate::fromString(st.text(0).left(10), QStringLiteral("dd/MM/yyyy"));
        if (!day.isValid())
            continue;
        const qint64 parts = st.integer(3);
        const qint64 accepted = st.integer(4);
        SmsCounts& counts = days[day];
        counts.accepted += accepted;
        if (st.integer(1) == 1) {
            counts.inDoubt += parts - accepted;
            continue;
        }
        // A recipient's result is its first failure; the parts after it
        // were never sent and cost nothing.
        switch (exchangeOutcome(long(st.integer(2)))) {
        case ExchangeOutcome::Refused:
            counts.refused += parts - accepted;
            break;
        case ExchangeOutcome::InDoubt:
            counts.inDoubt += parts - accepted;
            break;
        case ExchangeOutcome::Accepted:
        case ExchangeOutcome::Unreached:
            break;
        }
    }
}

void addEarlierRows(Database& book, bool withJournal, const QDate& from, const QDate& to,
                    std::map<QDate, SmsCounts>& days)
{
    const QString key = dayKey("\"Data\"");
    const QString sql =
        QStringLiteral(
            "SELECT %1, sum(((length(coalesce(\"Testo\", '')) + %2) / %3)"
            " * (length(coalesce(cellulare, '')) - length(replace(coalesce(cellulare, ''), ';', ''))"
            " + 1)) FROM inviati WHERE %1 BETWEEN ? AND ?%4 GROUP BY 1")
            .arg(key, QString::number(MessageSplitter::PartLength - 1),
                 QString::number(MessageSplitter::PartLength),
                 withJournal ? QStringLiteral(" AND \"Data\" NOT IN"
                                              " (SELECT Inviato FROM programmati WHERE Inviato IS NOT NULL)")
                             : QString());
    Statement st(book, sql);
    st.bind(1, keyText(from));
    st.bind(2, keyText(to));
    while (st.step()) {
        const QDate day = dayFromKey(st.text(0));
        if (day.isValid())
            days[day].accepted += st.integer(1);
    }
}

} // namespace

SmsCounts& SmsCounts::operator+=(const SmsCounts& other)
{
    accepted += other.accepted;
    refused += other.refused;
    inDoubt += other.inDoubt;
    return *this;
}

std::map<QDate, SmsCounts> dailySmsCounts(Database& book, const QDate& from, const QDate& to)
{
    std::map<QDate, SmsCounts> days;
    // Journals of books older than the date of each batch's row are read as earlier rows.
    const bool withJournal =
        book.fields(QStringLiteral("programmati")).contains(QStringLiteral("Inviato"), Qt::CaseInsensitive);
    if (withJournal)
        addJournal(book, from, to, days);
    addEarlierRows(book, withJournal, from, to, days);
    return days;
}

} // namespace parlix
