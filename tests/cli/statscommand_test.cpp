#include "cli/command.h"
#include "consolerun.h"
#include "contacts/bookcatalog.h"
#include "tests/support/testhome.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace parlix;
using namespace parlix::cli;

// The figures as a table and as JSON, and the words the command refuses.
TEST(StatsCommand, PrintsThePeriodsOfEachBookAndRefusesBadWords)
{
    test::TestHome home;
    ASSERT_EQ(BookCatalog(home.state).create(QStringLiteral("Clienti")), BookCatalog::Outcome::Done);
    home.addMessage(QStringLiteral("Principale"), QStringLiteral("inviati"), QStringLiteral("<lista>"),
                    QStringLiteral("3331;3332"), QStringLiteral("10/03/2026 10:00:00"),
                    QStringLiteral("Ciao"));
    home.addMessage(QStringLiteral("Clienti"), QStringLiteral("inviati"), QStringLiteral("Rossi"),
                    QStringLiteral("3333"), QStringLiteral("01/02/2026 09:00:00"), QString(170, u'x'));
    const QStringList base{QStringLiteral("--home"), home.dir.path(), QStringLiteral("stats")};
    const QStringList period = base + QStringList{QStringLiteral("--from"), QStringLiteral("2026-02-01"),
                                                  QStringLiteral("--to"), QStringLiteral("14/03/2026")};
    const auto words = [&](const char* line) { return base + QString::fromLatin1(line).split(u' '); };
    const struct
    {
        QStringList arguments;
        int status;
        QString outPart;
        QString errPart;
    } rows[] = {
        {period + QStringList{QStringLiteral("--by"), QStringLiteral("week")},
         Done,
         QStringLiteral(
             "Periodo\tDal\tAl\tPrincipale accettati\tPrincipale rifiutati\tClienti accettati\t"
             "Clienti rifiutati\tAccettati\tRifiutati\tEsito incerto\tCredito speso\t"
             "Tasso di accettazione\nsett. 26/01/2026\t01/02/2026\t01/02/2026\t0\t0\t2\t0\t2\t0\t0\t2\t"),
         {}},
        {words("--by year"), Usage, {}, QStringLiteral("Periodo non valido: \"year\" (day, week o month).")},
        {words("--from 2026-02-30"), Usage, {}, QStringLiteral("Data non valida: \"2026-02-30\"")},
        {words("--from 2026-03-02 --to 2026-03-01"),
         Usage,
         {},
         QStringLiteral("La data iniziale (--from) è successiva a quella finale (--to).")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.mid(3).join(u' ').toStdString());
        const test::Outcome outcome = test::runLine(row.arguments);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_TRUE(outcome.out.contains(row.outPart)) << outcome.out.toStdString();
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
    }

    const test::Outcome json = test::runLine(period + QStringList{QStringLiteral("--json")});
    ASSERT_EQ(json.status, Done) << json.err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document[u"books"].toArray(),
              QJsonArray({QStringLiteral("Principale"), QStringLiteral("Clienti")}));
    const QJsonArray periods = document[u"periods"].toArray();
    ASSERT_EQ(periods.size(), 2);
    EXPECT_EQ(periods[1][u"from"], QStringLiteral("2026-03-01"));
    EXPECT_EQ(periods[1][u"books"][u"Principale"][u"accepted"], 2);
    EXPECT_EQ(document[u"total"][u"credit_spent"], 4);
}
