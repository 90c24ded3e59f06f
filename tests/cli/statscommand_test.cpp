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
using parlix::test::Outcome;
using parlix::test::runLine;

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
    const QStringList period{QStringLiteral("--home"),     home.dir.path(),
                             QStringLiteral("stats"),      QStringLiteral("--from"),
                             QStringLiteral("2026-02-01"), QStringLiteral("--to"),
                             QStringLiteral("14/03/2026")};
    const QStringList base = period.mid(0, 3);
    struct Row
    {
        QStringList arguments;
        int status;
        QString outPart;
        QString errPart;
    };
    const Row rows[] = {
        {period,
         Done,
         QStringLiteral("Periodo\tDal\tAl\tPrincipale accettati\tPrincipale rifiutati\tClienti accettati\t"
                        "Clienti rifiutati\tAccettati\tRifiutati\tEsito incerto\tCredito speso\t"
                        "Tasso di accettazione\n02/2026\t01/02/2026\t28/02/2026\t0\t0\t2\t0\t2\t0\t0\t2\t"),
         {}},
        {period + QStringList{QStringLiteral("--by"), QStringLiteral("week")},
         Done,
         QStringLiteral("\nsett. 09/03/2026\t09/03/2026\t14/03/2026\t2\t0\t0\t0\t2\t0\t0\t2\t"),
         {}},
        {base + QStringList{QStringLiteral("--by"), QStringLiteral("year")},
         Usage,
         {},
         QStringLiteral("Periodo non valido: \"year\" (day, week o month).\nUso: parlix-cli stats")},
        {base + QStringList{QStringLiteral("--from"), QStringLiteral("2026-02-30")},
         Usage,
         {},
         QStringLiteral("Data non valida: \"2026-02-30\"")},
        {base + QStringList{QStringLiteral("--from"), QStringLiteral("2026-03-02"), QStringLiteral("--to"),
                            QStringLiteral("2026-03-01")},
         Usage,
         {},
         QStringLiteral("La data iniziale (--from) è successiva a quella finale (--to).")},
        {base + QStringList{QStringLiteral("--to")},
         Usage,
         {},
         QStringLiteral("Argomento non riconosciuto: \"--to\"")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.mid(3).join(u' ').toStdString());
        const Outcome outcome = runLine(row.arguments);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_TRUE(outcome.out.contains(row.outPart)) << outcome.out.toStdString();
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
    }

    const Outcome json = runLine(period + QStringList{QStringLiteral("--json")});
    ASSERT_EQ(json.status, Done) << json.err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document[u"books"].toArray(),
              QJsonArray({QStringLiteral("Principale"), QStringLiteral("Clienti")}));
    const QJsonArray periods = document[u"periods"].toArray();
    ASSERT_EQ(periods.size(), 2);
    EXPECT_EQ(periods[1][u"from"], QStringLiteral("2026-03-01"));
    EXPECT_EQ(periods[1][u"books"][u"Principale"][u"accepted"], 2);
    EXPECT_EQ(document[u"total"][u"credit_spent"], 4);
    EXPECT_TRUE(document[u"forecast"].toObject().contains(u"runs_out"));
}
