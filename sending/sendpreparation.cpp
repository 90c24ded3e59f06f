#include "sendpreparation.h"

#include "core/numbers.h"
#include "sending/mergetemplate.h"
#include "sending/phonenumbercheck.h"
#include "sending/scheduledstore.h"
#include "sending/windows1252check.h"
#include "store/storeerror.h"

#include <algorithm>

namespace parlix {

namespace {

QString timeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

} // namespace

std::variant<SendPreparation, Refusal> SendPreparation::prepare(const TypedMessage& typed, Store& store,
                                                                const QString& bookPath, When when)
{
    SendPreparation made(typed);
    const SplitMode split = splitFor(typed.text, typed.split);
    made.typed_.split = split;
    const QStringList numbers = typed.multiple ? typed.recipients : QStringList{typed.number};
    const bool personalised = MergeTemplate(typed.text).personalised();

    // A text without fields is judged as typed; one with fields by the texts
    // it makes, which may each run to several SMS even to a list.
    if (!personalised) {
        if (std::optional<Refusal> refused = made.check(MessageSplitter::split(typed.text, split)))
            return *refused;
    }
    try {
        std::variant<BatchPlan, QString> plan =
            BatchPlan::forNumbers(typed.text, numbers, store, bookPath, split);
        if (const QString* refusal = std::get_if<QString>(&plan))
            return Refusal{*refusal, MessageIcon::Exclamation};
        made.plan_ = std::move(std::get<BatchPlan>(plan));
    } catch (const StoreError& error) {
        return Refusal{error.message(), MessageIcon::Critical};
    }
    if (personalised) {
        if (std::optional<Refusal> refused = made.check(made.plan_.messages().constFirst().parts.mid(0, 1)))
            return *refused;
    }

    if (std::optional<Prompt> replaced = made.replacedCharacters())
        made.prompts_.append(*replaced);
    if (when == When::Now && typed.multiple) {
        made.prompts_.append({multipleNotice(), MessageIcon::Information, MessageButtons::Ok, Answer::Ok});
        if (personalised)
            made.prompts_.append({made.plan_.preview() + QStringLiteral("\n\nProcedere con l'invio?"),
                                  MessageIcon::Question, MessageButtons::OkCancel, Answer::Ok});
    }
    return made;
}

SplitMode SendPreparation::splitFor(const QString& text, SplitMode chosen)
{
    // A text shorter than one SMS is one exact part, whatever the choice; the
    // texts a template makes may each grow longer.
    if (text.size() < MessageSplitter::PartLength && !MergeTemplate(text).personalised())
        return SplitMode::Fixed;
    return chosen;
}

std::optional<Refusal> SendPreparation::check(const QStringList& parts) const
{
    if (parts.isEmpty())
        return Refusal{QStringLiteral("Testo SMS Mancante"), MessageIcon::Critical};
    if (!typed_.multiple) {
        if (typed_.number.isEmpty())
            return Refusal{QStringLiteral("Numero telefonico mancante"), MessageIcon::Critical};
        if (!isPossiblePhoneNumber(typed_.number))
            return Refusal{QStringLiteral("Inserire un Numero di cellulare Valido"), MessageIcon::Critical};
    } else {
        // A contact without a number would become "+39" alone: the gateway
        // could take the credit for an SMS that reaches nobody.
        const QStringList& numbers = typed_.recipients;
        const qsizetype empty = std::count_if(numbers.cbegin(), numbers.cend(), [](const QString& number) {
            return number.trimmed().isEmpty();
        });
        if (numbers.isEmpty())
            return Refusal{QStringLiteral("Nessun destinatario: spuntare i contatti a cui inviare l'SMS.")};
        if (empty > 0)
            return Refusal{QStringLiteral("%1 dei destinatari non ha un numero di cellulare: togliere la "
                                          "spunta a quei contatti prima dell'invio.")
                               .arg(empty)};
        // The same text to a list goes as one SMS each.
        if (parts.size() > 1)
            return Refusal{QStringLiteral("Gli SMS Multipli non possono superare 160 caratteri: il testo ne "
                                          "contiene %1. Accorciare il testo prima dell'invio.")
                               .arg(typed_.text.size())};
    }
    if (parts.size() > MessageSplitter::MaxParts)
        return Refusal{QStringLiteral("Il testo richiede %1 SMS: il limite è di %2 SMS per messaggio. "
                                      "Accorciare il testo prima dell'invio.")
                           .arg(parts.size())
                           .arg(MessageSplitter::MaxParts)};
    return std::nullopt;
}

std::optional<Prompt> SendPreparation::replacedCharacters() const
{
    QStringList texts;
    if (plan_.personalised()) {
        for (const RecipientMessage& message : plan_.messages())
            texts << message.text;
    } else {
        texts << typed_.text;
    }
    const QStringList lost = charactersWithoutWindows1252(texts.join(u'\n'));
    if (lost.isEmpty())
        return std::nullopt;
    return Prompt{QStringLiteral("Questi caratteri non possono essere spediti e arriveranno come \"?\": %1\n"
                                 "Inviare comunque il messaggio?")
                      .arg(lost.join(u' ')),
                  MessageIcon::Exclamation, MessageButtons::YesNo, Answer::Yes};
}

QString SendPreparation::recordSurname() const
{
    if (typed_.multiple)
        return listSurname();
    return typed_.surname.isEmpty() ? QStringLiteral(" ") : typed_.surname;
}

BatchRequest SendPreparation::request() const
{
    BatchRequest request;
    request.multiple = typed_.multiple;
    request.recipients = typed_.multiple ? typed_.recipients : QStringList{typed_.number};
    request.parts = plan_.messages().constFirst().parts;
    if (typed_.multiple && plan_.personalised()) {
        for (const RecipientMessage& message : plan_.messages())
            request.recipientParts << message.parts;
    }
    request.flash = typed_.flash;
    request.sender = typed_.sender;
    request.book = typed_.book;
    request.record = {recordSurname(), typed_.recipientString, typed_.text};
    return request;
}

ScheduledBatch SendPreparation::scheduled(const QDateTime& due) const
{
    ScheduledBatch batch = ScheduledBatch::forPlan(plan_, due, recordSurname(), typed_.recipientString);
    batch.split = typed_.split;
    batch.flash = typed_.flash;
    batch.sender = typed_.sender;
    return batch;
}

QString SendPreparation::scheduledText(const QDateTime& due) const
{
    return QStringLiteral("Invio programmato per il %1 nella rubrica \"%2\": %3, %4 SMS.")
        .arg(timeText(due), typed_.book,
             numbers::counted(plan_.messages().size(), QStringLiteral("destinatario"),
                              QStringLiteral("destinatari")))
        .arg(plan_.smsCount());
}

QString SendPreparation::pastTimeQuestion(const QDateTime& due)
{
    return QStringLiteral("L'ora scelta, %1, è già passata: il messaggio non può partire a quell'ora.\n"
                          "Inviare subito?")
        .arg(timeText(due));
}

QString SendPreparation::multipleNotice()
{
    return QStringLiteral("L'invio di SMS Multipli può richiedere alcuni minuti non interrompere il software "
                          "durante l'elaborazione\nFare click su OK per procedere con l'invio degli sms");
}

} // namespace parlix
