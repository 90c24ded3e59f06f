#include "clisandbox.h"

#include "cli/sendoutcome.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace parlix;
using namespace parlix::test;
using parlix::cli::Done;
using parlix::cli::Failed;
using parlix::cli::Stopped;
using parlix::cli::Usage;

namespace {

QStringList words(const char* line)
{
    return QString::fromUtf8(line).split(u' ');
}

void addTwoContacts(CliSandbox& cli)
{
    cli.folder.addContact(QStringLiteral("Principale"), QStringLiteral("Mario"), QStringLiteral("Rossi"),
                          QStringLiteral("3331112222"));
    cli.folder.addContact(QStringLiteral("Principale"), QStringLiteral("Nessuno"), QStringLiteral("Numero"),
                          QStringLiteral(" "));
    cli.folder.addContact(QStringLiteral("Principale"), QStringLiteral("Anna"), QStringLiteral("Bianchi"),
                          QStringLiteral("3334445555"), QStringLiteral("anna@example.it"));
}

} // namespace

TEST(SendCommand, ServesEveryContactWithANumberWithItsOwnText)
{
    const QString x155(155, QChar(u'x'));
    struct Row
    {
        const char* what;
        std::vector<std::string> sandbox;
        QStringList arguments; // after "send --book Principale"
        int status;
        QString out;
        QString errPart;
        QStringList sent;
        QString residui; // "" when untouched
        int inviati;     // rows written
    } rows[] = {
        {"personalised",
         {},
         {QStringLiteral("--text"), QStringLiteral("Ciao {nome} {COGNOME} <{Email}>")},
         Done,
         QStringLiteral("Inviati 2 di 2\n"),
         QStringLiteral("Anteprima dei primi 2 messaggi:"),
         {QStringLiteral("+393331112222|TEXT|Ciao Mario Rossi <>"),
          QStringLiteral("+393334445555|TEXT|Ciao Anna Bianchi <anna@example.it>")},
         QStringLiteral("98\r\n"),
         1},
        {"a long surname makes two SMS, two credits",
         {},
         {QStringLiteral("--text"), x155 + QStringLiteral("{Cognome}")},
         Done,
         QStringLiteral("Inviati 3 di 3\n"),
         QStringLiteral("SMS da inviare: 3"),
         {QStringLiteral("+393331112222|TEXT|") + x155 + QStringLiteral("Rossi"),
          QStringLiteral("+393334445555|TEXT|") + x155.left(155) + QStringLiteral("Bianc"),
          QStringLiteral("+393334445555|TEXT|hi")},
         QStringLiteral("97\r\n"),
         1},
        {"flash, split at blanks",
         {},
         words("--flash --split word --text Ciao"),
         Done,
         QStringLiteral("Inviati 2 di 2\n"),
         {},
         {QStringLiteral("+393331112222|FLASH|Ciao"), QStringLiteral("+393334445555|FLASH|Ciao")},
         QStringLiteral("98\r\n"),
         1},
        {"unknown field",
         {},
         {QStringLiteral("--text"), QStringLiteral("Ciao {Indirizzo}")},
         Failed,
         {},
         QStringLiteral(
             "Il campo {Indirizzo} non esiste. I campi che si possono usare sono {Nome}, {Cognome}, "
             "{Cellulare}, {Email}. Nessun SMS inviato."),
         {},
         {},
         0},
        {"refused recipient",
         {"--refuse", "+393334445555"},
         words("--text Ciao"),
         Stopped,
         QStringLiteral("Inviati 1 di 2\n"),
         QStringLiteral("3334445555: 11"),
         {QStringLiteral("+393331112222|TEXT|Ciao")},
         QStringLiteral("99\r\n"),
         1},
        {"credit short",
         {"--credit", "1"},
         words("--text Ciao"),
         Failed,
         QStringLiteral("Inviati 0 di 0\n"),
         QStringLiteral("Credito insufficiente: servono 2 SMS, il credito residuo è di 1."),
         {},
         {},
         0},
        {"no such book",
         {},
         words("--text Ciao --book Altra"),
         Failed,
         {},
         QStringLiteral("La rubrica \"Altra\" non esiste"),
         {},
         {},
         0},
        {"no text", {}, {}, Usage, {}, QStringLiteral("Uso: parlix-cli send"), {}, {}, 0},
        {"bad split",
         {},
         words("--text Ciao --split half"),
         Usage,
         {},
         QStringLiteral("--split vuole"),
         {},
         {},
         0},
        {"bad time",
         {},
         words("--text Ciao --at 24/12/2026"),
         Usage,
         {},
         QStringLiteral("--at vuole"),
         {},
         {},
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CliSandbox cli(row.sandbox);
        addTwoContacts(cli);
        QStringList arguments{QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale")};
        const CliSandbox::Outcome outcome = cli.run(arguments + row.arguments);
        EXPECT_EQ(outcome.status, row.status) << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
        EXPECT_EQ(cli.sent(), row.sent);
        QFile residui(cli.folder.path(QStringLiteral("residui.txt")));
        EXPECT_EQ(residui.open(QIODevice::ReadOnly) ? QString::fromUtf8(residui.readAll()) : QString(),
                  row.residui);
        EXPECT_EQ(cli.folder
                      .rows(cli.folder.state.folder.bookPath(QStringLiteral("Principale")),
                            QStringLiteral("inviati"))
                      .size(),
                  row.inviati);
        EXPECT_EQ(cli.run({QStringLiteral("scheduled")}).out, QString()) << "nothing is left waiting";
        EXPECT_FALSE(QFile::exists(cli.folder.state.folder.bookPath(QStringLiteral("Principale")) +
                                   QStringLiteral("-journal")))
            << "the rollback file kept through the run is gone";
    }
}

class OnBothStores : public ::testing::TestWithParam<Backend>
{
protected:
    CliSandbox cli{{}, GetParam()};
};

INSTANTIATE_TEST_SUITE_P(BothStores, OnBothStores, ::testing::Values(Backend::Files, Backend::Postgres),
                         [](const auto& info) { return backendName(info.param); });

TEST_P(OnBothStores, TheInviatiRowKeepsTheTextAsTyped)
{
    addTwoContacts(cli);
    ASSERT_EQ(cli.run({QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("principale"),
                       QStringLiteral("--text"), QStringLiteral("Ciao {Nome}")})
                  .status,
              Done);
    EXPECT_EQ(cli.folder.rows(cli.folder.state.folder.bookPath(QStringLiteral("Principale")),
                              QStringLiteral("inviati")),
              QStringList{QStringLiteral("<lista>|3331112222;3334445555|14/03/2026 09:26:53|Ciao {Nome}")});
}

TEST_P(OnBothStores, ABatchIsNotSentBeforeItsTimeAndOnceAfterIt)
{
    addTwoContacts(cli);
    const CliSandbox::Outcome stored =
        cli.run({QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale"),
                 QStringLiteral("--text"), QStringLiteral("Auguri {Nome}"), QStringLiteral("--at"),
                 QStringLiteral("2026-03-14T10:00")});
    EXPECT_EQ(stored.status, Done);
    EXPECT_EQ(stored.out,
              QStringLiteral("Invio 1 programmato per il 14/03/2026 10:00: 2 destinatari, 2 SMS\n"));
    EXPECT_TRUE(cli.sent().isEmpty());

    const QString waiting = QStringLiteral("Principale\t1\t2026-03-14T10:00\t2\t2\tAuguri {Nome}\tdemo\n");
    struct Step
    {
        QTime now;
        QString command;
        QString out;
        int sent; // SMS in the sandbox's log afterwards
    } steps[] = {
        {QTime(9, 26), QStringLiteral("scheduled"), waiting, 0},
        {QTime(9, 59, 59), QStringLiteral("run-scheduled"), {}, 0},
        {QTime(9, 59, 59), QStringLiteral("scheduled"), waiting, 0},
        {QTime(10, 0), QStringLiteral("run-scheduled"),
         QStringLiteral("Rubrica Principale, invio 1: Inviati 2 di 2\n"), 2},
        {QTime(10, 5), QStringLiteral("run-scheduled"), {}, 2},
        {QTime(10, 5), QStringLiteral("scheduled"), {}, 2},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE((step.command + u' ' + step.now.toString()).toStdString());
        cli.folder.clock.set(QDateTime(QDate(2026, 3, 14), step.now));
        const CliSandbox::Outcome outcome = cli.run({step.command});
        EXPECT_EQ(outcome.status, Done) << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, step.out);
        EXPECT_EQ(cli.sent().size(), step.sent);
    }
    EXPECT_EQ(cli.sent(), (QStringList{QStringLiteral("+393331112222|TEXT|Auguri Mario"),
                                       QStringLiteral("+393334445555|TEXT|Auguri Anna")}));
    EXPECT_EQ(cli.folder.rows(cli.folder.state.folder.bookPath(QStringLiteral("Principale")),
                              QStringLiteral("inviati")),
              QStringList{QStringLiteral("<lista>|3331112222;3334445555|14/03/2026 10:00:00|Auguri {Nome}")});
}

TEST(ScheduledCommands, ABatchWhoseCreditIsShortWaitsForTheNextRun)
{
    CliSandbox cli({"--credit", "1"});
    addTwoContacts(cli);
    cli.folder.clock.set(QDateTime(QDate(2026, 2, 28), QTime(8, 0)));
    ASSERT_EQ(cli.run({QStringLiteral("send"), QStringLiteral("--book"), QStringLiteral("Principale"),
                       QStringLiteral("--text"), QStringLiteral("Ciao"), QStringLiteral("--at"),
                       QStringLiteral("2026-03-01T08:00")})
                  .status,
              Done);
    cli.folder.clock.set(QDateTime(QDate(2026, 3, 14), QTime(9, 0)));
    const CliSandbox::Outcome run = cli.run({QStringLiteral("run-scheduled")});
    EXPECT_EQ(run.status, Failed);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Credito insufficiente"))) << run.err.toStdString();
    EXPECT_TRUE(cli.sent().isEmpty());
    EXPECT_TRUE(cli.run({QStringLiteral("scheduled")}).out.startsWith(QStringLiteral("Principale\t1\t")));
}

// With --json, send and run-scheduled print one object: each batch with each recipient as the journal
// tells it, every field documented. The text may come from standard input; -q leaves out the preview.
TEST(SendCommand, TheJsonObjectTellsEachRecipientAndTheTextMayComeFromStandardInput)
{
    CliSandbox cli({"--refuse", "+393334445555"});
    addTwoContacts(cli);
    const QString documented = parlix::cli::batchesField().meaning;
    struct Row
    {
        QStringList words;
        QString input;
        int status;
        QString recipients; // "number state result" each, joined by ","
        QStringList sent;
    } rows[] = {
        {words("send --book Principale --at 2026-03-14T10:00 --text -"),
         QStringLiteral("Auguri {Nome}\n"),
         Done,
         QStringLiteral("3331112222 waiting 0,3334445555 waiting 0"),
         {}},
        {words("run-scheduled"), {}, Done, {}, {}},
        {words("send --book Principale -q --text -"),
         QStringLiteral("Ciao {Nome}\r\n"),
         Stopped,
         QStringLiteral("3331112222 accepted 0,3334445555 refused 11"),
         {QStringLiteral("+393331112222|TEXT|Ciao Mario")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.words.join(u' ').toStdString());
        const CliSandbox::Outcome outcome =
            cli.run(row.words + QStringList{QStringLiteral("--json")}, row.input);
        EXPECT_EQ(outcome.status, row.status) << outcome.err.toStdString();
        EXPECT_FALSE(outcome.err.contains(QStringLiteral("Anteprima")) &&
                     row.words.contains(QStringLiteral("-q")));
        const QJsonObject object = QJsonDocument::fromJson(outcome.out.toUtf8()).object();
        EXPECT_EQ(object.keys(), (QStringList{QStringLiteral("batches"), QStringLiteral("exit")}))
            << outcome.out.toStdString();
        EXPECT_EQ(object.value(QStringLiteral("exit")).toInt(), row.status);
        QStringList recipients;
        for (const QJsonValue& batch : object.value(QStringLiteral("batches")).toArray()) {
            for (const QString& key : batch.toObject().keys())
                EXPECT_TRUE(documented.contains(key + QStringLiteral(" ("))) << key.toStdString();
            for (const QJsonValue& each : batch.toObject().value(QStringLiteral("recipients")).toArray()) {
                const QJsonObject recipient = each.toObject();
                for (const QString& key : recipient.keys())
                    EXPECT_TRUE(documented.contains(key)) << key.toStdString();
                recipients << recipient.value(QStringLiteral("number")).toString() + u' ' +
                                  recipient.value(QStringLiteral("state")).toString() + u' ' +
                                  QString::number(recipient.value(QStringLiteral("result")).toInteger());
            }
        }
        EXPECT_EQ(recipients.join(u','), row.recipients);
        EXPECT_EQ(cli.sent(), row.sent);
    }
    EXPECT_EQ(
        cli.folder
            .rows(cli.folder.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("inviati"))
            .last(),
        QStringLiteral("<lista>|3331112222;3334445555|14/03/2026 09:26:53|Ciao {Nome}"));
}
