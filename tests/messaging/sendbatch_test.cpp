#include "batchsupport.h"
#include "core/programstate.h"
#include "messaging/sendbatch.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace parlix;
using parlix::test::multipleRequest;
using parlix::test::SandboxHome;
using parlix::test::waitUntil;

namespace {

// What one batch reported, in order.
struct BatchRun
{
    QStringList statuses;
    QStringList served;
    std::vector<std::pair<int, int>> progress;
    int archiveChanges = 0;
    std::optional<double> remaining;
    std::optional<SendBatch::Outcome> outcome;
};

BatchRun runBatch(test::TestHome& home, GatewayFactory factory, BatchRequest request)
{
    BatchRun run;
    SendBatch batch(home.context(), std::move(factory));
    QObject::connect(&batch, &SendBatch::statusChanged, [&](const QString& s) { run.statuses << s; });
    QObject::connect(&batch, &SendBatch::serving, [&](const QString& n) { run.served << n; });
    QObject::connect(&batch, &SendBatch::progressChanged,
                     [&](int i, int n) { run.progress.emplace_back(i, n); });
    QObject::connect(&batch, &SendBatch::archiveChanged, [&] { ++run.archiveChanges; });
    QObject::connect(&batch, &SendBatch::creditChanged, [&](double r) { run.remaining = r; });
    QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { run.outcome = o; });
    batch.start(std::move(request));
    EXPECT_TRUE(batch.running());
    EXPECT_TRUE(waitUntil([&] { return run.outcome.has_value(); }));
    EXPECT_FALSE(batch.running());
    return run;
}

BatchRequest singleRequest(const QString& number, const QStringList& parts)
{
    BatchRequest request;
    request.recipients = {number};
    request.parts = parts;
    request.book = QStringLiteral("Principale");
    request.record = {QStringLiteral("Rossi"), number, parts.join(QString())};
    return request;
}

const QStringList threeNumbers{QStringLiteral("3331112222"), QStringLiteral("3334445555"),
                               QStringLiteral("3337778888")};

TEST(SendBatchWithSandbox, ACreditFileThatCannotBeWrittenIsReportedAfterTheSend)
{
    SandboxHome box({"--credit", "10"});
    // A folder where the file should be: no file can replace it.
    ASSERT_TRUE(QDir(box.home.dir.path()).mkdir(QStringLiteral("residui.txt")));
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    box.home.dialogs.expectMessage(QStringLiteral("Il credito residuo non può essere salvato nel file "
                                                  "\"residui.txt\": al prossimo avvio verrà mostrato il "
                                                  "credito precedente."),
                                   MessageIcon::Exclamation);
    const BatchRun run = runBatch(box.home, box.factory(),
                                  singleRequest(QStringLiteral("3331112222"), {QStringLiteral("ciao")}));
    EXPECT_EQ(run.outcome, SendBatch::Outcome::Completed);
    EXPECT_EQ(box.sentSms().size(), 1);
    EXPECT_EQ(box.sentRecords().size(), 1);
}

