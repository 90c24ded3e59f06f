#include "core/programstate.h"
#include "sending/scheduledstore.h"
#include "sending/sendpreparation.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

using When = SendPreparation::When;

const QString a170 = QString(170, QChar(u'a'));
const QString x150 = QString(150, QChar(u'x'));
const QString short159 = QString(150, QChar(u'a')) + QStringLiteral(" bbbbbbbb");

TypedMessage single(const QString& number, const QString& text, SplitMode split = SplitMode::Fixed)
{
    TypedMessage typed;
    typed.number = number;
    typed.recipientString = number;
    typed.surname = QStringLiteral("Rossi");
    typed.text = text;
    typed.split = split;
    typed.book = QStringLiteral("Principale");
    return typed;
}

TypedMessage list(const QStringList& numbers, const QString& text, SplitMode split = SplitMode::Fixed)
{
    TypedMessage typed;
    typed.multiple = true;
    typed.recipients = numbers;
    typed.recipientString = numbers.join(u';');
    typed.text = text;
    typed.split = split;
    typed.book = QStringLiteral("Principale");
    return typed;
}

Prompt replaced(const QString& characters)
{
    return {QStringLiteral("Questi caratteri non possono essere spediti e arriveranno come \"?\": %1\n"
                           "Inviare comunque il messaggio?")
                .arg(characters),
            MessageIcon::Exclamation, MessageButtons::YesNo, Answer::Yes};
}

const Prompt notice{SendPreparation::multipleNotice(), MessageIcon::Information, MessageButtons::Ok,
                    Answer::Ok};

Prompt preview(const QStringList& lines)
{
    return {lines.join(u'\n') + QStringLiteral("\n\nProcedere con l'invio?"), MessageIcon::Question,
            MessageButtons::OkCancel, Answer::Ok};
}

