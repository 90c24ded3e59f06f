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

TEST(SentOutcome, RefusalReasons)
{
    const struct
    {
        long result;
        const char16_t* reason;
    } cases[] = {
        {1, u"rifiutato dal servizio (codice 1)"},
        {11, u"rifiutato dal servizio (codice 11)"},
        {4, u"testo mancante (codice 4)"},
        {6, u"login o password mancanti (codice 6)"},
        {8, u"accesso a Internet non riuscito (codice 8)"},
        {9, u"autenticazione al proxy annullata (codice 9)"},
        {15, u"qualità non valida (codice 15)"},
        {12045, u"certificato del gateway firmato da un'autorità sconosciuta (codice 12045)"},
        {12157, u"connessione sicura (TLS) con il gateway non riuscita (codice 12157)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusalReason(c.result), QString::fromUtf16(c.reason)) << c.result;
}

// The journal of every batch keeps the surname of a message to a contact,
// and the gateway library's meaning of every failed exchange.
TEST(SentOutcome, TheBatchJournalShowsSurnamesAndWhatEachFailureMeant)
{
    TestHome home;
    const QString book = home.state.folder.bookPath(QStringLiteral("Principale"));
    const struct
    {
        QString cognome;
        long result;
        QString line;
    } rows[] = {
        {QStringLiteral("Rossi"), 0, QStringLiteral("3331 (Rossi): accettato")},
        {QString(), 3, QStringLiteral("3332: rifiutato: numero non valido (codice 3)")},
        {QStringLiteral("<lista>"), 12045,
         QStringLiteral(
             "3333: rifiutato: certificato del gateway firmato da un'autorità sconosciuta (codice 12045)")},
    };
    QList<RecipientMessage> recipients;
    QList<RecipientResult> results;
    for (const auto& row : rows) {
        recipients.append({QStringLiteral("333%1").arg(recipients.size() + 1),
                           QStringLiteral("Ciao"),
                           {QStringLiteral("Ciao")},
                           row.cognome});
        results.append({int(recipients.size()), row.result, row.result == 0 ? 1 : 0, false});
    }
    ScheduledStore journal(*home.state.store, book);
    ScheduledBatch batch;
    batch.text = QStringLiteral("Ciao");
    batch.cognome = QStringLiteral("<lista>");
    batch.cellulare = QStringLiteral("3331;3332;3333");
    const qint64 id = journal.add(batch, recipients);
    const QString data = QStringLiteral("14/03/2026 09:26:53");
    ASSERT_TRUE(journal.start(id, data));
    journal.claim(id, QStringLiteral("prova"), {}, int(results.size()));
    journal.report(id, results);
    QStringList lines;
    for (const auto& row : rows)
        lines << row.line;
    EXPECT_EQ(sentOutcomeLines(*home.state.store, book, 1, data, batch.text), lines);
}

} // namespace

namespace {

// Whether an exchange's failure may have come after the gateway read the
// request: a certificate or TLS failure never does, the recipient waits again.
TEST(ExchangeOutcome, OnlyFailuresAfterTheRequestLeftAreInDoubt)
{
    const struct
    {
        long result;
        ExchangeOutcome outcome;
    } rows[] = {
        {0, ExchangeOutcome::Accepted},      {3, ExchangeOutcome::Refused},
        {8, ExchangeOutcome::Unreached},     {12029, ExchangeOutcome::Unreached},
        {12037, ExchangeOutcome::Unreached}, {12045, ExchangeOutcome::Unreached},
        {12157, ExchangeOutcome::Unreached}, {12002, ExchangeOutcome::InDoubt},
        {12031, ExchangeOutcome::InDoubt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(exchangeOutcome(row.result), row.outcome) << row.result;
}

} // namespace
