#pragma once

#include "core/dialogs.h"
#include "sending/batchplan.h"
#include "sending/batchrequest.h"
#include "sending/messagesplitter.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace parlix {

class Store;
struct ScheduledBatch;

// What the user typed for one message, as it stands when it is sent or kept
// for later.
struct TypedMessage
{
    bool multiple = false;
    QString number;          // single mode: the one number, as typed
    QStringList recipients;  // multiple mode: the numbers served, in order
    QString recipientString; // the number text of the archived row
    QString surname;
    QString text;                       // line breaks as CR LF
    SplitMode split = SplitMode::Fixed; // the user's choice for a text of more than one SMS
    bool flash = false;
    QString sender; // the header text
    QString book;   // the book whose archives receive the row
};

// A message that stops a send before anything is asked or sent.
struct Refusal
{
    QString text;
    MessageIcon icon = MessageIcon::Exclamation;

    bool operator==(const Refusal&) const = default;
};

// A box shown before a batch starts; any answer but `proceed` stops it.
struct Prompt
{
    QString text;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    Answer proceed = Answer::Ok;

    bool operator==(const Prompt&) const = default;
};

// The rules that turn a typed message into a batch: which recipients and
// numbers are acceptable, how the text is split and filled, what is refused
// and in which order, and what the user is asked before anything leaves. The
// same rules hold for a batch sent now and one kept for later; only the boxes
// shown differ.
class SendPreparation
{
public:
    enum class When { Now, Later };

    // The batch of `typed`, or the first refusal. Merge fields are filled from
    // the book at `bookPath` of `store`.
    static std::variant<SendPreparation, Refusal> prepare(const TypedMessage& typed, Store& store,
                                                          const QString& bookPath, When when);

    // The boxes to show, in order, before the batch starts.
    const QList<Prompt>& prompts() const { return prompts_; }
    const BatchPlan& plan() const { return plan_; }
    // The number of SMS the batch sends.
    int smsCount() const { return plan_.smsCount(); }
    // The surname of the archived row (a blank when none, "<lista>" for a list).
    QString recordSurname() const;

    BatchRequest request() const;
    ScheduledBatch scheduled(const QDateTime& due) const;
    // The confirmation once the batch is stored for `due`.
    QString scheduledText(const QDateTime& due) const;

    // How `text` is split when the user chose `chosen`.
    static SplitMode splitFor(const QString& text, SplitMode chosen);
    // The question when the time chosen for later has already gone.
    static QString pastTimeQuestion(const QDateTime& due);
    static QString multipleNotice();
    static QString listSurname() { return QStringLiteral("<lista>"); }

private:
    explicit SendPreparation(const TypedMessage& typed) : typed_(typed) {}

    // The refusals every message goes through, on `parts` of its text.
    std::optional<Refusal> check(const QStringList& parts) const;
    // Says which characters of what goes out the gateway cannot carry.
    std::optional<Prompt> replacedCharacters() const;

    TypedMessage typed_;
    BatchPlan plan_;
    QList<Prompt> prompts_;
};

} // namespace parlix
