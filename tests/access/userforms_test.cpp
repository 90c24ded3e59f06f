#include "access/accountform.h"
#include "access/loginform.h"
#include "tests/support/modalpresser.h"
#include "tests/support/testhome.h"
#include "tests/users/accountsupport.h"
#include "ui/qtdialogs.h"
#include "users/loginsession.h"
#include "users/usermessages.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::fileBytes;
using parlix::test::storedFile;
using parlix::test::TestHome;

namespace {

const UserAccount anna{QStringLiteral("anna"), QStringLiteral("uno"), QStringLiteral("1")};
const UserAccount bruno{QStringLiteral("bruno"), QStringLiteral("due"), QStringLiteral("2")};
const UserAccount carla{QStringLiteral("carla"), QStringLiteral("tre"), QStringLiteral("3")};

template <typename Widget> Widget* child(QWidget& form, const char* name)
{
    auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// The account form's controls, found by their names.
struct AccountControls
{
    explicit AccountControls(AccountForm& form)
        : form(form), text1(child<QLineEdit>(form, "Text1")), label3(child<QLabel>(form, "Label3")),
          list1(child<QListWidget>(form, "List1")), frame2(child<QGroupBox>(form, "Frame2")),
          text2(child<QLineEdit>(form, "Text2")), text3(child<QLineEdit>(form, "Text3")),
          combo1(child<QComboBox>(form, "Combo1")), command5(child<QPushButton>(form, "Command5"))
    {}

    void click(const char* name) { child<QPushButton>(form, name)->click(); }
    // The entry a user clicks in the list.
    void select(int row) { list1->setCurrentRow(row); }
    void type(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        edit->insert(text);
    }
    // Picks a level from the drop-down list, as a click does.
    void pickLevel(int index)
    {
        combo1->setCurrentIndex(index);
        emit combo1->activated(index);
    }
    QStringList names() const
    {
        QStringList names;
        for (int i = 0; i < list1->count(); ++i)
            names << list1->item(i)->text();
        return names;
    }

    AccountForm& form;
    QLineEdit* text1;
    QLabel* label3;
    QListWidget* list1;
    QGroupBox* frame2;
    QLineEdit* text2;
    QLineEdit* text3;
    QComboBox* combo1;
    QPushButton* command5;
};

struct AccountHome
{
    explicit AccountHome(const std::vector<UserAccount>& accounts)
    {
        test::writeBytes(path(), storedFile(accounts));
    }
    QString path() const { return home.path(QStringLiteral("tempaccesso")); }

    TestHome home;
    LoginSession session;
};

TEST(LoginForm, ChecksNameAndPasswordExactly)
{
    enum class Outcome { LoggedIn, Refused };
    const struct Row
    {
        std::vector<UserAccount> accounts;
        const char* uid;
        const char* pws;
        Outcome outcome;
    } rows[] = {
        {{}, "anna", "uno", Outcome::Refused},
        {{anna, bruno}, "anna", "uno", Outcome::LoggedIn},
        {{anna, bruno}, "bruno", "due", Outcome::LoggedIn},
        {{anna, bruno}, "Anna", "uno", Outcome::Refused},
        {{anna, bruno}, "anna", "UNO", Outcome::Refused},
        {{anna, bruno}, "anna ", "uno", Outcome::Refused},
        {{anna, bruno}, "anna", "due", Outcome::Refused},
        {{anna, bruno}, "", "", Outcome::Refused},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.uid) + "/" + row.pws);
        AccountHome setup(row.accounts);
        LoginForm form(setup.home.context(), setup.session);
        form.show();
        QSignalSpy loggedIn(&form, &LoginForm::loggedIn);
        child<QLineEdit>(form, "uid")->setText(QString::fromUtf8(row.uid));
        child<QLineEdit>(form, "pws")->setText(QString::fromUtf8(row.pws));
        if (row.outcome == Outcome::Refused)
            setup.home.dialogs.expectMessage(usermessages::wrongLogin(), MessageIcon::Critical);
        child<QPushButton>(form, "Command1")->click();

        if (row.outcome == Outcome::LoggedIn) {
            ASSERT_EQ(loggedIn.count(), 1);
            EXPECT_EQ(loggedIn.at(0).at(0).toString(), QString::fromUtf8(row.uid));
            EXPECT_EQ(setup.session.user, QString::fromUtf8(row.uid));
            EXPECT_EQ(form.result(), QDialog::Accepted);
            EXPECT_FALSE(form.isVisible());
        } else {
            EXPECT_EQ(loggedIn.count(), 0);
            EXPECT_EQ(setup.session.user, std::nullopt);
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(child<QLineEdit>(form, "uid")->text(), QString::fromUtf8(row.uid));
            EXPECT_EQ(child<QLineEdit>(form, "pws")->text(), QString::fromUtf8(row.pws));
        }
    }
}

