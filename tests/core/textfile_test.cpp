#include "core/numbers.h"
#include "core/startupfiles.h"
#include "core/textfile.h"
#include "tests/support/fulldisk.h"
#include "tests/support/testhome.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(TextFileWriter, FullDiskKeepsTheOldFileRemovesTheTemporaryAndReports)
{
    struct Case
    {
        const char* name;
        textfile::Access access;
    };
    for (const Case c :
         {Case{"residui.txt", textfile::Access::Normal}, Case{"account", textfile::Access::Secret}}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(textfile::writeLines(path, {QStringLiteral("vecchio")}, c.access));
        QString error;
        bool written = true;
        {
            // Nothing is printed while the limit holds: a log file would be cut short too.
            const test::FullDisk full(4);
            written =
                textfile::writeLines(path, {QStringLiteral("nuovo contenuto più lungo")}, c.access, &error);
        }
        EXPECT_FALSE(written) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_EQ(contents(path), QByteArray("vecchio\r\n")) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QString::fromLatin1(c.name)})
            << c.name;
    }
}

TEST(TextFileWriter, KeepsPermissionsAndMakesSecretsPrivate)
{
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("intestazione"));
    QFile::remove(shared);
    ASSERT_TRUE(textfile::writeLines(shared, {QStringLiteral("a")}));
    ::chmod(QFile::encodeName(shared).constData(), 0640);
    ASSERT_TRUE(textfile::writeLines(shared, {QStringLiteral("b")}));
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(shared).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    const QString secret = dir.filePath(QStringLiteral("account"));
    ASSERT_TRUE(textfile::writeLines(secret, {QStringLiteral("login")}, textfile::Access::Secret));
    ASSERT_EQ(::stat(QFile::encodeName(secret).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(contents(secret), QByteArray("login\r\n"));
}

// Start-up must neither hang on a FIFO nor read a device or a huge file into
// memory: such files count as missing.
TEST(TextFileReader, OnlyRegularFilesWithinTheLimitAreRead)
{
    TestHome home;
    const QString fifo = home.path(QStringLiteral("intestazione"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), home.path(QStringLiteral("residui.txt"))));
    ASSERT_TRUE(QDir().mkdir(home.path(QStringLiteral("persorso"))));
    {
        QFile big(home.path(QStringLiteral("progra")));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(textfile::defaultSizeLimit + 1));
    }

    for (const char* name : {"intestazione", "residui.txt", "persorso", "progra"})
        EXPECT_FALSE(textfile::read(home.path(QString::fromLatin1(name)))) << name;
    loadStartupFiles(home.state);
    EXPECT_TRUE(home.state.intestazione.isEmpty());
    EXPECT_EQ(home.state.credito, 0.0);
    EXPECT_TRUE(home.state.codicirivenditore.isEmpty());

    home.writeFile(QStringLiteral("Prefissi.txt"), {QStringLiteral("320")});
    EXPECT_EQ(textfile::readLines(home.path(QStringLiteral("Prefissi.txt"))),
              QStringList{QStringLiteral("320")});
}

// The in-place rewrite of a value's line: the new line comes first whatever
// was there, and only a plain existing file is touched.
TEST(TextFileWriter, RewriteInPlaceOnlyTouchesAnExistingRegularFile)
{
    struct Case
    {
        const char* before; // nullptr: no file
        bool rewritten;
        QByteArray after;
    };
    const Case cases[] = {
        {"1000\r\n", true, "999\r\n"},
        {"9\r\n", true, "999\r\n"},
        {"", true, "999\r\n"},
        {nullptr, false, "<missing>"},
    };
    for (const Case& c : cases) {
        TestHome home;
        const QString path = home.path(QStringLiteral("residui.txt"));
        if (c.before) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.before);
        }
        EXPECT_EQ(textfile::rewriteFirstLine(path, QStringLiteral("999")), c.rewritten) << c.before;
        EXPECT_EQ(contents(path), c.after) << c.before;
        EXPECT_EQ(textfile::readFirstLine(path),
                  c.rewritten ? std::optional(QStringLiteral("999")) : std::nullopt);
    }

    TestHome home;
    const QString fifo = home.path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString target = home.path(QStringLiteral("altro.txt"));
    home.writeFile(QStringLiteral("altro.txt"), {QStringLiteral("100")});
    const QString link = home.path(QStringLiteral("collegamento"));
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(QDir().mkdir(home.path(QStringLiteral("cartella"))));
    for (const QString& path : {fifo, link, home.path(QStringLiteral("cartella"))})
        EXPECT_FALSE(textfile::rewriteFirstLine(path, QStringLiteral("1"))) << qPrintable(path);
    EXPECT_EQ(contents(target), QByteArray("100\r\n"));
}

TEST(Numbers, WhatIsNotAFiniteNumberIsNoValue)
{
    for (const char* text : {"nan", "NaN", "inf", "-inf", "infinity", "1e999", "", "12 5"})
        EXPECT_FALSE(numbers::parse(QString::fromLatin1(text))) << text;
    EXPECT_EQ(numbers::parse(QStringLiteral(" 42 ")), 42.0);
}

} // namespace
