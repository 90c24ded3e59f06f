#include "sending/batchjournal.h"
#include "sending/exchangeoutcome.h"
#include "sending/scheduledstore.h"
#include "sending/sentoutcome.h"
#include "store/store.h"
#include "tests/support/testhome.h"

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

TEST(SentOutcome, EachRecipientOfTheMessageWithWhatTheGatewayAnswered)
{
    TestHome home;
    const QString book = home.state.folder.bookPath(QStringLiteral("Principale"));
    const QString data = QStringLiteral("14/03/2026 09:26:53");
    // Without a journal, and for a message the journal does not know, there is nothing to show.
    EXPECT_TRUE(sentOutcomeLines(*home.state.store, book, 0, data, QStringLiteral("Ciao")).isEmpty());
    {
        BatchJournal journal(*home.state.store, book);
        // An older batch with the same date and text: the latest one is shown.
        journal.finish(
            journal.begin(data, QStringLiteral("Ciao"), {{QString(), QStringLiteral("3339999999")}}));
        const long long id = journal.begin(data, QStringLiteral("Ciao"),
                                           {{QStringLiteral("Rossi"), QStringLiteral("3331")},
                                            {QString(), QStringLiteral("3332")},
                                            {QString(), QStringLiteral("3333")},
                                            {QString(), QStringLiteral("3334")},
                                            {QString(), QStringLiteral("3335")}});
        const long results[] = {0, 3, 12029};
        for (int i = 0; i < 3; ++i) {
            journal.sending(id, i);
            journal.answered(id, i, results[i]);
        }
        journal.sending(id, 3);
    }
    EXPECT_EQ(
        sentOutcomeLines(*home.state.store, book, 0, data, QStringLiteral("Ciao")),
        (QStringList{QStringLiteral("3331 (Rossi): accettato"),
                     QStringLiteral("3332: rifiutato: numero non valido (codice 3)"),
                     QStringLiteral("3333: rifiutato: connessione al gateway non riuscita (codice 12029)"),
                     QStringLiteral("3334: esito sconosciuto: invio interrotto"),
                     QStringLiteral("3335: non inviato")}));
    EXPECT_TRUE(sentOutcomeLines(*home.state.store, book, 0, data, QStringLiteral("Altro")).isEmpty());
}

TEST(SentOutcome, ALongListShowsTheCountAndOnlyTheRecipientsNotAccepted)
{
    const QString ok = QStringLiteral("1: accettato");
    const QString no = QStringLiteral("2: non inviato");
    const struct
    {
        QStringList lines;
        QString text;
    } cases[] = {
        {{ok, no}, ok + u'\n' + no},
        {{ok, ok, ok, ok}, QStringLiteral("Accettati 4 di 4 destinatari.")},
        {{ok, no, ok, no}, QStringLiteral("Accettati 2 di 4 destinatari.\n") + no + u'\n' + no},
        {{no, no, no, no},
         QStringLiteral("Accettati 0 di 4 destinatari.\n") + no + u'\n' + no + u'\n' + no +
             QStringLiteral("\n... e altri 1.")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sentOutcomeText(c.lines, 3), c.text) << c.lines.join(u',').toStdString();
}

// How a failure is named, and whether it may have come after the gateway
// read the request: a certificate or TLS failure never does.
TEST(SentOutcome, RefusalReasons)
{
    using O = ExchangeOutcome;
    const struct
    {
        long result;
        const char16_t* reason;
        ExchangeOutcome outcome;
    } cases[] = {
        {1, u"rifiutato dal servizio (codice 1)", O::Refused},
        {11, u"rifiutato dal servizio (codice 11)", O::Refused},
        {4, u"testo mancante (codice 4)", O::Refused},
        {6, u"login o password mancanti (codice 6)", O::Refused},
        {8, u"accesso a Internet non riuscito (codice 8)", O::Unreached},
        {9, u"autenticazione al proxy annullata (codice 9)", O::Unreached},
        {15, u"qualità non valida (codice 15)", O::Refused},
        {12045, u"certificato del gateway firmato da un'autorità sconosciuta (codice 12045)", O::Unreached},
        {12157, u"connessione sicura (TLS) con il gateway non riuscita (codice 12157)", O::Unreached},
        {12031, u"connessione al gateway interrotta (codice 12031)", O::InDoubt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(refusalReason(c.result), QString::fromUtf16(c.reason)) << c.result;
        EXPECT_EQ(exchangeOutcome(c.result), c.outcome) << c.result;
    }
}

// The journal of every batch shows the surname of a message to a contact.
TEST(SentOutcome, TheBatchJournalShowsSurnames)
{
    TestHome home;
    ScheduledStore journal(*home.state.store, home.state.folder.bookPath(QStringLiteral("Principale")));
    ScheduledBatch batch;
    batch.text = QStringLiteral("Ciao");
    const QStringList parts{batch.text};
    const qint64 id =
        journal.add(batch, {{QStringLiteral("3331"), batch.text, parts, QStringLiteral("Rossi")},
                            {QStringLiteral("3332"), batch.text, parts, QStringLiteral("<lista>")},
                            {QStringLiteral("3333"), batch.text, parts, {}}});
    ASSERT_TRUE(journal.start(id, QStringLiteral("14/03/2026 09:26:53")));
    journal.claim(id, QStringLiteral("prova"), {}, 3);
    journal.report(id, {{1, 0, 1, false}, {2, 0, 1, false}, {3, 3, 0, false}});
    EXPECT_EQ(sentOutcomeLines(*home.state.store, journal.path(), 1, QStringLiteral("14/03/2026 09:26:53"),
                               batch.text),
              (QStringList{QStringLiteral("3331 (Rossi): accettato"), QStringLiteral("3332: accettato"),
                           QStringLiteral("3333: rifiutato: numero non valido (codice 3)")}));
}

} // namespace
