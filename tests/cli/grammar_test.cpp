#include "cli/commandline.h"
#include "cli/linegrammar.h"
#include "tests/cli/consolerun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace parlix::cli;
using parlix::test::Outcome;
using parlix::test::runLine;

namespace {

std::set<QString> keysOf(const QJsonObject& object)
{
    const QStringList keys = object.keys();
    return {keys.begin(), keys.end()};
}

// The documented fields of a command's --json object, with "exit".
std::set<QString> documentedFields(const QString& name)
{
    std::set<QString> fields{QStringLiteral("exit")};
    for (const auto& command : allCommands())
        if (command->name() == name)
            for (const FieldSpec& field : command->grammar().json)
                fields.insert(field.name);
    return fields;
}

} // namespace

// Every command answers --help, -h, "help COMMAND" and --version, and refuses an unknown option or a
// value given to a switch, wherever the global options stand, and creates nothing when it does not run.
TEST(Grammar, EveryCommandAnswersHelpAndVersionAndRefusesUnknownOptionsBeforeCreatingAnything)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("nuova/cartella"));
    const Commands commands = allCommands();
    ASSERT_FALSE(commands.empty());
    for (const auto& command : commands) {
        const QString name = command->name();
        const QString usage = QStringLiteral("Uso: parlix-cli ") + name;
        const QString json = command->grammar().json.isEmpty()
                                 ? QStringLiteral("opzione sconosciuta \"--json\"")
                                 : QStringLiteral("--json non vuole un valore");
        struct Row
        {
            QStringList words;
            int status;
            QString out; // a part of standard output
            QString err; // a part of standard error
        } rows[] = {
            {{name, QStringLiteral("--help")}, Done, usage, {}},
            {{QStringLiteral("-h"), name}, Done, usage, {}},
            {{QStringLiteral("help"), name}, Done, usage, {}},
            {{name, QStringLiteral("--version")},
             Done,
             QStringLiteral("parlix-cli " PARLIX_VERSION "\n"),
             {}},
            {{name, QStringLiteral("--bogus")}, Usage, {}, QStringLiteral("opzione sconosciuta \"--bogus\"")},
            {{name, QStringLiteral("-x")}, Usage, {}, QStringLiteral("opzione sconosciuta \"-x\"")},
            {{name, QStringLiteral("--json=sì")}, Usage, {}, json},
        };
        for (const Row& row : rows) {
            for (const bool homeFirst : {true, false}) {
                const QStringList homeWords{QStringLiteral("--home"), home};
                const QStringList line = homeFirst ? homeWords + row.words : row.words + homeWords;
                SCOPED_TRACE(line.join(u' ').toStdString());
                const Outcome outcome = runLine(line);
                EXPECT_EQ(outcome.status, row.status);
                EXPECT_TRUE(outcome.out.contains(row.out)) << outcome.out.toStdString();
                EXPECT_TRUE(outcome.err.contains(row.err)) << outcome.err.toStdString();
                EXPECT_TRUE(row.status != Usage || outcome.err.contains(usage)) << outcome.err.toStdString();
                EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nuova"))));
            }
        }
    }
}

