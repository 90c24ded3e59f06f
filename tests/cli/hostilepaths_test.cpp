#include "cli/command.h"
#include "tests/cli/consolerun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace parlix::cli;
using parlix::test::runLine;

namespace {

const QByteArray header = "Nome;Cognome;Cellulare;Posta elettronica\r\n";
const QByteArray csvFile = header + "Mario;Rossi;3331234567;m@r.it\r\nAnna;Bianchi;3471112222; \r\n";

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Hidden names left in a folder: the temporary files of a write.
QStringList hidden(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral(".*")}, QDir::Hidden | QDir::Files | QDir::System);
}

} // namespace

// Every kind of path the imports and exports may be given: a link is written
// through (its target replaced, the link kept) and read through; a FIFO, a
// device and a folder are refused at once with a reason; "-" is standard
// input or output.
TEST(HostilePaths, EachKindOfPathForEachImportAndExport)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    const auto at = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    QDir().mkpath(at("altrove"));
    write(at("altrove/vero.csv"), "vecchio");
    write(at("altrove/vero.vcf"), "vecchio");
    ASSERT_TRUE(QFile::link(at("altrove/vero.csv"), at("link.csv")));
    ASSERT_TRUE(QFile::link(QStringLiteral("altrove/nuovo.csv"), at("sospeso.csv"))); // relative, dangling
    ASSERT_TRUE(QFile::link(at("altrove/vero.vcf"), at("link.vcf")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(at("fifo"), at("link-fifo")));
    QDir().mkpath(at("cartella"));
    const QString fifo = at("fifo"), device = QStringLiteral("/dev/null"), folder = at("cartella");
    write(at("sorgente.csv"), csvFile);
    ASSERT_TRUE(QFile::link(at("sorgente.csv"), at("link-sorgente.csv")));
    ASSERT_EQ(
        runLine({QStringLiteral("--home"), home, QStringLiteral("import-csv"), at("sorgente.csv")}).status,
        Done);
    const QString isFifo = QStringLiteral("è una FIFO"), isDevice = QStringLiteral("è un dispositivo"),
                  isFolder = QStringLiteral("è una cartella");

    const struct
    {
        const char* command;
        QString path;
        QString input;
        int status;
        QString out;
        QString errPart;
    } rows[] = {
        {"export-csv", at("link.csv"), {}, Done, QStringLiteral("2\n"), {}},
        {"export-csv", at("sospeso.csv"), {}, Done, QStringLiteral("2\n"), {}},
        {"export-csv", fifo, {}, Failed, {}, isFifo},
        {"export-csv", at("link-fifo"), {}, Failed, {}, isFifo},
        {"export-csv", device, {}, Failed, {}, isDevice},
        {"export-csv", folder, {}, Failed, {}, isFolder},
        {"export-csv", QStringLiteral("-"), {}, Done, QString::fromUtf8(contents(at("sorgente.csv"))), {}},
        {"import-csv", at("link-sorgente.csv"), {}, Done, QStringLiteral("2\n"), {}},
        {"import-csv", fifo, {}, Failed, {}, isFifo},
        {"import-csv", at("link-fifo"), {}, Failed, {}, isFifo},
        {"import-csv", folder, {}, Failed, {}, isFolder},
        {"import-csv", QStringLiteral("-"), QString::fromUtf8(csvFile), Done, QStringLiteral("2\n"), {}},
        {"export-vcard", at("link.vcf"), {}, Done, QStringLiteral("6\n"), {}},
        {"export-vcard", fifo, {}, Failed, {}, isFifo},
        {"import-vcard", at("link.vcf"), {}, Done, QStringLiteral("6\n"), {}},
        {"import-vcard", fifo, {}, Failed, {}, isFifo},
        {"import-vcard", folder, {}, Failed, {}, isFolder},
    };
    for (const auto& row : rows) {
        const QString command = QString::fromUtf8(row.command);
        SCOPED_TRACE((command + u' ' + row.path).toStdString());
        const auto outcome = runLine({QStringLiteral("--home"), home, command, row.path}, row.input);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.contains(row.errPart)) << outcome.err.toStdString();
    }
    // The links stay links and their targets hold what was written.
    for (const char* link : {"link.csv", "sospeso.csv", "link.vcf", "link-fifo"})
        EXPECT_TRUE(QFileInfo(at(link)).isSymLink()) << link;
    EXPECT_TRUE(contents(at("altrove/vero.csv")).startsWith(header));
    EXPECT_EQ(contents(at("altrove/nuovo.csv")), contents(at("altrove/vero.csv")));
    EXPECT_TRUE(contents(at("altrove/vero.vcf")).startsWith("BEGIN:VCARD\r\n"));
    struct stat info = {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(hidden(dir.path()) + hidden(at("altrove")), QStringList());
}

// A file-size limit (ulimit -f) is a full disk to the console: it says so,
// leaves the old file as it was and no temporary file beside it.
TEST(HostilePaths, AFileSizeLimitIsReportedAndLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("dati"));
    QByteArray many = header;
    for (int i = 0; i < 200; ++i)
        many += "Nome" + QByteArray::number(i) + ";Cognome;33312345" + QByteArray::number(i % 100) + ";\r\n";
    write(dir.filePath(QStringLiteral("molti.csv")), many);
    ASSERT_EQ(runLine({QStringLiteral("--home"), home, QStringLiteral("import-csv"),
                       dir.filePath(QStringLiteral("molti.csv"))})
                  .status,
              Done);
    const QString out = dir.filePath(QStringLiteral("uscita.csv"));
    write(out, "vecchio");

    QProcess cli;
    // ulimit -f counts blocks of 512 bytes in sh: the export needs several.
    cli.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("ulimit -f 4; exec \"$0\" \"$@\""),
                                     QStringLiteral(PARLIX_CLI), QStringLiteral("--home"), home,
                                     QStringLiteral("export-csv"), out});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), int(Failed));
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("disco pieno")));
    EXPECT_EQ(contents(out), QByteArray("vecchio"));
    EXPECT_EQ(hidden(dir.path()), QStringList());
}