TEST(SendBatchWithSandbox, SingleModeSendsEveryPartInOrderAndStoresTheRemainingCredit)
{
    SandboxHome box({"--credit", "10"});
    box.home.state.intestazione = QStringLiteral("Studio Rossi Srl");
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    BatchRequest request =
        singleRequest(QStringLiteral("3331112222"),
                      {QStringLiteral("uno "), QStringLiteral("due "), QStringLiteral("tre")});
    request.record.testo = QStringLiteral("uno due tre");
    request.sender = box.home.state.intestazione;
    const BatchRun run = runBatch(box.home, box.factory(), request);

    EXPECT_EQ(run.outcome, SendBatch::Outcome::Completed);
    EXPECT_EQ(run.statuses,
              (QStringList{QStringLiteral("Verifica Credito"), QStringLiteral("Disponibilità OK"),
                           QStringLiteral("Inviati 1 di 3"), QStringLiteral("Inviati 2 di 3"),
                           QStringLiteral("Inviati 3 di 3"), QStringLiteral("Invio Completato")}));
    EXPECT_EQ(run.progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(box.sentSms(), (QStringList{QStringLiteral("+393331112222|TEXT|Studio Ross|uno "),
                                          QStringLiteral("+393331112222|TEXT|Studio Ross|due "),
                                          QStringLiteral("+393331112222|TEXT|Studio Ross|tre")}));
    EXPECT_EQ(box.sentRecords(),
              QStringList{QStringLiteral("Rossi|3331112222|14/03/2026 09:26:53|uno due tre")});
    EXPECT_EQ(run.archiveChanges, 1);
    EXPECT_EQ(box.residui(), QStringLiteral("7\r\n"));
    EXPECT_EQ(run.remaining, 7.0);
    EXPECT_EQ(box.home.state.credito, 7.0);
    EXPECT_EQ(box.home.state.numerosms, 3.0);
    EXPECT_TRUE(run.served.isEmpty());
}

TEST(SendBatchWithSandbox, MultipleModeSendsTheTextToEachRecipientAsFlash)
{
    SandboxHome box({"--credit", "3"});
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    BatchRequest request = multipleRequest(threeNumbers, QStringLiteral("Chiuso per ferie"));
    request.flash = true;
    const BatchRun run = runBatch(box.home, box.factory(), request);

    EXPECT_EQ(run.outcome, SendBatch::Outcome::Completed);
    EXPECT_EQ(run.served, threeNumbers);
    EXPECT_EQ(box.sentSms(), (QStringList{QStringLiteral("+393331112222|FLASH||Chiuso per ferie"),
                                          QStringLiteral("+393334445555|FLASH||Chiuso per ferie"),
                                          QStringLiteral("+393337778888|FLASH||Chiuso per ferie")}));
    EXPECT_EQ(box.sentRecords(),
              QStringList{QStringLiteral(
                  "<lista>|3331112222;3334445555;3337778888|14/03/2026 09:26:53|Chiuso per ferie")});
    EXPECT_EQ(box.residui(), QStringLiteral("0\r\n"));
}

TEST(SendBatchWithSandbox, SecondRecipientRefusedStillServesThird)
{
    SandboxHome box({"--credit", "10", "--refuse", "+393334445555"});
    box.home.dialogs.expectMessage(QStringLiteral("Alcuni messaggi non Inviati."), MessageIcon::None);
    const BatchRun run =
        runBatch(box.home, box.factory(), multipleRequest(threeNumbers, QStringLiteral("Avviso")));

    EXPECT_EQ(run.outcome, SendBatch::Outcome::Completed);
    EXPECT_EQ(run.statuses.mid(2),
              (QStringList{QStringLiteral("Inviati 1 di 3"), QStringLiteral("Inviati 2 di 3"),
                           QStringLiteral("Inviati 3 di 3"), QStringLiteral("Invio Completato")}));
    EXPECT_EQ(box.sentSms(), (QStringList{QStringLiteral("+393331112222|TEXT||Avviso"),
                                          QStringLiteral("+393337778888|TEXT||Avviso")}));
    EXPECT_EQ(box.sentRecords().size(), 1);
    EXPECT_EQ(run.remaining, 8.0);
    EXPECT_EQ(box.residui(), QStringLiteral("8\r\n"));
}

TEST(SendBatchWithSandbox, NumbersAlreadyInternationalAreSentAsTheyAre)
{
    SandboxHome box;
    box.home.dialogs.expectMessage(QStringLiteral("Alcuni messaggi non Inviati."), MessageIcon::None);
    const BatchRun run =
        runBatch(box.home, box.factory(),
                 multipleRequest({QStringLiteral("+447700900123"), QStringLiteral("0033612345678"),
                                  QStringLiteral("333 1112222")},
                                 QStringLiteral("x")));
    EXPECT_EQ(run.outcome, SendBatch::Outcome::Completed);
    // The number with a blank is refused by the control and counts as a failure.
    EXPECT_EQ(box.sentSms(),
              (QStringList{QStringLiteral("+447700900123|TEXT||x"), QStringLiteral("+33612345678|TEXT||x")}));
    EXPECT_EQ(run.remaining, 98.0);
}

TEST(SendBatchWithSandbox, CreditProblemsSendNothingAndWriteNoRecord)
{
    struct Case
    {
        const char* credit;
        const char16_t* message;
        SendBatch::Outcome outcome;
        QStringList statuses;
    };
    const Case cases[] = {
        {"2", u"Credito insufficiente", SendBatch::Outcome::Stopped, {QStringLiteral("Verifica Credito")}},
        {"0",
         u"Credito Esaurito",
         SendBatch::Outcome::Abandoned,
         {QStringLiteral("Verifica Credito"), QString()}},
    };
    for (const Case& c : cases) {
        SandboxHome box({"--credit", c.credit});
        box.home.state.credito = 55;
        box.home.dialogs.expectMessage(QString::fromUtf16(c.message), MessageIcon::Critical);
        const BatchRun run =
            runBatch(box.home, box.factory(), multipleRequest(threeNumbers, QStringLiteral("x")));
        EXPECT_EQ(run.outcome, c.outcome) << c.credit;
        EXPECT_EQ(run.statuses, c.statuses) << c.credit;
        EXPECT_TRUE(box.sentSms().isEmpty()) << c.credit;
        EXPECT_TRUE(box.sentRecords().isEmpty()) << c.credit;
        // The label and residui.txt follow the gateway's answer.
        EXPECT_EQ(box.residui(), QString::fromLatin1(c.credit) + QStringLiteral("\r\n"));
        EXPECT_EQ(box.home.state.credito, QByteArray(c.credit).toDouble());
        EXPECT_EQ(run.archiveChanges, 0);
    }
}

TEST(SendBatchWithSandbox, FailedCreditQueryIsAConnectionProblemNotExhaustedCredit)
{
    SandboxHome box;
    box.sandbox.stop();
    box.home.dialogs.expectMessage(
        QStringLiteral("Connessione non Riuscita \nVerificare la Connessione ad Internet e ritentare"),
        MessageIcon::Exclamation);
    const BatchRun run =
        runBatch(box.home, box.factory(), singleRequest(QStringLiteral("333"), {QStringLiteral("x")}));
    EXPECT_EQ(run.outcome, SendBatch::Outcome::Abandoned);
    EXPECT_EQ(run.statuses, (QStringList{QStringLiteral("Verifica Credito"), QString()}));
    EXPECT_TRUE(box.sentRecords().isEmpty());
}

TEST(SendBatchWithSandbox, ARefusedAccountIsToldApartFromAConnectionProblem)
{
    const struct
    {
        std::vector<std::string> sandbox;
        const char* password;
        QString told;
    } cases[] = {
        {{},
         "sbagliata",
         QStringLiteral("Il servizio SMS non riconosce login e password.\n"
                        "Verificarli dal menu \"Gestione Account\", voce \"Dati Account\".")},
        {{"--answer", "<html>Manutenzione</html>"},
         "demo",
         QStringLiteral("Il servizio SMS non ha comunicato il credito.\nRitentare più tardi.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        SandboxHome box(c.sandbox);
        ASSERT_TRUE((Account{QStringLiteral("demo"), QString::fromLatin1(c.password), 2})
                        .save(box.home.state.folder));
        box.home.dialogs.expectMessage(c.told, MessageIcon::Exclamation);
        const BatchRun run =
            runBatch(box.home, box.factory(), singleRequest(QStringLiteral("333"), {QStringLiteral("x")}));
        EXPECT_EQ(run.outcome, SendBatch::Outcome::Abandoned);
        EXPECT_TRUE(box.sentSms().isEmpty());
        EXPECT_TRUE(box.sentRecords().isEmpty());
    }
}

TEST(SendBatchWithSandbox, MissingAccountAbandonsWithoutAskingTheGateway)
{
    SandboxHome box;
    ASSERT_TRUE(QFile::remove(box.home.path(QStringLiteral("account"))));
    box.home.dialogs.expectMessage(
        QStringLiteral("Login e password del servizio SMS non sono impostati.\n"
                       "Inserirli dal menu \"Gestione Account\", voce \"Dati Account\"."),
        MessageIcon::Exclamation);
    const BatchRun run =
        runBatch(box.home, box.factory(), singleRequest(QStringLiteral("333"), {QStringLiteral("x")}));
    EXPECT_EQ(run.outcome, SendBatch::Outcome::Abandoned);
    EXPECT_EQ(run.statuses, (QStringList{QStringLiteral("Verifica Credito"), QString()}));
    EXPECT_TRUE(box.sandbox.traceLines().empty());
}

TEST(SendBatchWithSandbox, BookThatCannotBeWrittenCancelsBeforeAnySms)
{
    SandboxHome box;
    box.home.dialogs.expectMessage(QStringLiteral("Invio Annullato"), MessageIcon::None);
    BatchRequest request = singleRequest(QStringLiteral("333"), {QStringLiteral("x")});
    request.book = QStringLiteral("Sparita");
    const BatchRun run = runBatch(box.home, box.factory(), request);
    EXPECT_EQ(run.outcome, SendBatch::Outcome::Abandoned);
    EXPECT_TRUE(box.sentSms().isEmpty());
    EXPECT_EQ(run.archiveChanges, 0);
}

TEST(SendBatchWithSandbox, DestroyingABatchUnderWayStopsSending)
{
    SandboxHome box({"--delay", "50"});
    std::optional<SendBatch::Outcome> outcome;
    int sent = 0;
    {
        SendBatch batch(box.home.context(), box.factory());
        QObject::connect(&batch, &SendBatch::progressChanged, [&](int i, int) { sent = i; });
        QObject::connect(&batch, &SendBatch::finished, [&](SendBatch::Outcome o) { outcome = o; });
        QStringList many;
        for (int i = 0; i < 50; ++i)
            many << QStringLiteral("33300000%1").arg(i, 2, 10, QChar(u'0'));
        batch.start(multipleRequest(many, QStringLiteral("x")));
        ASSERT_TRUE(waitUntil([&] { return sent >= 2; }));
    }
    EXPECT_FALSE(outcome.has_value());
    EXPECT_LT(box.sentSms().size(), 50);
    // The credit file counts the SMS the gateway took before the stop.
    EXPECT_EQ(box.residui(), QStringLiteral("%1\r\n").arg(100 - box.sentSms().size()));
}

} // namespace
