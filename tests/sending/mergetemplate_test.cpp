#include "contacts/bookcontacts.h"
#include "sending/batchplan.h"
#include "sending/mergetemplate.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;

namespace {

const Contact mario{QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331112222"),
                    QStringLiteral("mario@example.it"), QStringLiteral("4")};

QString letters(int count)
{
    return QString(count, QChar(u'a'));
}

Contact named(const QString& nome, const QString& number)
{
    return {nome, QStringLiteral("Bianchi"), number, QStringLiteral(" "), QStringLiteral("4")};
}

} // namespace

TEST(MergeTemplate, FillsEachFieldWithTheContactsValue)
{
    struct Row
    {
        QString text;
        Contact contact;
        QString filled;
        bool personalised;
        QStringList unknown;
    } rows[] = {
        {QStringLiteral("Ciao {Nome}!"), mario, QStringLiteral("Ciao Mario!"), true, {}},
        {QStringLiteral("{NOME} {cognome} {Cellulare} {eMaIl}"),
         mario,
         QStringLiteral("Mario Rossi 3331112222 mario@example.it"),
         true,
         {}},
        {QStringLiteral("{ Nome }{Nome}"), mario, QStringLiteral("MarioMario"), true, {}},
        {QStringLiteral("Nessun campo"), mario, QStringLiteral("Nessun campo"), false, {}},
        // Braces around anything but a name are text.
        {QStringLiteral("{:-)} {} { } {1a} {Nome"),
         mario,
         QStringLiteral("{:-)} {} { } {1a} {Nome"),
         false,
         {}},
        {QStringLiteral("{{Nome}}"), mario, QStringLiteral("{Mario}"), true, {}},
        // A stored blank is an empty value; blanks around a value go.
        {QStringLiteral("<{Email}>"),
         named(QStringLiteral(" Anna "), QStringLiteral("1")),
         QStringLiteral("<>"),
         true,
         {}},
        {QStringLiteral("Ciao {Nome}"),
         named(QStringLiteral(" Anna "), QStringLiteral("1")),
         QStringLiteral("Ciao Anna"),
         true,
         {}},
        {QStringLiteral("{Indirizzo} {Nome} {via} {Indirizzo}"),
         mario,
         {},
         true,
         {QStringLiteral("Indirizzo"), QStringLiteral("via")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        const MergeTemplate merge(row.text);
        EXPECT_EQ(merge.personalised(), row.personalised);
        EXPECT_EQ(merge.unknownFields(), row.unknown);
        if (row.unknown.isEmpty()) {
            EXPECT_EQ(merge.fill(row.contact), row.filled);
        }
    }
}

TEST(MergeTemplate, UnknownFieldsAreNamedWithTheFieldsThatExist)
{
    EXPECT_EQ(MergeTemplate::unknownFieldsMessage({QStringLiteral("Indirizzo")}),
              QStringLiteral("Il campo {Indirizzo} non esiste. I campi che si possono usare sono {Nome}, "
                             "{Cognome}, {Cellulare}, {Email}."));
    EXPECT_EQ(MergeTemplate::unknownFieldsMessage({QStringLiteral("Via"), QStringLiteral("Cap")}),
              QStringLiteral("I campi {Via}, {Cap} non esistono. I campi che si possono usare sono {Nome}, "
                             "{Cognome}, {Cellulare}, {Email}."));
}

TEST(BatchPlan, EachRecipientGetsItsOwnTextSplitByTheUsersChoice)
{
    const QString longName = QStringLiteral("Massimiliano Alessandro");
    const QString lead = letters(140) + u' ';
    struct Row
    {
        const char* what;
        QString text;
        QList<Contact> contacts;
        SplitMode mode;
        QList<QStringList> parts; // per recipient, when the plan is made
        QString refusal;          // otherwise, the beginning of the refusal
    } rows[] = {
        {"no field: shared text",
         QStringLiteral("Ciao a tutti"),
         {named(QStringLiteral("Anna"), QStringLiteral("1")), named(longName, QStringLiteral("2"))},
         SplitMode::Fixed,
         {{QStringLiteral("Ciao a tutti")}, {QStringLiteral("Ciao a tutti")}},
         {}},
        {"a long name makes two SMS",
         lead + QStringLiteral("{Nome}"),
         {named(QStringLiteral("Anna"), QStringLiteral("1")), named(longName, QStringLiteral("2"))},
         SplitMode::Fixed,
         {{lead + QStringLiteral("Anna")}, {(lead + longName).left(160), (lead + longName).mid(160)}},
         {}},
        {"word splitting keeps the name whole",
         lead + QStringLiteral("{Nome}"),
         {named(longName, QStringLiteral("2"))},
         SplitMode::Words,
         {{lead + QStringLiteral("Massimiliano "), QStringLiteral("Alessandro ")}},
         {}},
        {"eleven parts for one recipient",
         letters(1590) + QStringLiteral("{Nome}"),
         {named(QStringLiteral("Al"), QStringLiteral("1")), named(longName, QStringLiteral("2"))},
         SplitMode::Fixed,
         {},
         QStringLiteral("Il testo per 2 richiede 11 SMS: il limite è di 10 SMS per messaggio.")},
        {"unknown field",
         QStringLiteral("Ciao {Indirizzo}"),
         {named(QStringLiteral("Al"), QStringLiteral("1"))},
         SplitMode::Fixed,
         {},
         QStringLiteral("Il campo {Indirizzo} non esiste.")},
        {"empty for one recipient",
         QStringLiteral("{Email}"),
         {named(QStringLiteral("Al"), QStringLiteral("1"))},
         SplitMode::Fixed,
         {},
         QStringLiteral("Il testo per 1 risulta vuoto")},
        {"no text",
         QString(),
         {named(QStringLiteral("Al"), QStringLiteral("1"))},
         SplitMode::Fixed,
         {},
         QStringLiteral("Testo SMS Mancante")},
        {"no recipient",
         QStringLiteral("Ciao"),
         {},
         SplitMode::Fixed,
         {},
         QStringLiteral("Nessun destinatario")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto made = BatchPlan::make(row.text, row.contacts, row.mode);
        if (!row.refusal.isEmpty()) {
            ASSERT_TRUE(std::holds_alternative<QString>(made));
            EXPECT_TRUE(std::get<QString>(made).startsWith(row.refusal))
                << std::get<QString>(made).toStdString();
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<BatchPlan>(made)) << std::get<QString>(made).toStdString();
        const BatchPlan& plan = std::get<BatchPlan>(made);
        QList<QStringList> parts;
        int sms = 0;
        for (const RecipientMessage& message : plan.messages()) {
            parts << message.parts;
            sms += int(message.parts.size());
        }
        EXPECT_EQ(parts, row.parts);
        EXPECT_EQ(plan.smsCount(), sms);
    }
}

TEST(BatchPlan, PreviewShowsTheFirstTextsAndTheCreditNeeded)
{
    const QList<Contact> contacts{named(QStringLiteral("Anna"), QStringLiteral("3331")),
                                  named(QStringLiteral("Bruno"), QStringLiteral("3332")),
                                  named(letters(160), QStringLiteral("3333")),
                                  named(QStringLiteral("Dario"), QStringLiteral("3334"))};
    const auto made = BatchPlan::make(QStringLiteral("Ciao {Nome}"), contacts, SplitMode::Fixed);
    ASSERT_TRUE(std::holds_alternative<BatchPlan>(made));
    EXPECT_EQ(std::get<BatchPlan>(made).preview(),
              QStringLiteral("Anteprima dei primi 3 messaggi:\n"
                             "3331 (1 SMS): Ciao Anna\n"
                             "3332 (1 SMS): Ciao Bruno\n"
                             "3333 (2 SMS): Ciao ") +
                  letters(160) +
                  QStringLiteral("\nDestinatari: 4. SMS da inviare: 5. Credito necessario: 5."));
    EXPECT_EQ(creditShortMessage(5, 4),
              QStringLiteral("Credito insufficiente: servono 5 SMS, il credito residuo "
                             "è di 4. Nessun SMS è stato inviato."));
}

// A text without fields reads only the numbers of the book: the plan and the
// refusals are the ones the whole contacts give, blank numbers left out.
TEST(BatchPlan, ABookWithoutFieldsPlansAsFromItsWholeContacts)
{
    test::TestHome home;
    const QString book = home.state.folder.bookPath(QStringLiteral("Principale"));
    const auto shown = [](const std::variant<BatchPlan, QString>& made) {
        QStringList found{std::holds_alternative<QString>(made) ? std::get<QString>(made) : QString()};
        for (const RecipientMessage& message :
             std::get_if<BatchPlan>(&made) ? std::get<BatchPlan>(made).messages() : QList<RecipientMessage>())
            found << message.number + u'|' + message.text + u'|' + message.parts.join(u'|');
        return found;
    };
    for (const char* number : {"3331", "   ", "3332", "", "3331"})
        home.addContact(QStringLiteral("Principale"), {}, {}, QString::fromLatin1(number));
    for (const QString& text :
         {QStringLiteral("Ciao"), letters(161), letters(2000), QString(), QStringLiteral("{Via}")}) {
        const QStringList fromBook = shown(BatchPlan::forBook(text, *home.seat(), book, SplitMode::Fixed));
        EXPECT_EQ(fromBook,
                  shown(BatchPlan::make(text, contactsWithNumbers(*home.seat(), book), SplitMode::Fixed)));
        EXPECT_EQ(fromBook.size(), fromBook.constFirst().isEmpty() ? 4 : 1) << text.left(9).toStdString();
    }
}
