#include "app/creditrefresh.h"
#include "app/disclaimer.h"
#include "app/treerouting.h"
#include "app/vendorpages.h"
#include "app/windowrules.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "tests/support/testhome.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(TreeRouting, FourCaseSensitiveTestsLastMatchWins)
{
    struct Case
    {
        const char* key;
        const char* text;
        int image;
        const char* title;
    };
    for (const Case& c : {
             Case{"a1", "Rubriche", 1, "Rubrica"},
             Case{"a2", "SMS Salvati", 3, "SMS Salvati"},
             Case{"a3", "SMS Inviati", 4, "SMS Inviati"},
             Case{"a4", "SMS Cancellati", 5, "SMS Cancellati"},
             Case{"r1", "Principale", 1, "Rubrica"},
             Case{"s1", "Principale", 3, "SMS Salvati"},
             // A book beginning with R under "SMS Inviati": both tests match, sent wins.
             Case{"i2", "Rossi", 4, "SMS Inviati"},
             // Fifth character "C": the deleted test matches under every group.
             Case{"r2", "AmicCasa", 5, "SMS Cancellati"},
             Case{"i2", "AmicCasa", 5, "SMS Cancellati"},
             // Case-sensitive: lower-case letters match nothing.
             Case{"r3", "amicc", 1, "Rubrica"},
             Case{"c3", "rossi", 5, "SMS Cancellati"},
             // A book whose fifth letter is "S" shown as contacts says saved messages.
             Case{"r4", "CasaSud", 3, "SMS Salvati"},
         }) {
        const auto caption = archiveCaption(QString::fromLatin1(c.key), QString::fromLatin1(c.text));
        ASSERT_TRUE(caption) << c.key << " " << c.text;
        EXPECT_EQ(*caption, (ArchiveCaption{c.image, QString::fromLatin1(c.title)}))
            << c.key << " " << c.text;
    }
    EXPECT_FALSE(archiveCaption(QStringLiteral("x1"), QStringLiteral("casa")));
}

TEST(TreeRouting, OnlyBookNodesAreValidArchives)
{
    for (const char* key : {"r1", "s12", "i3", "c4"})
        EXPECT_TRUE(isBookNode(QString::fromLatin1(key))) << key;
    for (const char* key : {"a1", "a2", "a3", "a4", ""})
        EXPECT_FALSE(isBookNode(QString::fromLatin1(key))) << key;
}

TEST(WindowRules, WidthIsKeptBetweenTheLimits)
{
    struct Case
    {
        bool maximized;
        bool minimized;
        int width;
        WindowSizeFix fix;
    };
    for (const Case& c :
         {Case{false, false, 6999, {false, 7000}}, Case{false, false, 7000, {}},
          Case{false, false, 18200, {}}, Case{false, false, 18201, {false, 18200}},
          Case{true, false, 30000, {true, 18200}}, Case{true, false, 5000, {}}, Case{false, true, 100, {}}}) {
        EXPECT_EQ(windowSizeFix(c.maximized, c.minimized, c.width), c.fix) << c.width;
    }
}

TEST(WindowRules, ListFillsTheRoomBesideTheTreePanel)
{
    EXPECT_EQ(listGeometry(15000, 2500, 15000, 9000, false), (ListGeometry{12350, 7000, 50, 0}));
    EXPECT_EQ(listGeometry(15000, 2500, 301, 2201, false), (ListGeometry{std::nullopt, std::nullopt, 50, 0}));
    EXPECT_FALSE(listGeometry(0, 2500, 15000, 9000, false));
    EXPECT_FALSE(listGeometry(15000, 2500, 15000, 9000, true));
}

TEST(VendorPages, AddressesCarryTheResellerCodes)
{
    const QString site = QStringLiteral("https://vendor.example/");
    const QStringList codes{QStringLiteral("AB12"), QStringLiteral("77")};
    EXPECT_EQ(vendorPageUrl(VendorPage::Purchase, site, codes).toString(),
              QStringLiteral("https://vendor.example/cgi-bin/affiliate/giacli.pl?affiliato=AB12&codeaff=77"));
    EXPECT_EQ(
        vendorPageUrl(VendorPage::ResellerProgramme, site, codes).toString(),
        QStringLiteral("https://vendor.example/cgi-bin/affiliate/programma.pl?affiliato=AB12&codeaff=77"));
    EXPECT_EQ(vendorPageUrl(VendorPage::Partners, site, codes).toString(),
              QStringLiteral("https://vendor.example/affiliate1/affiliati.htm"));
    // A line without "-" gives one code; the second counts as empty.
    EXPECT_EQ(vendorPageUrl(VendorPage::Purchase, site, {QStringLiteral("AB12")}).toString(),
              QStringLiteral("https://vendor.example/cgi-bin/affiliate/giacli.pl?affiliato=AB12&codeaff="));
    // A code cannot smuggle in parameters of its own.
    EXPECT_EQ(
        vendorPageUrl(VendorPage::Purchase, site, {QStringLiteral("a&b=c"), QStringLiteral("1")}).query(),
        QStringLiteral("affiliato=a%26b%3Dc&codeaff=1"));
}

TEST(CreditRefresh, OnlyANumberReplacesTheStoredCredit)
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    TestHome home;
    home.writeFile(QStringLiteral("residui.txt"), {QStringLiteral("40")});
    home.state.credito = 40;
    const QString file = home.path(QStringLiteral("residui.txt"));

    for (const char* answer : {"", "errore"}) {
        EXPECT_EQ(storeCreditAnswer(home.state, QString::fromLatin1(answer)), CreditOutcome::NoAnswer)
            << answer;
        EXPECT_EQ(bytes(file), QByteArray("40\r\n"));
        EXPECT_EQ(home.state.credito, 40);
    }
    EXPECT_EQ(storeCreditAnswer(home.state, QStringLiteral("12,5")), CreditOutcome::Updated);
    EXPECT_EQ(home.state.credito, 12.5);
    EXPECT_EQ(bytes(file), QByteArray("12,5\r\n"));
    QLocale::setDefault(QLocale::c());
}

TEST(Disclaimer, ShownOnlyWhenTheSwitchIsExactlyOne)
{
    for (const auto& [line, shown] :
         {std::pair{"1", true}, std::pair{"1 ", false}, std::pair{"0", false}, std::pair{"", false}}) {
        TestHome home;
        home.writeFile(QStringLiteral("mostra.txt"), {QString::fromLatin1(line)});
        EXPECT_EQ(disclaimer::shouldShow(home.state.folder), shown) << '"' << line << '"';
    }
    TestHome home;
    QFile::remove(home.path(QStringLiteral("mostra.txt")));
    EXPECT_FALSE(disclaimer::shouldShow(home.state.folder));
}

TEST(Disclaimer, TextBeginsWithAnEmptyLineAndAcceptingSwitchesItOff)
{
    TestHome home;
    home.writeFile(QStringLiteral("disclaimer.txt"),
                   {QStringLiteral("Prima riga"), QStringLiteral("Seconda riga")});
    EXPECT_EQ(disclaimer::text(home.state.folder), QStringLiteral("\nPrima riga\nSeconda riga"));
    EXPECT_TRUE(disclaimer::accept(home.state.folder));
    EXPECT_EQ(bytes(home.path(QStringLiteral("mostra.txt"))), QByteArray("0\r\n"));
    EXPECT_FALSE(disclaimer::shouldShow(home.state.folder));

    QFile::remove(home.path(QStringLiteral("disclaimer.txt")));
    EXPECT_EQ(disclaimer::text(home.state.folder), QString());
}

} // namespace