TEST(LoginForm, WithoutAnAccountFileCreatesItEmptyAndOpensTheAccountForm)
{
    TestHome home;
    LoginSession session;
    const QString path = home.path(QStringLiteral("tempaccesso"));
    LoginForm form(home.context(), session);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Accesso"));
    EXPECT_EQ(child<QLineEdit>(form, "pws")->echoMode(), QLineEdit::Password);
    child<QLineEdit>(form, "uid")->setText(QStringLiteral("anna"));
    child<QPushButton>(form, "Command1")->click();

    EXPECT_EQ(fileBytes(path), QByteArray());
    EXPECT_EQ(QFileInfo(path).permissions(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadUser | QFileDevice::WriteUser);
    ASSERT_NE(form.accountForm(), nullptr);
    EXPECT_TRUE(form.accountForm()->isVisible());
    EXPECT_EQ(form.accountForm()->windowTitle(), QStringLiteral("Configurazione Account"));
    EXPECT_EQ(child<QListWidget>(*form.accountForm(), "List1")->count(), 0);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(child<QLineEdit>(form, "uid")->text(), QStringLiteral("anna"));

    // The first account entered there lets the user in.
    AccountControls controls(*form.accountForm());
    controls.click("Command1");
    controls.type(controls.text2, QStringLiteral("anna"));
    controls.type(controls.text3, QStringLiteral("uno"));
    controls.pickLevel(0);
    controls.click("Command5");
    EXPECT_EQ(fileBytes(path), storedFile({anna}));
    child<QLineEdit>(form, "pws")->setText(QStringLiteral("uno"));
    child<QPushButton>(form, "Command1")->click();
    EXPECT_EQ(session.user, QStringLiteral("anna"));
}

TEST(LoginForm, TellsOfADamagedEntryWhenNoAccountMatches)
{
    AccountHome setup({anna});
    test::writeBytes(setup.path(), fileBytes(setup.path()) + "\x01\x01\r\n");
    LoginForm form(setup.home.context(), setup.session);
    child<QLineEdit>(form, "uid")->setText(QStringLiteral("bruno"));
    setup.home.dialogs.expectMessage(usermessages::damagedEntries(1), MessageIcon::Exclamation);
    setup.home.dialogs.expectMessage(usermessages::wrongLogin(), MessageIcon::Critical);
    child<QPushButton>(form, "Command1")->click();

    child<QLineEdit>(form, "uid")->setText(QStringLiteral("anna"));
    child<QLineEdit>(form, "pws")->setText(QStringLiteral("uno"));
    child<QPushButton>(form, "Command1")->click();
    EXPECT_EQ(setup.session.user, QStringLiteral("anna"));
}

TEST(AccountForm, SelectingAnEntryShowsItsNamePasswordAndLevel)
{
    const struct Row
    {
        const char* level;
        const char* caption;
        const char* levelText;
    } rows[] = {
        {"1", " Administrator", "Administrator"},
        {"2", " Power User", "Power User"},
        {"3", " User", "User"},
        {"4", " Guest", "Guest"},
        {"", "", ""},
        {"7", "", ""},
    };
    std::vector<UserAccount> accounts{anna};
    for (const Row& row : rows)
        accounts.push_back({QStringLiteral("liv") + QString::fromUtf8(row.level), QStringLiteral("pw"),
                            QString::fromUtf8(row.level)});
    AccountHome setup(accounts);
    AccountForm form(setup.home.context(), setup.session);
    AccountControls controls(form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Configurazione Account"));
    EXPECT_EQ(controls.list1->count(), 7);
    EXPECT_EQ(controls.list1->currentRow(), 0);
    EXPECT_EQ(controls.text1->text(), QStringLiteral("anna"));
    EXPECT_TRUE(controls.frame2->isHidden());
    for (int i = 0; i < 6; ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.level);
        controls.select(i + 1);
        EXPECT_EQ(controls.text1->text(), accounts[i + 1].name);
        EXPECT_EQ(controls.text2->text(), accounts[i + 1].name);
        EXPECT_EQ(controls.text3->text(), QStringLiteral("pw"));
        EXPECT_EQ(controls.label3->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(controls.combo1->currentText(), QString::fromUtf8(row.levelText));
    }
}

TEST(AccountForm, OkIsEnabledOnlyWithNameAndPassword)
{
    AccountHome setup({anna});
    AccountForm form(setup.home.context(), setup.session);
    form.show();
    AccountControls c(form);
    c.click("Command1");
    EXPECT_FALSE(c.command5->isEnabled());
    const struct Step
    {
        const char* what; // "name", "password", "typed level", "picked level"
        const char* text;
        bool enabled;
    } steps[] = {
        {"name", "bruno", false},    {"password", "due", true},  {"typed level", "", false},
        {"typed level", "Gu", true}, {"picked level", "", true}, {"password", "", false},
        {"picked level", "", false}, {"password", "x", true},    {"name", "", false},
        {"name", "b", true},
    };
    for (const Step& step : steps) {
        const std::string what = step.what;
        SCOPED_TRACE(what + " " + step.text);
        if (what == "name") {
            c.type(c.text2, QString::fromUtf8(step.text));
        } else if (what == "password") {
            c.type(c.text3, QString::fromUtf8(step.text));
        } else if (what == "typed level") {
            c.combo1->lineEdit()->clear();
            QTest::keyClicks(c.combo1->lineEdit(), QString::fromUtf8(step.text));
            if (!*step.text) { // clearing by typing: one more key and its undoing
                QTest::keyClicks(c.combo1->lineEdit(), QStringLiteral("x"));
                QTest::keyClick(c.combo1->lineEdit(), Qt::Key_Backspace);
            }
        } else {
            c.pickLevel(3);
        }
        EXPECT_EQ(c.command5->isEnabled(), step.enabled);
    }
}

TEST(AccountForm, NewUserIsAppendedAndTheFormGoesBackToTheFirstEntry)
{
    AccountHome setup({anna, bruno});
    AccountForm form(setup.home.context(), setup.session);
    form.show();
    AccountControls c(form);
    c.click("Command1");
    EXPECT_EQ(form.modalita(), QStringLiteral("nuovo"));
    EXPECT_TRUE(c.frame2->isVisible());
    EXPECT_EQ(c.text2->text(), QString());
    EXPECT_EQ(c.text3->text(), QString());
    EXPECT_EQ(c.combo1->currentText(), QString());

    // While a new user is typed, the list shows only the name of its entries.
    c.type(c.text2, QStringLiteral("Anna"));
    c.type(c.text3, QStringLiteral("tre"));
    c.select(1);
    EXPECT_EQ(c.text1->text(), QStringLiteral("bruno"));
    EXPECT_EQ(c.text2->text(), QStringLiteral("Anna"));

    c.pickLevel(2);
    c.click("Command5");
    const UserAccount added{QStringLiteral("Anna"), QStringLiteral("tre"), QStringLiteral("3")};
    EXPECT_EQ(fileBytes(setup.path()), storedFile({anna, bruno, added}));
    EXPECT_EQ(c.names(),
              (QStringList{QStringLiteral("anna"), QStringLiteral("bruno"), QStringLiteral("Anna")}));
    EXPECT_EQ(c.list1->currentRow(), 0);
    EXPECT_EQ(c.text1->text(), QStringLiteral("anna"));
    EXPECT_TRUE(c.frame2->isHidden());
    EXPECT_FALSE(c.command5->isEnabled());
    EXPECT_EQ(form.modalita(), QString());
}

TEST(AccountForm, RefusedNewUsersLeaveTheFileAndTheEditAreaAsTheyWere)
{
    const struct Row
    {
        QString name;
        QString refusal;
    } rows[] = {
        {QStringLiteral("bruno"), usermessages::existingUser()},
        {QStringLiteral("a,b"), usermessages::separatorRefused()},
        {QStringLiteral("Łucja"), usermessages::characterRefused(QStringLiteral("Ł"))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        AccountHome setup({anna, bruno});
        AccountForm form(setup.home.context(), setup.session);
        form.show();
        AccountControls c(form);
        c.click("Command1");
        c.type(c.text2, row.name);
        c.type(c.text3, QStringLiteral("x"));
        setup.home.dialogs.expectMessage(row.refusal, MessageIcon::Critical);
        c.click("Command5");
        EXPECT_EQ(fileBytes(setup.path()), storedFile({anna, bruno}));
        EXPECT_TRUE(c.frame2->isVisible());
        EXPECT_EQ(form.modalita(), QStringLiteral("nuovo"));
        EXPECT_EQ(c.text2->text(), row.name);
    }
}

TEST(AccountForm, ChangeKeepsThePositionAndMayTakeAnExistingName)
{
    AccountHome setup({anna, bruno, carla});
    AccountForm form(setup.home.context(), setup.session);
    form.show();
    AccountControls c(form);
    c.select(1);
    c.click("Command4");
    EXPECT_EQ(form.modalita(), QStringLiteral("modifica"));
    EXPECT_TRUE(c.frame2->isVisible());
    EXPECT_EQ(c.text2->text(), QStringLiteral("bruno"));
    EXPECT_EQ(c.text3->text(), QStringLiteral("due"));
    EXPECT_EQ(c.combo1->currentText(), QStringLiteral("Power User"));

    c.type(c.text2, QStringLiteral("anna"));
    c.type(c.text3, QStringLiteral("nuova"));
    c.pickLevel(3);
    // Enter in a field presses no button.
    QTest::keyClick(c.text3, Qt::Key_Return);
    EXPECT_EQ(form.modalita(), QStringLiteral("modifica"));
    EXPECT_EQ(fileBytes(setup.path()), storedFile({anna, bruno, carla}));
    c.click("Command5");
    const UserAccount changed{QStringLiteral("anna"), QStringLiteral("nuova"), QStringLiteral("4")};
    EXPECT_EQ(fileBytes(setup.path()), storedFile({anna, changed, carla}));
    EXPECT_EQ(c.list1->currentRow(), 0);
    EXPECT_EQ(c.text3->text(), QStringLiteral("uno"));
    EXPECT_TRUE(c.frame2->isHidden());
    EXPECT_EQ(form.modalita(), QString());
}

TEST(AccountForm, ChangeWithNoUsersSaysSo)
{
    AccountHome setup({});
    AccountForm form(setup.home.context(), setup.session);
    form.show();
    AccountControls c(form);
    setup.home.dialogs.expectMessage(usermessages::noUsers(), MessageIcon::Critical);
    c.click("Command4");
    EXPECT_TRUE(c.frame2->isHidden());
    EXPECT_EQ(form.modalita(), QString());
}

TEST(AccountForm, DeleteAsksThenClosesTheGap)
{
    const struct Row
    {
        std::optional<QString> loggedIn;
        int selected;
        Answer answer;
        bool refusedAsCurrent;
        std::vector<UserAccount> after;
    } rows[] = {
        {std::nullopt, 1, Answer::Ok, false, {anna, carla}},
        {std::nullopt, 0, Answer::Ok, false, {bruno, carla}},
        {std::nullopt, 1, Answer::Cancel, false, {anna, bruno, carla}},
        {QStringLiteral("bruno"), 1, Answer::Ok, true, {anna, bruno, carla}},
        {QStringLiteral("bruno"), 2, Answer::Ok, false, {anna, bruno}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selected);
        AccountHome setup({anna, bruno, carla});
        setup.session.user = row.loggedIn;
        AccountForm form(setup.home.context(), setup.session);
        form.show();
        AccountControls c(form);
        c.select(row.selected);
        const QString name = c.list1->currentItem()->text();
        setup.home.dialogs.expectMessage(usermessages::deleteQuestion(name), MessageIcon::None, row.answer);
        if (row.refusedAsCurrent)
            setup.home.dialogs.expectMessage(usermessages::currentUserKept(), MessageIcon::Critical);
        c.click("Command3");
        EXPECT_EQ(form.modalita(), QStringLiteral("cancella"));
        EXPECT_EQ(fileBytes(setup.path()), storedFile(row.after));
        QStringList names;
        for (const UserAccount& account : row.after)
            names << account.name;
        EXPECT_EQ(c.names(), names);
        if (row.answer == Answer::Ok && !row.refusedAsCurrent) {
            EXPECT_EQ(c.list1->currentRow(), 0);
        }
    }
}

TEST(AccountForm, DeleteWithNoUsersAsksAndDoesNothing)
{
    AccountHome setup({});
    AccountForm form(setup.home.context(), setup.session);
    AccountControls c(form);
    setup.home.dialogs.expectMessage(usermessages::deleteQuestion(QString()), MessageIcon::None, Answer::Ok);
    c.click("Command3");
    EXPECT_EQ(fileBytes(setup.path()), QByteArray());
}

TEST(AccountForm, MissingOrDamagedFilesStillOpen)
{
    TestHome home;
    LoginSession session;
    {
        AccountForm missing(home.context(), session);
        EXPECT_EQ(child<QListWidget>(missing, "List1")->count(), 0);
        EXPECT_FALSE(QFileInfo::exists(home.path(QStringLiteral("tempaccesso"))));
    }
    test::writeBytes(home.path(QStringLiteral("tempaccesso")), "\x01\x01\r\n" + storedFile({anna}));
    home.dialogs.expectMessage(usermessages::damagedEntries(1), MessageIcon::Exclamation);
    AccountForm damaged(home.context(), session);
    AccountControls c(damaged);
    EXPECT_EQ(c.names(), QStringList{QStringLiteral("anna")});
    // Told once, not again after a save.
    c.click("Command1");
    c.type(c.text2, QStringLiteral("bruno"));
    c.type(c.text3, QStringLiteral("due"));
    c.click("Command5");
    EXPECT_EQ(c.names(), (QStringList{QStringLiteral("anna"), QStringLiteral("bruno")}));
}

TEST(UserFormsJourney, WrongLoginAndDeleteAnsweredThroughTheRealBoxes)
{
    AccountHome setup({anna, bruno, carla});
    QtDialogs dialogs;
    AppContext context{setup.home.state, dialogs, setup.home.clock};
    test::ModalPresser presser;

    LoginForm login(context, setup.session);
    login.show();
    child<QLineEdit>(login, "uid")->setText(QStringLiteral("anna"));
    child<QLineEdit>(login, "pws")->setText(QStringLiteral("sbagliata"));
    presser.press(QStringLiteral("OK"));
    child<QPushButton>(login, "Command1")->click();
    EXPECT_TRUE(login.isVisible());

    AccountForm form(context, setup.session);
    form.show();
    AccountControls c(form);
    c.select(1);
    presser.press(QStringLiteral("Annulla"));
    c.click("Command3");
    EXPECT_EQ(fileBytes(setup.path()), storedFile({anna, bruno, carla}));
    presser.press(QStringLiteral("OK"));
    c.click("Command3");
    EXPECT_EQ(fileBytes(setup.path()), storedFile({anna, carla}));

    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(),
              (QStringList{usermessages::wrongLogin(), usermessages::deleteQuestion(QStringLiteral("bruno")),
                           usermessages::deleteQuestion(QStringLiteral("bruno"))}));
}

} // namespace
