#include "batchplan.h"

#include "contacts/bookcontacts.h"
#include "sending/mergetemplate.h"
#include "sending/optoutline.h"
#include "sending/optoutregister.h"

namespace parlix {

namespace {

QString tooManyParts(const QString& number, qsizetype parts)
{
    return QStringLiteral("Il testo per %1 richiede %2 SMS: il limite è di %3 SMS per messaggio. "
                          "Accorciare il testo prima dell'invio.")
        .arg(number)
        .arg(parts)
        .arg(MessageSplitter::MaxParts);
}

QString emptyText(const QString& number)
{
    return QStringLiteral("Il testo per %1 risulta vuoto: i campi usati non hanno valore per quel contatto.")
        .arg(number);
}

} // namespace

std::optional<QString> BatchPlan::refusal(const MergeTemplate& merge, const QString& text, bool none)
{
    if (!merge.unknownFields().isEmpty())
        return MergeTemplate::unknownFieldsMessage(merge.unknownFields());
    if (text.isEmpty())
        return QStringLiteral("Testo SMS Mancante");
    if (none)
        return QStringLiteral("Nessun destinatario: la rubrica non ha contatti con un numero di cellulare.");
    return std::nullopt;
}

std::variant<BatchPlan, QString> BatchPlan::shared(const QString& text, const QStringList& numbers,
                                                   SplitMode mode)
{
    const MergeTemplate merge(text);
    if (const auto refused = refusal(merge, text, numbers.isEmpty()))
        return *refused;
    const QStringList parts = MessageSplitter::split(text, mode);
    if (parts.isEmpty())
        return emptyText(numbers.constFirst());
    if (parts.size() > MessageSplitter::MaxParts)
        return tooManyParts(numbers.constFirst(), parts.size());
    BatchPlan plan;
    plan.text_ = text;
    plan.messages_.reserve(numbers.size());
    for (const QString& number : numbers)
        plan.messages_.append({number, text, parts, {}});
    plan.smsCount_ = int(parts.size() * numbers.size());
    return plan;
}

std::variant<BatchPlan, QString> BatchPlan::make(const QString& text, const QList<Contact>& contacts,
                                                 SplitMode mode)
{
    const MergeTemplate merge(text);
    if (const auto refused = refusal(merge, text, contacts.isEmpty()))
        return *refused;

    BatchPlan plan;
    plan.text_ = text;
    plan.personalised_ = merge.personalised();
    plan.messages_.reserve(contacts.size());
    const QStringList shared = plan.personalised_ ? QStringList() : MessageSplitter::split(text, mode);
    for (const Contact& contact : contacts) {
        RecipientMessage message{contact.cellulare, text, shared, contact.cognome};
        if (plan.personalised_) {
            message.text = merge.fill(contact);
            message.parts = MessageSplitter::split(message.text, mode);
        }
        if (message.parts.isEmpty())
            return emptyText(contact.cellulare);
        if (message.parts.size() > MessageSplitter::MaxParts)
            return tooManyParts(contact.cellulare, message.parts.size());
        plan.smsCount_ += int(message.parts.size());
        plan.messages_.append(std::move(message));
    }
    return plan;
}

std::variant<BatchPlan, QString> BatchPlan::forNumbers(const QString& text, const QStringList& numbers,
                                                       Store& store, const QString& bookPath, SplitMode mode)
{
    if (!MergeTemplate(text).personalised())
        return excludingRegistered(shared(text, numbers, mode), store, bookPath);
    return excludingRegistered(
        make(text, contactsForNumbers(contactsWithNumbers(store, bookPath), numbers), mode), store, bookPath);
}

std::variant<BatchPlan, QString> BatchPlan::forBook(const QString& text, Store& store,
                                                    const QString& bookPath, SplitMode mode)
{
    const QString campaign =
        OptOutLine::appendTo(text, OptOutLine::load(OptOutRegister::folderOfBook(bookPath)));
    if (!MergeTemplate(campaign).personalised())
        return excludingRegistered(shared(campaign, numbersWithContacts(store, bookPath), mode), store,
                                   bookPath);
    return excludingRegistered(make(campaign, contactsWithNumbers(store, bookPath), mode), store, bookPath);
}

std::variant<BatchPlan, QString> BatchPlan::excludingRegistered(std::variant<BatchPlan, QString> plan,
                                                                Store& store, const QString& bookPath)
{
    if (BatchPlan* made = std::get_if<BatchPlan>(&plan)) {
        if (std::optional<QString> refusal = made->exclude(store, bookPath))
            return *refusal;
    }
    return plan;
}

std::optional<QString> BatchPlan::exclude(Store& store, const QString& bookPath)
{
    const OptOutList honoured = OptOutRegister::honouredForBook(store, bookPath);
    if (honoured.isEmpty())
        return std::nullopt;
    for (RecipientMessage& message : messages_) {
        if (honoured.contains(message.number)) {
            message.excluded = true;
            ++excluded_;
            smsCount_ -= int(message.parts.size());
        }
    }
    if (excluded_ == 0 || excluded_ < messages_.size())
        return std::nullopt;
    if (messages_.size() == 1)
        return OptOutRegister::refusalText(messages_.constFirst().number);
    return QStringLiteral("Tutti i destinatari sono nel registro \"%1\": nessun SMS da inviare.")
        .arg(OptOutRegister::registerName());
}

QString BatchPlan::preview(int shown) const
{
    QList<const RecipientMessage*> sent;
    for (const RecipientMessage& message : messages_) {
        if (sent.size() == shown)
            break;
        if (!message.excluded)
            sent << &message;
    }
    QString text = sent.size() == 1 ? QStringLiteral("Anteprima del primo messaggio:\n")
                                    : QStringLiteral("Anteprima dei primi %1 messaggi:\n").arg(sent.size());
    for (const RecipientMessage* message : sent) {
        text += QStringLiteral("%1 (%2 SMS): %3\n")
                    .arg(message->number)
                    .arg(message->parts.size())
                    .arg(message->text);
    }
    text += QStringLiteral("Destinatari: %1. SMS da inviare: %2. Credito necessario: %2.")
                .arg(messages_.size() - excluded_)
                .arg(smsCount_);
    if (excluded_ > 0)
        text += u'\n' + OptOutRegister::excludedText(excluded_);
    return text;
}

QString creditShortMessage(int needed, long credit)
{
    return QStringLiteral("Credito insufficiente: servono %1 SMS, il credito residuo è di %2. "
                          "Nessun SMS è stato inviato.")
        .arg(needed)
        .arg(credit);
}

} // namespace parlix
