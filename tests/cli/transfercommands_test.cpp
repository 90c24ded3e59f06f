#include "cli/commandline.h"
#include "core/datafolder.h"
#include "core/textfile.h"
#include "store/database.h"
#include "store/statement.h"
#include "tests/cli/consolerun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;
using namespace parlix::cli;

namespace {

using parlix::test::Outcome;
using parlix::test::runLine;

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int contactCount(const QString& bookPath)
{
    auto db = Database::open(bookPath);
    Statement count(*db, "SELECT count(*) FROM rubrica");
    count.step();
    return int(count.integer(0));
}

QString ericsoftData(const char* folder)
{
    return QStringLiteral(PARLIX_TEST_DATA_DIR "/ericsoft/") + QString::fromUtf8(folder);
}

} // namespace

TEST(TransferCommands, EachCommandAndEachExitStatus)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    const QString good = dir.filePath(QStringLiteral("buono.csv"));
    writeAll(good, "Nome;Cognome;Cellulare;Posta elettronica\r\nMario;Rossi;3331234567;m@r.it\r\n"
                   "Anna;Bianchi;3471112222; \r\n");
    const QString cut = dir.filePath(QStringLiteral("tronco.csv"));
    writeAll(cut, "Nome;Cognome;Cellulare;Posta elettronica\r\na;b;c;d\r\nsolo\r\ne;f;g;h\r\n");
    const QString longLine = dir.filePath(QStringLiteral("lunga.csv"));
    writeAll(longLine, "Nome;Cognome;Cellulare;Posta elettronica\r\n" + QByteArray(2 << 20, 'x') + "\r\n");
    const QString exported = dir.filePath(QStringLiteral("uscita.csv"));
    const QString emptyFolder = dir.filePath(QStringLiteral("vuota"));
    QDir().mkpath(emptyFolder);
    const QString h = QStringLiteral("--home");
    auto words = [](const char* text) { return QString::fromUtf8(text).split(u' '); };

    const struct
    {
        QStringList arguments;
        int status;
        QString out;
        QString errPart;
    } rows[] = {
        {QStringList{h, home, QStringLiteral("import-csv"), good}, Done, QStringLiteral("2\n"), {}},
        {QStringList{h, home, QStringLiteral("import-csv"), cut, QStringLiteral("--book"),
                     QStringLiteral("Principale")},
         Stopped, QStringLiteral("1\n"),
         QStringLiteral("Importazione interrotta alla riga 3: \"solo\"\nContatti importati: 1")},
        {QStringList{h, home, QStringLiteral("import-csv"), good, QStringLiteral("--book"),
                     QStringLiteral("Nuova")},
         Failed,
         {},
         QStringLiteral("La rubrica \"Nuova\" non esiste")},
        {QStringList{h, home, QStringLiteral("import-csv"), dir.filePath(QStringLiteral("manca.csv"))},
         Failed,
         {},
         QStringLiteral("Impossibile leggere il file")},
        {QStringList{h, home, QStringLiteral("import-csv"), longLine},
         Failed,
         {},
         QStringLiteral("la riga 2 è più lunga di 1 MB, troppo per un elenco di contatti; nessun contatto "
                        "importato")},
        {QStringList{h, home} + words("import-csv"), Usage, {}, QStringLiteral("Uso: parlix-cli import-csv")},
        {QStringList{h, home} + words("import-csv a.csv --book"), Usage, {}, QStringLiteral("Uso:")},
        {QStringList{h, home, QStringLiteral("export-csv"), exported}, Done, QStringLiteral("3\n"), {}},
        {QStringList{h, home, QStringLiteral("export-csv"), exported, QStringLiteral("--book"),
                     QStringLiteral("X")},
         Failed,
         {},
         QStringLiteral("La rubrica \"X\" non esiste")},
        {QStringList{h, home, QStringLiteral("export-csv"), dir.filePath(QStringLiteral("no/such/dir.csv"))},
         Failed,
         {},
         QStringLiteral("Impossibile scrivere il file")},
        {QStringList{h, home} + words("export-csv a.csv b.csv"), Usage, {}, QStringLiteral("Uso:")},
        {QStringList{h, home} + words("import-ericsoft"),
         Failed,
         {},
         QStringLiteral("Impostare il percorso per gli archivi Ericsoft quindi ripetere il comando")},
        {QStringList{h, home, QStringLiteral("import-ericsoft"), emptyFolder},
         Failed,
         {},
         QStringLiteral("Database non trovato")},
        {QStringList{h, home, QStringLiteral("import-ericsoft"), dir.filePath(QStringLiteral("assente"))},
         Failed,
         {},
         QStringLiteral("Controllare che il software Ericsoft non sia in esecuzione\nSe l'errore persiste")},
        {QStringList{h, home, QStringLiteral("import-ericsoft"), ericsoftData("vfp")}, Done,
         QStringLiteral("3\n"), QStringLiteral("Importazione Completata")},
        {QStringList{h, home} + words("import-ericsoft a b"), Usage, {}, QStringLiteral("Uso:")},
        // Codes that can name no book: the customers are listed, the import is not complete.
        {QStringList{h, home, QStringLiteral("import-ericsoft"), ericsoftData("badcodes")}, Stopped,
         QStringLiteral("1\n"),
         QStringLiteral(
             "Importazione incompleta: contatti importati 1; clienti non importati 3, perché il loro "
             "codice di mercato non può essere il nome di una rubrica:\nUno Ugo (mercato \"../x\")\n"
             "Due (mercato \"a/b\")\nTre (mercato \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx… (250 "
             "caratteri)\")\n")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.mid(2).join(u' ').toStdString());
        const Outcome outcome = runLine(row.arguments);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
        EXPECT_TRUE(!row.arguments.contains(QStringLiteral("import-ericsoft")) ||
                    outcome.err.contains(QStringLiteral("Completata")) == (row.status == Done));
    }

    const DataFolder folder(home);
    EXPECT_EQ(readAll(exported), QByteArray("Nome;Cognome;Cellulare;Posta elettronica\r\n"
                                            "Mario;Rossi;3331234567;m@r.it\r\nAnna;Bianchi;3471112222; \r\n"
                                            "a;b;c;d\r\n"));
    EXPECT_FALSE(QFile::exists(folder.booksDir() + QStringLiteral("/Nuova")));
    // The register's "347 111 2222" came in with the first file already.
    EXPECT_EQ(contactCount(folder.bookPath(QStringLiteral("Principale"))), 3);
    EXPECT_EQ(contactCount(folder.bookPath(QStringLiteral("Mercato-3"))), 2);
    EXPECT_EQ(runLine({h, home, QStringLiteral("books")}).out,
              QStringLiteral("Principale\nMercato-7\nMercato-\nMercato-12\nMercato-3\nMercato-5\n"));
}

