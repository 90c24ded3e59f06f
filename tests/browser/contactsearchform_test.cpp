#include "browser/contactsearchform.h"
#include "core/programstate.h"
#include "tests/support/testhome.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::TestHome;

namespace {

const QString principale = QStringLiteral("Principale");
const QString casa = QStringLiteral("Casa");

class ContactSearchFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home.setBooks({principale, casa});
        home.addContact(casa, QStringLiteral("Anna"), QStringLiteral("Rossi"), QStringLiteral("3331"),
                        QStringLiteral("anna@example.it"));
        home.addContact(casa, QStringLiteral(" "), QStringLiteral("ROMANO"), QStringLiteral("3472"));
        home.addContact(casa, QStringLiteral("Rocco"), QStringLiteral("Ferro"), QStringLiteral("3203"),
                        QStringLiteral("rocco@example.it"));
        home.addContact(casa, QStringLiteral("Bruno"), QStringLiteral("rossetti"), QStringLiteral("3334"));
        home.addContact(casa, QStringLiteral("Ugo"), QStringLiteral("D'Angelo"), QStringLiteral("3475"));
        home.addContact(principale, QStringLiteral("Altro"), QStringLiteral("Rossi"), QStringLiteral("3999"));
        form = std::make_unique<ContactSearchForm>(home.context(), casa);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    QLineEdit* box(const char* name) const { return form->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QListWidget* list(const char* name) const
    {
        return form->findChild<QListWidget*>(QString::fromLatin1(name));
    }
    QStringList entries(const char* name) const
    {
        QStringList texts;
        const QListWidget* l = list(name);
        for (int i = 0; i < l->count(); ++i)
            texts << l->item(i)->text();
        return texts;
    }
    QStringList boxes() const
    {
        return {box("Text1")->text(), box("Text2")->text(), box("Text3")->text(), box("Text4")->text()};
    }
    void search()
    {
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    }
    QPoint rowCentre(int row) const
    {
        QListWidget* numbers = list("List1");
        return numbers->visualItemRect(numbers->item(row)).center();
    }

    TestHome home;
    std::unique_ptr<ContactSearchForm> form;
};

TEST_F(ContactSearchFormTest, ListsTheRowsWhoseSurnameBeginsWithTheTextInAnyCase)
{
    box("Text1")->setText(QStringLiteral("Ro"));
    search();
    // As people read the surnames.
    EXPECT_EQ(entries("List1"),
              QStringList({QStringLiteral("3472"), QStringLiteral("3334"), QStringLiteral("3331")}));
    EXPECT_EQ(entries("List2"),
              QStringList({QStringLiteral(" "), QStringLiteral("Bruno"), QStringLiteral("Anna")}));
    EXPECT_EQ(entries("List3"),
              QStringList({QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("anna@example.it")}));
    EXPECT_EQ(entries("List4"),
              QStringList({QStringLiteral("ROMANO"), QStringLiteral("rossetti"), QStringLiteral("Rossi")}));
    EXPECT_TRUE(list("List1")->isVisible());
    EXPECT_FALSE(list("List4")->isVisible());

    // Text found only inside a value, and a search that finds nothing, list nothing and say nothing.
    box("Text1")->setText(QStringLiteral("erro"));
    search();
    EXPECT_EQ(entries("List1"), QStringList());
    box("Text1")->setText(QStringLiteral("d'a"));
    QTest::keyClick(box("Text1"), Qt::Key_Return); // Enter presses "Cerca", the default button
    EXPECT_EQ(entries("List1"), QStringList{QStringLiteral("3475")});
}

TEST_F(ContactSearchFormTest, WithTwoBoxesFilledOnlyTheLaterOneCounts)
{
    struct Case
    {
        QStringList boxes; // Text1 (surname), Text2 (number), Text3 (name), Text4 (e-mail)
        QStringList numbers;
    };
    const Case cases[] = {
        {{QStringLiteral("Ro"), QStringLiteral("347"), {}, {}},
         {QStringLiteral("3472"), QStringLiteral("3475")}},
        {{QStringLiteral("Ro"), {}, QStringLiteral("ro"), {}}, {QStringLiteral("3203")}},
        {{{}, QStringLiteral("333"), QStringLiteral("Anna"), QStringLiteral("rocco")},
         {QStringLiteral("3203")}},
    };
    for (const Case& c : cases) {
        box("Text1")->setText(c.boxes[0]);
        box("Text2")->setText(c.boxes[1]);
        box("Text3")->setText(c.boxes[2]);
        box("Text4")->setText(c.boxes[3]);
        search();
        EXPECT_EQ(entries("List1"), c.numbers) << c.boxes.join(u',').toStdString();
    }
}

TEST_F(ContactSearchFormTest, PressingIntoABoxEmptiesTheOthersAndTheLists)
{
    box("Text2")->setText(QStringLiteral("33"));
    search();
    ASSERT_EQ(entries("List1").size(), 2);
    box("Text3")->setText(QStringLiteral("Anna"));
    box("Text4")->setText(QStringLiteral("a@"));
    QTest::mouseClick(box("Text1"), Qt::LeftButton);
    EXPECT_EQ(boxes(), QStringList({QString(), QString(), QString(), QString()}));
    for (const char* name : {"List1", "List2", "List3", "List4"})
        EXPECT_EQ(entries(name), QStringList()) << name;

    QTest::keyClicks(box("Text1"), QStringLiteral("ro"));
    QTest::mouseClick(box("Text1"), Qt::LeftButton); // the box pressed keeps its text
    EXPECT_EQ(box("Text1")->text(), QStringLiteral("ro"));
}

TEST_F(ContactSearchFormTest, EmptyBoxesRunNoSearch)
{
    box("Text1")->setText(QStringLiteral("Ro"));
    search();
    home.state.percorsodb = QStringLiteral("untouched");
    box("Text1")->clear();
    search();
    EXPECT_EQ(home.state.percorsodb, QStringLiteral("untouched"));
    EXPECT_EQ(entries("List1").size(), 3);
}

TEST_F(ContactSearchFormTest, ClickShowsTheRowAndDoubleClickHandsItToTheComposer)
{
    box("Text1")->setText(QStringLiteral("Ro"));
    search();
    QString number;
    QString surname;
    int requests = 0;
    QObject::connect(form.get(), &ContactSearchForm::composeRequested,
                     [&](const QString& n, const QString& s) {
                         number = n;
                         surname = s;
                         ++requests;
                     });

    QTest::mouseClick(list("List1")->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(boxes(), QStringList({QStringLiteral("ROMANO"), QStringLiteral("3472"), QStringLiteral(" "),
                                    QStringLiteral(" ")}));
    for (const char* name : {"List1", "List2", "List3", "List4"})
        EXPECT_EQ(list(name)->currentRow(), 0) << name;
    EXPECT_EQ(requests, 0);

    QTest::mouseClick(list("List1")->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::mouseDClick(list("List1")->viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(number, QStringLiteral("3334"));
    EXPECT_EQ(surname, QStringLiteral("rossetti"));
    EXPECT_EQ(home.state.cellularesel, QStringLiteral("3334"));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ContactSearchFormTest, ABookThatCannotBeOpenedIsReported)
{
    ContactSearchForm missing(home.context(), QStringLiteral("Sparita"));
    missing.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("Ro"));
    home.dialogs.expectMessage(QStringLiteral("Impossibile aprire l'archivio \"%1\".")
                                   .arg(home.state.folder.booksDir() + QStringLiteral("/Sparita")),
                               MessageIcon::Critical);
    missing.search();
    EXPECT_EQ(missing.findChild<QListWidget*>(QStringLiteral("List1"))->count(), 0);
}

} // namespace