TEST(SendPreparation, TypedMessagesBecomeABatchOrTheFirstRefusal)
{
    TestHome home;
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                    QStringLiteral("3331112222"));
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Łucja"), QStringLiteral("Nowak"),
                    QStringLiteral("3334445555"));
    const QString number = QStringLiteral("3331112222");
    const QStringList two{QStringLiteral("3331112222"), QStringLiteral("3334445555")};
    QStringList words;
    for (int i = 0; i < 34; ++i)
        words << QStringLiteral("p%1").arg(i, 3, 10, QChar(u'0'));

    struct Row
    {
        const char* what;
        TypedMessage typed;
        When when;
        std::optional<Refusal> refusal;
        QList<Prompt> prompts = {};
        QStringList sms = {}; // "number|text", in sending order
    };
    const Row rows[] = {
        // Refusals, in the order they are checked.
        {"no text before no number", single(QString(), QString()), When::Now,
         Refusal{QStringLiteral("Testo SMS Mancante"), MessageIcon::Critical}},
        {"no number", single(QString(), QStringLiteral("ciao")), When::Now,
         Refusal{QStringLiteral("Numero telefonico mancante"), MessageIcon::Critical}},
        {"not a number", single(QStringLiteral("33a1"), QStringLiteral("ciao")), When::Later,
         Refusal{QStringLiteral("Inserire un Numero di cellulare Valido"), MessageIcon::Critical}},
        {"eleven SMS", single(number, QString(1601, QChar(u'x'))), When::Now,
         Refusal{
             QStringLiteral("Il testo richiede 11 SMS: il limite è di 10 SMS per messaggio. Accorciare il "
                            "testo prima dell'invio.")}},
        {"empty list", list({}, QStringLiteral("ciao")), When::Now,
         Refusal{QStringLiteral("Nessun destinatario: spuntare i contatti a cui inviare l'SMS.")}},
        {"a contact without number", list({number, QStringLiteral(" ")}, QStringLiteral("ciao")), When::Now,
         Refusal{QStringLiteral("1 dei destinatari non ha un numero di cellulare: togliere la spunta a quei "
                                "contatti prima dell'invio.")}},
        {"a list gets one SMS, kept for later too", list(two, a170), When::Later,
         Refusal{QStringLiteral("Gli SMS Multipli non possono superare 160 caratteri: il testo ne contiene "
                                "170. Accorciare il testo prima dell'invio.")}},
        {"unknown field", list(two, QStringLiteral("Ciao {Indirizzo}")), When::Now,
         Refusal{QStringLiteral("Il campo {Indirizzo} non esiste. I campi che si possono usare sono {Nome}, "
                                "{Cognome}, {Cellulare}, {Email}.")}},
        // Batches.
        {"a short text is one exact part whatever the split",
         single(number, short159, SplitMode::Words),
         When::Now,
         std::nullopt,
         {},
         {number + u'|' + short159}},
        {"word splitting",
         single(number, words.join(u' '), SplitMode::Words),
         When::Now,
         std::nullopt,
         {},
         {number + u'|' + words.mid(0, 32).join(u' ') + u' ',
          number + u'|' + words.mid(32).join(u' ') + u' '}},
        {"characters the gateway cannot carry",
         single(number, QStringLiteral("Cześć")),
         When::Later,
         std::nullopt,
         {replaced(QStringLiteral("ś ć"))},
         {number + QStringLiteral("|Cześć")}},
        {"a list now: the notice",
         list(two, QStringLiteral("Chiuso")),
         When::Now,
         std::nullopt,
         {notice},
         {two[0] + QStringLiteral("|Chiuso"), two[1] + QStringLiteral("|Chiuso")}},
        {"a short template may still grow past one SMS",
         list(two, x150 + QStringLiteral(" {Cellulare}"), SplitMode::Words),
         When::Later,
         std::nullopt,
         {},
         {two[0] + u'|' + x150 + u' ', two[0] + u'|' + two[0] + u' ', two[1] + u'|' + x150 + u' ',
          two[1] + u'|' + two[1] + u' '}},
        {"a list later: nothing to ask",
         list(two, QStringLiteral("Chiuso")),
         When::Later,
         std::nullopt,
         {},
         {two[0] + QStringLiteral("|Chiuso"), two[1] + QStringLiteral("|Chiuso")}},
        {"fields: the filled texts are checked and previewed",
         list(two, QStringLiteral("Ciao {Nome}")),
         When::Now,
         std::nullopt,
         {replaced(QStringLiteral("Ł")), notice,
          preview({QStringLiteral("Anteprima dei primi 2 messaggi:"),
                   QStringLiteral("3331112222 (1 SMS): Ciao Anna"),
                   QStringLiteral("3334445555 (1 SMS): Ciao Łucja"),
                   QStringLiteral("Destinatari: 2. SMS da inviare: 2. Credito necessario: 2.")})},
         {two[0] + QStringLiteral("|Ciao Anna"), two[1] + QStringLiteral("|Ciao Łucja")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto made = SendPreparation::prepare(
            row.typed, *home.state.store, home.state.folder.bookPath(QStringLiteral("Principale")), row.when);
        if (row.refusal) {
            ASSERT_TRUE(std::holds_alternative<Refusal>(made));
            EXPECT_EQ(std::get<Refusal>(made).text, row.refusal->text);
            EXPECT_EQ(std::get<Refusal>(made).icon, row.refusal->icon);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<SendPreparation>(made))
            << std::get<Refusal>(made).text.toStdString();
        const SendPreparation& prepared = std::get<SendPreparation>(made);
        EXPECT_EQ(prepared.prompts(), row.prompts);
        QStringList sms;
        for (const auto& [to, text] : prepared.request().messages())
            sms << to + u'|' + text;
        EXPECT_EQ(sms, row.sms);
        EXPECT_EQ(prepared.smsCount(), row.sms.size());
    }
}

TEST(SendPreparation, ABatchKeptForLaterCarriesTheChoicesAndTheRowToArchive)
{
    TestHome home;
    TypedMessage typed = single(QStringLiteral("3331112222"), QString(200, QChar(u'x')), SplitMode::Words);
    typed.surname.clear();
    typed.flash = true;
    typed.sender = QStringLiteral("Studio");
    const auto made = SendPreparation::prepare(
        typed, *home.state.store, home.state.folder.bookPath(QStringLiteral("Principale")), When::Later);
    ASSERT_TRUE(std::holds_alternative<SendPreparation>(made));
    const SendPreparation& prepared = std::get<SendPreparation>(made);
    const QDateTime due(QDate(2026, 3, 14), QTime(10, 0));
    const ScheduledBatch batch = prepared.scheduled(due);
    EXPECT_EQ(batch.due, due);
    EXPECT_EQ(batch.split, SplitMode::Words);
    EXPECT_TRUE(batch.flash);
    EXPECT_EQ(batch.sender, QStringLiteral("Studio"));
    EXPECT_EQ(batch.cognome, QStringLiteral(" ")); // a row never has an empty surname
    EXPECT_EQ(batch.cellulare, QStringLiteral("3331112222"));
    EXPECT_EQ(prepared.scheduledText(due),
              QStringLiteral("Invio programmato per il 14/03/2026 10:00 nella rubrica \"Principale\": 1 "
                             "destinatari, 2 SMS."));
}

} // namespace
