#include "core/archivetree.h"
#include "core/numbers.h"
#include "core/startupfiles.h"
#include "core/textfile.h"
#include "store/recordset.h"
#include "tests/support/testhome.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

// Restores the default locale when a test changes it.
struct LocaleGuard
{
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(saved); }
    QLocale saved = QLocale();
};

TEST(StartupFiles, ReadsFirstLinesWithBlanksKept)
{
    TestHome home;
    home.writeFile(QStringLiteral("persorso"),
                   {QStringLiteral(" /srv/ericsoft "), QStringLiteral("ignored")});
    home.writeFile(QStringLiteral("Intestazione"), {QStringLiteral("Studio Rossi")});
    home.writeFile(QStringLiteral("progra"), {QStringLiteral("AB12-CD34")});
    loadStartupFiles(home.state);
    EXPECT_EQ(home.state.percorsoericsoft, QStringLiteral(" /srv/ericsoft "));
    EXPECT_EQ(home.state.intestazione, QStringLiteral("Studio Rossi"));
    EXPECT_EQ(home.state.codicirivenditore, QStringList({QStringLiteral("AB12"), QStringLiteral("CD34")}));

    home.writeFile(QStringLiteral("progra"), {QStringLiteral("SOLO")});
    loadStartupFiles(home.state);
    EXPECT_EQ(home.state.codicirivenditore, QStringList{QStringLiteral("SOLO")});
}

TEST(StartupFiles, MissingFilesLeaveValuesEmpty)
{
    TestHome home;
    loadStartupFiles(home.state);
    EXPECT_TRUE(home.state.percorsoericsoft.isEmpty());
    EXPECT_TRUE(home.state.intestazione.isEmpty());
    EXPECT_TRUE(home.state.codicirivenditore.isEmpty());
    EXPECT_EQ(home.state.credito, 0.0);
}

TEST(StartupFiles, CreditFollowsTheLocale)
{
    const LocaleGuard italian(QLocale(QLocale::Italian, QLocale::Italy));
    struct Case
    {
        const char* line;
        double credit;
        const char* shown;
    };
    const Case cases[] = {{"12,5", 12.5, "12,5"},         {"12.5", 12.5, "12,5"}, {"150", 150, "150"},
                          {"100000", 100000, "100000"},   {"", 0, "0"},           {"molto", 0, "0"},
                          {"1234,25", 1234.25, "1234,25"}};
    for (const Case& c : cases) {
        TestHome home;
        home.writeFile(QStringLiteral("residui.txt"), {QString::fromUtf8(c.line)});
        loadStartupFiles(home.state);
        EXPECT_EQ(home.state.credito, c.credit) << c.line;
        EXPECT_EQ(numbers::format(home.state.credito), QString::fromUtf8(c.shown)) << c.line;
    }
}

TEST(StartupFiles, PanelSettingsWithTheirFallBack)
{
    struct Case
    {
        std::optional<const char*> file;
        int alignment;
        int width; // after the panel rules
    };
    const Case cases[] = {
        {"0,2200", 0, 2300},    {"1,2400", 1, 2500},  {std::nullopt, 1, 2500}, {"1,32700", 1, 2500},
        {"1\r\n3000", 1, 3100}, {"1, 1000", 0, 1850}, {"1,abc", 1, 2500},      {"7", 1, 2500},
        {"1,2199", 0, 2299},    {"5 2900", 1, 2500},  {"-1 2900", 1, 2500},    {"0 2900", 0, 3000},
    };
    for (const Case& c : cases) {
        TestHome home;
        if (c.file)
            home.writeFile(QStringLiteral("tbta"), {QString::fromUtf8(*c.file)});
        const PanelSettings s = applyPanelRules(readPanelSettings(home.state.folder));
        EXPECT_EQ(s.textAlignment, c.alignment) << c.file.value_or("(none)");
        EXPECT_EQ(s.panelWidthTwips, c.width) << c.file.value_or("(none)");
    }
}

TEST(TextFiles, ReadsWindowsFilesAndWritesCrLf)
{
    TestHome home;
    const QString path = home.path(QStringLiteral("intestazione"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Caff\xE8 Bar\r\nseconda");
    }
    EXPECT_EQ(textfile::readFirstLine(path), QStringLiteral("Caffè Bar"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("uno\ndue\n\ntre");
    }
    EXPECT_EQ(textfile::readLines(path),
              QStringList({QStringLiteral("uno"), QStringLiteral("due"), QString(), QStringLiteral("tre")}));

    ASSERT_TRUE(textfile::writeLines(path, {QStringLiteral("€ uno"), QStringLiteral("due")}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xE2\x82\xAC uno\r\ndue\r\n"));
    EXPECT_FALSE(textfile::readFirstLine(home.path(QStringLiteral("manca"))).has_value());
}

TEST(ArchiveTree, ThreeBooksGiveSixteenNodesInGroupOrder)
{
    TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Casa"), QStringLiteral("Lavoro")});
    const auto nodes = archiveNodes(readBookNames(home.state));
    ASSERT_EQ(nodes.size(), 16u);
    QStringList keys;
    for (const ArchiveNode& n : nodes)
        keys << n.key;
    EXPECT_EQ(keys.join(u' '), QStringLiteral("a1 r1 r2 r3 a2 s1 s2 s3 a3 i1 i2 i3 a4 c1 c2 c3"));
    EXPECT_EQ(nodes[4].text, QStringLiteral("SMS Salvati"));
    EXPECT_EQ(nodes[13].key, QStringLiteral("c1"));
    EXPECT_EQ(nodes[13].text, QStringLiteral("Principale"));
    EXPECT_EQ(nodes[13].parentIndex, 13);
    EXPECT_EQ(nodes[13].image, 5);
    EXPECT_EQ(nodes[2].parentIndex, 1);
    EXPECT_EQ(nodes[7].parentIndex, 5);
    EXPECT_EQ(nodes[10].parentIndex, 9);
}

TEST(ArchiveTree, EmptyOrUnreadableBookListGivesTheFourGroups)
{
    TestHome home;
    home.setBooks({});
    EXPECT_EQ(archiveNodes(readBookNames(home.state)).size(), 4u);

    QFile::remove(home.state.folder.bookList());
    {
        QFile file(home.state.folder.bookList());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a database at all, just text that fills the header of a file");
    }
    const auto nodes = archiveNodes(readBookNames(home.state));
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[3].key, QStringLiteral("a4"));
    EXPECT_EQ(nodes[3].text, QStringLiteral("SMS Cancellati"));

    QFile::remove(home.state.folder.bookList());
    EXPECT_EQ(archiveNodes(readBookNames(home.state)).size(), 4u);
}

} // namespace
