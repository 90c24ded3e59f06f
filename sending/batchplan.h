#pragma once

#include "contacts/contact.h"
#include "sending/messagesplitter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace parlix {

class MergeTemplate;
class Store;

// One recipient of a batch with its own text, split into the SMS it sends.
struct RecipientMessage
{
    QString number;
    QString text;
    QStringList parts;
    QString cognome;       // the contact's, where the batch knows it
    bool excluded = false; // in the opt-out register: kept in the journal, never sent
};

// The texts of a batch to several contacts, worked out before anything is
// sent: each contact's text with its merge fields filled in, split like a
// single message (the user's fixed or word splitting, at most ten parts). A
// text without fields is split once and shared by every recipient.
class BatchPlan
{
public:
    // The plan, or the message that refuses it: an unknown field, an empty
    // text, no recipient, or a recipient whose text is empty or needs more
    // than ten SMS.
    static std::variant<BatchPlan, QString> make(const QString& text, const QList<Contact>& contacts,
                                                 SplitMode mode);

    // The same for numbers picked in a book: when the text holds fields, each
    // number's values come from its first contact in the book at `bookPath`
    // of `store` (a number the book lacks fills its fields with nothing but
    // the number). Throws StoreError when the text needs the book and it
    // cannot be read.
    static std::variant<BatchPlan, QString> forNumbers(const QString& text, const QStringList& numbers,
                                                       Store& store, const QString& bookPath, SplitMode mode);
    // The plan for every contact of the book at `bookPath` that has a number;
    // a text without fields reads only the numbers. Throws StoreError.
    static std::variant<BatchPlan, QString> forBook(const QString& text, Store& store,
                                                    const QString& bookPath, SplitMode mode);
    // Both store-aware plans mark the recipients the opt-out register of the
    // book's data folder honours as excluded (no SMS, no credit), and are
    // refused when nobody is left.

    const QString& text() const { return text_; }
    bool personalised() const { return personalised_; }
    const QList<RecipientMessage>& messages() const { return messages_; }
    // Every SMS of the batch, which is also the credit it needs; none for the excluded.
    int smsCount() const { return smsCount_; }
    int excludedCount() const { return excluded_; }

    // The first `shown` recipients' texts, the number of recipients and of
    // SMS and the credit they need, as the user sees them before sending.
    QString preview(int shown = PreviewRecipients) const;

    static constexpr int PreviewRecipients = 3;

private:
    // Marks the recipients the register honours; the refusal when nobody is left.
    std::optional<QString> exclude(Store& store, const QString& bookPath);
    static std::variant<BatchPlan, QString> excludingRegistered(std::variant<BatchPlan, QString> plan,
                                                                Store& store, const QString& bookPath);
    // A text without fields, the same for every number.
    static std::variant<BatchPlan, QString> shared(const QString& text, const QStringList& numbers,
                                                   SplitMode mode);
    static std::optional<QString> refusal(const MergeTemplate& merge, const QString& text, bool none);

    QString text_;
    bool personalised_ = false;
    QList<RecipientMessage> messages_;
    int smsCount_ = 0;
    int excluded_ = 0;
};

// The refusal when the credit does not cover the SMS of a batch.
QString creditShortMessage(int needed, long credit);

} // namespace parlix
