#include "batchsupport.h"
#include "core/datafolder.h"
#include "messaging/accountdialog.h"
#include "sending/creditquery.h"
#include "tests/support/fulldisk.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::SandboxHome;
using parlix::test::TestHome;

namespace {

TEST(AccountDialog, ShowsTheStoredAccountAndSavesWhatIsTyped)
{
    TestHome home;
    ASSERT_TRUE((Account{QStringLiteral("studio"), QStringLiteral("segreta"), 3}).save(home.state.folder));
    AccountDialog dialog(home.context());
    dialog.show();
    auto* login = dialog.findChild<QLineEdit*>(QStringLiteral("login"));
    auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("password"));
    auto* quality = dialog.findChild<QComboBox*>(QStringLiteral("quality"));
    ASSERT_TRUE(login && password && quality);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dati Account"));
    EXPECT_EQ(dialog.account(), (Account{QStringLiteral("studio"), QStringLiteral("segreta"), 3}));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    login->setText(QStringLiteral("  nuovo  "));
    password->setText(QStringLiteral(" con spazi "));
    quality->setCurrentIndex(0);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Account::load(home.state.folder),
              (Account{QStringLiteral("nuovo"), QStringLiteral(" con spazi "), 1}));
}

TEST(AccountDialog, CancelLeavesTheFileAlone)
{
    TestHome home;
    AccountDialog dialog(home.context());
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("login"))->setText(QStringLiteral("x"));
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(QFile::exists(home.path(QStringLiteral("account"))));
}

TEST(AccountDialog, RefusesWhatTheFileCannotHoldAndKeepsTheStoredAccount)
{
    struct Case
    {
        const char16_t* login;
        const char16_t* password;
        const char16_t* message;
    };
    const char16_t* const lineBreaks = u"Il login e la password non possono contenere interruzioni di riga.";
    const char16_t* const invisible =
        u"Il login e la password non possono iniziare con un carattere invisibile (U+FEFF).";
    const Case cases[] = {
        {u"nuovo\nlogin", u"pw", lineBreaks},
        {u"nuovo", u"pass\rword", lineBreaks},
        {u"nuovo", u"pass\r\n2", lineBreaks},
        // A byte-order mark opening the file is dropped on reading.
        {u"\uFEFFnuovo", u"pw", invisible},
        {u"nuovo", u"\uFEFFpw", invisible},
    };
    for (const Case& c : cases) {
        // QStringView, not fromUtf16, which would take a leading U+FEFF for a byte-order mark.
        const QString login = QStringView(c.login).toString();
        const QString password = QStringView(c.password).toString();
        TestHome home;
        const Account stored{QStringLiteral("studio"), QStringLiteral("segreta"), 3};
        ASSERT_TRUE(stored.save(home.state.folder));
        AccountDialog dialog(home.context());
        dialog.show();
        dialog.findChild<QLineEdit*>(QStringLiteral("login"))->setText(login);
        dialog.findChild<QLineEdit*>(QStringLiteral("password"))->setText(password);
        home.dialogs.expectMessage(QStringView(c.message).toString(), MessageIcon::Critical);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        EXPECT_TRUE(home.dialogs.done()) << login.toStdString();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << login.toStdString();
        EXPECT_EQ(Account::load(home.state.folder), stored) << login.toStdString();
        // The store refuses them as well, whoever calls it.
        EXPECT_FALSE((Account{login, password, 2}).save(home.state.folder)) << login.toStdString();
    }
}

TEST(AccountDialog, FullDiskSaysSoAndKeepsTheStoredAccount)
{
    TestHome home;
    const Account stored{QStringLiteral("studio"), QStringLiteral("segreta"), 3};
    ASSERT_TRUE(stored.save(home.state.folder));
    AccountDialog dialog(home.context());
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("login"))->setText(QStringLiteral("un login più lungo"));
    home.dialogs.expectMessage(QStringLiteral("Impossibile salvare i dati dell'account nella cartella ") +
                                   home.state.folder.root(),
                               MessageIcon::Critical);
    {
        const test::FullDisk full(8);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    }
    EXPECT_TRUE(home.dialogs.done());
    EXPECT_EQ(Account::load(home.state.folder), stored);
}

TEST(CreditQuery, AsksTheGatewayAndSaysWhyThereIsNoCredit)
{
    SandboxHome box({"--credit", "42"});
    const DataFolder& folder = box.home.state.folder;
    const auto expect = [&](const char* credit, CreditFailure failure) {
        const CreditAnswer answer = queryCredit(folder, box.factory());
        EXPECT_EQ(answer.credit, QString::fromLatin1(credit));
        EXPECT_EQ(answer.failure, failure);
    };
    expect("42", CreditFailure::None);
    QFuture<CreditAnswer> pending = queryCreditAsync(folder, box.factory());
    pending.waitForFinished();
    EXPECT_EQ(pending.result().credit, QStringLiteral("42"));

    ASSERT_TRUE((Account{QStringLiteral("demo"), QStringLiteral("altra"), 2}).save(folder));
    expect("", CreditFailure::AccountRefused);

    ASSERT_TRUE(QFile::remove(box.home.path(QStringLiteral("account"))));
    expect("", CreditFailure::NoAccount);

    ASSERT_TRUE((Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}).save(folder));
    box.sandbox.stop();
    expect("", CreditFailure::Unreachable);
}

} // namespace
