#include "core/datafolder.h"
#include "core/installer.h"
#include "core/textfile.h"
#include "store/database.h"
#include "store/recordset.h"
#include "tests/support/fulldisk.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace parlix;

namespace {

QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files[QDir(root).relativeFilePath(path)] = file.readAll();
    }
    return files;
}

TEST(Installer, CreatesEveryFileThenChangesNothing)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.filePath(QStringLiteral("nuova/parlix")));
    EXPECT_TRUE(Installer(folder).run().isEmpty());

    const auto first = snapshot(folder.root());
    EXPECT_EQ(QStringList(first.keys()),
              QStringList({QStringLiteral("Prefissi.txt"), QStringLiteral("disclaimer.txt"),
                           QStringLiteral("elenco.mdb"), QStringLiteral("mostra.txt"),
                           QStringLiteral("parlix.html"), QStringLiteral("rubrica_base.mdb"),
                           QStringLiteral("rubriche/Principale")}));
    EXPECT_EQ(first[QStringLiteral("mostra.txt")], QByteArray("1\r\n"));
    EXPECT_TRUE(first[QStringLiteral("Prefissi.txt")].startsWith("320\r\n"));

    Recordset books(Database::open(folder.bookList()), queries::wholeTable(QStringLiteral("elenco")));
    ASSERT_EQ(books.recordCount(), 1);
    EXPECT_EQ(books.field(u"Rubrica"), QStringLiteral("Principale"));
    for (const char* table : {"rubrica", "salvati", "inviati", "cancellati"}) {
        EXPECT_EQ(
            Recordset(Database::open(folder.bookTemplate()), queries::wholeTable(QString::fromLatin1(table)))
                .recordCount(),
            0);
        EXPECT_EQ(Recordset(Database::open(folder.bookPath(QStringLiteral("Principale"))),
                            queries::wholeTable(QString::fromLatin1(table)))
                      .recordCount(),
                  0);
    }

    EXPECT_TRUE(Installer(folder).run().isEmpty());
    EXPECT_EQ(snapshot(folder.root()), first);
}

TEST(Installer, KeepsFilesThatExistUnderAnotherCase)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    ASSERT_TRUE(textfile::writeLines(dir.filePath(QStringLiteral("PREFISSI.TXT")), {QStringLiteral("347")}));
    ASSERT_TRUE(textfile::writeLines(dir.filePath(QStringLiteral("Mostra.txt")), {QStringLiteral("0")}));
    EXPECT_TRUE(Installer(folder).run().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("Prefissi.txt"))));
    EXPECT_EQ(textfile::readLines(folder.path(QStringLiteral("prefissi.txt"))),
              QStringList{QStringLiteral("347")});
    EXPECT_EQ(textfile::readFirstLine(folder.path(QStringLiteral("mostra.txt"))), QStringLiteral("0"));
}

TEST(DataFolder, FindsNamesWithoutRegardToCase)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Rubriche"));
    QFile(dir.filePath(QStringLiteral("Rubriche/Casa"))).open(QIODevice::WriteOnly);
    const DataFolder folder(dir.path());
    EXPECT_EQ(folder.bookPath(QStringLiteral("casa")), dir.filePath(QStringLiteral("Rubriche/Casa")));
    EXPECT_EQ(folder.bookPath(QStringLiteral("Nuova")), dir.filePath(QStringLiteral("Rubriche/Nuova")));
    EXPECT_EQ(folder.path(QStringLiteral("manca.txt")), dir.filePath(QStringLiteral("manca.txt")));

    EXPECT_EQ(DataFolder::defaultRoot({QStringLiteral("parlix"), QStringLiteral("--home"), dir.path()}),
              dir.path());
    qputenv("PARLIX_HOME", dir.filePath(QStringLiteral("env")).toUtf8());
    EXPECT_EQ(DataFolder::defaultRoot({QStringLiteral("parlix")}), dir.filePath(QStringLiteral("env")));
    qunsetenv("PARLIX_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("xdg")).toUtf8());
    EXPECT_EQ(DataFolder::defaultRoot({QStringLiteral("parlix")}),
              dir.filePath(QStringLiteral("xdg/parlix")));
}

} // namespace

namespace {

TEST(Installer, FullDiskLeavesNoPartialFileAndLaterRunRepairs)
{
    QTemporaryDir dir;
    const DataFolder folder(dir.filePath(QStringLiteral("parlix")));
    QStringList failed;
    {
        const test::FullDisk full(0);
        failed = Installer(folder).run();
    }
    EXPECT_FALSE(failed.isEmpty());
    // Nothing half-written may stand in for a file: the next run would keep it.
    for (const auto& [name, bytes] : snapshot(folder.root()).asKeyValueRange())
        ADD_FAILURE() << qPrintable(name) << " left behind with " << bytes.size() << " bytes";

    EXPECT_TRUE(Installer(folder).run().isEmpty());
    QTemporaryDir fresh;
    const DataFolder reference(fresh.filePath(QStringLiteral("parlix")));
    Installer(reference).run();
    const auto repaired = snapshot(folder.root());
    const auto expected = snapshot(reference.root());
    EXPECT_EQ(QStringList(repaired.keys()), QStringList(expected.keys()));
    for (const QString& name : {QStringLiteral("Prefissi.txt"), QStringLiteral("mostra.txt"),
                                QStringLiteral("disclaimer.txt"), QStringLiteral("parlix.html")})
        EXPECT_EQ(repaired[name], expected[name]) << qPrintable(name);
}

} // namespace
