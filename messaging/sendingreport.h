#pragma once

#include <QString>

#include <mutex>
#include <utility>
#include <vector>

namespace parlix {

// What the sending thread tells the batch, in order: the number about to be
// served, the result of each SMS, the SMS accepted so far once residui.txt
// says so, the end of the loop. The thread appends;
// the batch's thread takes everything pending at once, at the pace of the
// screen, so a fast gateway does not cost a wake-up of the window per SMS,
// and nothing is ever skipped.
class SendingReport
{
public:
    struct Entry
    {
        enum class Kind { Serving, Sent, Credit, Done };
        Kind kind;
        int index = 0; // 1-based SMS number
        QString number;
        long result = 0;   // Sent: the answer; Credit: the SMS accepted so far; Done: how the run ended
        bool saved = true; // Done: whether residui.txt took the credit left
    };

    void append(Entry entry)
    {
        const std::lock_guard lock(mutex_);
        entries_.push_back(std::move(entry));
    }

    std::vector<Entry> take()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(entries_, {});
    }

private:
    std::mutex mutex_;
    std::vector<Entry> entries_;
};

} // namespace parlix
