#pragma once

#include <QDate>

#include <map>

namespace parlix {

class Database;

// SMS counted by what became of them.
struct SmsCounts
{
    qint64 accepted = 0; // taken by the gateway: the credit they cost
    qint64 refused = 0;  // answered with a refusal
    qint64 inDoubt = 0;  // cut after the request left, or taken by a runner that never reported

    SmsCounts& operator+=(const SmsCounts& other);
    bool operator==(const SmsCounts&) const = default;
};

// The SMS one book sent on each local day from `from` to `to` (both
// included), days without any left out. Each batch of the send journal counts
// on the day of its row in inviati, recipient by recipient as the gateway
// answered; rows of inviati that no batch of the journal wrote (sends made
// before it was kept) count as accepted, one SMS for each 160 characters of
// the text and each number of the row. The store does the sums; only a row
// per day and answer code comes back. Throws StoreError.
std::map<QDate, SmsCounts> dailySmsCounts(Database& book, const QDate& from, const QDate& to);

} // namespace parlix
