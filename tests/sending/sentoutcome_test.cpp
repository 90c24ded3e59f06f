#include "sending/batchjournal.h"
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
    EXPECT_EQ(sentOutcomeLines(*home.state.store, book, 0, data, QStringLiteral("Ciao")),
              (QStringList{QStringLiteral("3331 (Rossi): accettato"),
                           QStringLiteral("3332: rifiutato: numero non valido (codice 3)"),
                           QStringLiteral("3333: rifiutato: connessione non riuscita (codice 12029)"),
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
        {1, u"rifiutato dal servizio (codice 1)"},   {11, u"rifiutato dal servizio (codice 11)"},
        {4, u"testo mancante (codice 4)"},           {6, u"login o password mancanti (codice 6)"},
        {8, u"connessione non riuscita (codice 8)"}, {9, u"autenticazione al proxy annullata (codice 9)"},
        {15, u"qualità non valida (codice 15)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusalReason(c.result), QString::fromUtf16(c.reason)) << c.result;
}

} // namespace