// The same line written in each of the forms the grammar allows gives the same result; each wrong line is
// refused with its reason before the data folder is made.
TEST(Grammar, OptionFormsAndPlacesAndTheLinesRefusedBeforeTheFolderIsMade)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    const QString csv = dir.filePath(QStringLiteral("a.csv"));
    const QString missingBook = QStringLiteral("La rubrica \"X\" non esiste");
    const QString hm = QStringLiteral("--home");
    const QString homeEq = QStringLiteral("--home=") + home;
    const QString books = QStringLiteral("books");
    const QString q = QStringLiteral("-q");
    const QString exportCsv = QStringLiteral("export-csv");
    const QString book = QStringLiteral("--book");
    struct Row
    {
        QStringList words;
        int status;
        QString out;
        QString err;
    } rows[] = {
        {{}, Usage, {}, QStringLiteral("manca il comando")},
        {{hm}, Usage, {}, QStringLiteral("manca il valore di --home (CARTELLA)")},
        {{homeEq, QStringLiteral("nessuno")}, Usage, {}, QStringLiteral("comando sconosciuto \"nessuno\"")},
        {{homeEq, QStringLiteral("help"), QStringLiteral("nessuno")},
         Usage,
         {},
         QStringLiteral("comando sconosciuto")},
        {{homeEq, books, QStringLiteral("x")}, Usage, {}, QStringLiteral("troppi argomenti per books")},
        {{homeEq, exportCsv}, Usage, {}, QStringLiteral("mancano argomenti di export-csv")},
        {{homeEq, book, QStringLiteral("X"), exportCsv, csv}, Usage, {}, QStringLiteral("dopo il suo nome")},
        {{homeEq, exportCsv, csv, book}, Usage, {}, QStringLiteral("manca il valore di --book (NOME)")},
        {{homeEq, QStringLiteral("--quiet=1"), books},
         Usage,
         {},
         QStringLiteral("--quiet non vuole un valore")},
        {{homeEq, QStringLiteral("users"), QStringLiteral("rename"), QStringLiteral("anna")},
         Usage,
         {},
         QStringLiteral("argomenti non validi per users")},
        {{homeEq, QStringLiteral("send"), book, QStringLiteral("P"), QStringLiteral("--text"),
          QStringLiteral("t"), QStringLiteral("--split=x")},
         Usage,
         {},
         QStringLiteral("--split vuole fixed o word")},
        {{homeEq, QStringLiteral("resend"), book, QStringLiteral("P")},
         Usage,
         {},
         QStringLiteral("servono --book")},
        {{homeEq, QStringLiteral("send"), book, QStringLiteral("P"), QStringLiteral("--text=t"),
          QStringLiteral("--at=2020-01-01T09:00")},
         Usage,
         {},
         QStringLiteral("è già passata")},
        {{homeEq, QStringLiteral("migrate")}, Usage, {}, QStringLiteral("argomenti non validi per migrate")},
        // Accepted: the folder is made from here on.
        {{hm, home, books}, Done, QStringLiteral("Principale\n"), {}},
        {{books, hm, home}, Done, QStringLiteral("Principale\n"), {}},
        {{books, homeEq, q}, Done, QStringLiteral("Principale\n"), {}},
        {{q, homeEq, books, QStringLiteral("--json")},
         Done,
         QStringLiteral("{\"books\":[\"Principale\"],\"exit\":0}\n"),
         {}},
        {{homeEq, exportCsv, csv, QStringLiteral("--book=X")}, Failed, {}, missingBook},
        {{homeEq, exportCsv, book, QStringLiteral("X"), csv}, Failed, {}, missingBook},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.words.join(u' ').toStdString());
        const bool madeBefore = QFileInfo::exists(home);
        const Outcome outcome = runLine(row.words);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.contains(row.err)) << outcome.err.toStdString();
        EXPECT_TRUE(row.status != Usage || QFileInfo::exists(home) == madeBefore);
    }
}

// Each reporting command run with --json prints one object whose fields are exactly the documented ones.
TEST(Grammar, TheJsonObjectOfEachCommandHoldsItsDocumentedFields)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    const QString csv = dir.filePath(QStringLiteral("a.csv"));
    {
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Nome;Cognome;Cellulare;Posta elettronica\r\nMario;Rossi;3331234567;m@r.it\r\n");
    }
    const QString vcf = dir.filePath(QStringLiteral("a.vcf"));
    struct Row
    {
        QStringList words;
        const char* field; // one field to check by value
        QJsonValue value;
    } rows[] = {
        {{QStringLiteral("demo")}, "contacts", 7},
        {{QStringLiteral("import-csv"), csv, QStringLiteral("--book=Clienti")}, "imported", 1},
        {{QStringLiteral("export-csv"), csv}, "exported", 4},
        {{QStringLiteral("export-vcard"), vcf}, "exported", 4},
        {{QStringLiteral("import-vcard"), vcf}, "imported", 4},
        {{QStringLiteral("books")},
         "books",
         QJsonArray{QStringLiteral("Principale"), QStringLiteral("Clienti")}},
        {{QStringLiteral("store")}, "answers", true},
        {{QStringLiteral("scheduled")}, "scheduled", QJsonArray{}},
        {{QStringLiteral("stats"), QStringLiteral("--by=week")}, "by", QStringLiteral("week")},
        {{QStringLiteral("users"), QStringLiteral("list")}, "users", QJsonArray{}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.words.join(u' ').toStdString());
        const Outcome outcome =
            runLine(QStringList{QStringLiteral("--home"), home, QStringLiteral("--json")} + row.words);
        EXPECT_EQ(outcome.status, Done) << outcome.err.toStdString();
        ASSERT_TRUE(outcome.out.endsWith(u'\n'));
        ASSERT_EQ(outcome.out.count(u'\n'), 1) << outcome.out.toStdString();
        const QJsonObject object = QJsonDocument::fromJson(outcome.out.toUtf8()).object();
        EXPECT_EQ(keysOf(object), documentedFields(row.words.first())) << outcome.out.toStdString();
        EXPECT_EQ(object.value(QString::fromLatin1(row.field)), row.value);
        EXPECT_EQ(object.value(QStringLiteral("exit")), QJsonValue(Done));
    }
}