TEST(TransferCommands, EricsoftImportUsesTheSavedFolder)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    QDir().mkpath(home);
    ASSERT_TRUE(textfile::writeLines(home + QStringLiteral("/persorso"), {ericsoftData("dbase3")}));
    const Outcome outcome = runLine({QStringLiteral("--home"), home, QStringLiteral("import-ericsoft")});
    EXPECT_EQ(outcome.status, Done);
    EXPECT_EQ(outcome.out, QStringLiteral("2\n"));
}

TEST(TransferCommands, TheConsoleProgramWritesCountsAndMessagesToTheirStreams)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("c.csv"));
    writeAll(file, "Nome;Cognome;Cellulare;Posta elettronica\na;b;c;d\n\n");
    QProcess cli;
    cli.setProgram(QStringLiteral(PARLIX_CLI));
    cli.setArguments(
        {QStringLiteral("--home"), dir.filePath(QStringLiteral("dati")), QStringLiteral("import-csv"), file});
    cli.start();
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), int(Stopped));
    EXPECT_EQ(cli.readAllStandardOutput(), QByteArray("1\n"));
    EXPECT_TRUE(
        QString::fromUtf8(cli.readAllStandardError())
            .startsWith(QStringLiteral("Importazione interrotta alla riga 3: \"\"\nContatti importati: 1\n"
                                       "Riga non importata: la 3.\nPer riprendere")));
}

TEST(DemoCommand, FillsANewFolderOnceAndNeverOneInUse)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    const auto rows = [&](const char* book, const char* table) {
        auto db = Database::open(DataFolder(home).bookPath(QString::fromUtf8(book)));
        Statement count(*db, QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromUtf8(table)));
        count.step();
        return QString::number(count.integer(0));
    };
    const auto demo = [&] { return runLine({QStringLiteral("--home"), home, QStringLiteral("demo")}); };
    EXPECT_EQ(demo().out, QStringLiteral("7\n"));
    EXPECT_EQ(demo().status, 2); // the second time the folder is in use
    EXPECT_EQ(runLine({QStringLiteral("--home"), home, QStringLiteral("books")}).out,
              QStringLiteral("Principale\nClienti\n"));
    EXPECT_EQ(rows("Principale", "rubrica") + rows("Clienti", "rubrica") + rows("Principale", "salvati"),
              QStringLiteral("431"));
}

TEST(TransferCommands, VcardCommandsOnFilesAndTheStandardStreams)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    const auto sample = [](const char* name) {
        return QStringLiteral(PARLIX_TEST_DATA_DIR "/vcard/") + QString::fromUtf8(name);
    };
    const QString exported = dir.filePath(QStringLiteral("uscita.vcf"));
    const QString h = QStringLiteral("--home");
    const QString in = QStringLiteral("import-vcard");
    const QString out = QStringLiteral("export-vcard");
    const struct
    {
        QStringList arguments;
        QString input;
        int status;
        QString out;
        QString errPart;
    } rows[] = {
        {{h, home, in, sample("phone21.vcf")}, {}, Done, QStringLiteral("2\n"), {}},
        {{h, home, in, sample("broken.vcf")},
         {},
         Stopped,
         QStringLiteral("1\n"),
         QStringLiteral("Contatti importati: 1\nSchede senza numero di telefono, non importate: 2 (Senza "
                        "Numero, Centralino)\nSchede incomplete o non leggibili, non importate: 2\n")},
        {{h, home, in, QStringLiteral("-")},
         QString::fromUtf8(readAll(sample("webmail30.vcf"))),
         Done,
         QStringLiteral("2\n"),
         {}},
        {{h, home, in, sample("notvcard.vcf")}, {}, Failed, {}, QStringLiteral("non contiene schede vCard")},
        {{h, home, in, sample("phone21.vcf"), QStringLiteral("--book"), QStringLiteral("Nuova")},
         {},
         Failed,
         {},
         QStringLiteral("La rubrica \"Nuova\" non esiste")},
        {{h, home, in, dir.filePath(QStringLiteral("manca.vcf"))},
         {},
         Failed,
         {},
         QStringLiteral("Impossibile leggere il file")},
        {{h, home, in}, {}, Usage, {}, QStringLiteral("Uso: parlix-cli import-vcard FILE|- [--book NOME]")},
        {{h, home, out, exported}, {}, Done, QStringLiteral("5\n"), {}},
        {{h, home, out, exported, QStringLiteral("--book"), QStringLiteral("X")},
         {},
         Failed,
         {},
         QStringLiteral("La rubrica \"X\" non esiste")},
        {{h, home, out, dir.filePath(QStringLiteral("no/such/dir.vcf"))},
         {},
         Failed,
         {},
         QStringLiteral("Impossibile scrivere il file")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.mid(2).join(u' ').toStdString());
        const Outcome outcome = runLine(row.arguments, row.input);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
    }
    EXPECT_TRUE(readAll(exported).startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Perrè;Niccolò;;;\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files),
              QStringList{QStringLiteral("uscita.vcf")});

    // Through the real program: the cards of standard output read back from standard input.
    QProcess exporter;
    exporter.start(QStringLiteral(PARLIX_CLI), {h, home, out, QStringLiteral("-")});
    ASSERT_TRUE(exporter.waitForFinished(30000));
    const QByteArray cards = exporter.readAllStandardOutput();
    EXPECT_EQ(cards, readAll(exported));
    EXPECT_EQ(exporter.readAllStandardError(), QByteArray("Contatti esportati: 5\n"));
    QProcess importer;
    importer.start(QStringLiteral(PARLIX_CLI), {h, home, in, QStringLiteral("-")});
    importer.write(cards);
    importer.closeWriteChannel();
    ASSERT_TRUE(importer.waitForFinished(30000));
    EXPECT_EQ(importer.exitCode(), int(Done));
    EXPECT_EQ(importer.readAllStandardOutput(), QByteArray("5\n"));
    EXPECT_EQ(contactCount(DataFolder(home).bookPath(QStringLiteral("Principale"))), 10);
}

TEST(TransferCommands, AVcardImportWithoutItsParserModuleSaysSoAndImportsNothing)
{
    // A copy of the program outside the build tree looks for the installed module.
    if (QFile::exists(QStringLiteral(PARLIX_INSTALLED_VCARD_PARSER)))
        GTEST_SKIP() << "the vCard parser module is installed on this system";
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("parlix-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PARLIX_CLI), program));
    const QString home = dir.filePath(QStringLiteral("dati"));
    const QString file = QStringLiteral(PARLIX_TEST_DATA_DIR "/vcard/phone21.vcf");
    QProcess cli;
    cli.start(program, {QStringLiteral("--home"), home, QStringLiteral("import-vcard"), file});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), int(Failed));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    EXPECT_TRUE(err.startsWith(QStringLiteral("Impossibile leggere il file %1: manca il modulo %2 (")
                                   .arg(file, QStringLiteral(PARLIX_INSTALLED_VCARD_PARSER))))
        << err.toStdString();
    EXPECT_EQ(contactCount(DataFolder(home).bookPath(QStringLiteral("Principale"))), 0);
}
