#include "books/bookmanager.h"
#include "books/contacteditor.h"
#include "books/prefixeditor.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "tests/support/testhome.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
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
const QString errorTitle = QStringLiteral("Errore");
const QString infoTitle = QStringLiteral("Informazione");
const QString newPrompt = QStringLiteral("Inserisci il nome della Nuova Rubrica");
const QString newTitle = QStringLiteral("Nuova Rubrica");

template <typename T> T* child(const QWidget& form, const char* name)
{
    T* found = form.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void click(const QWidget& form, const char* button)
{
    QTest::mouseClick(child<QPushButton>(form, button), Qt::LeftButton);
}

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void select(QListWidget* list, const QString& text)
{
    const auto items = list->findItems(text, Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty()) << text.toStdString();
    list->setCurrentItem(items.first());
}

QStringList bookRows(const TestHome& home)
{
    return home.rows(home.path(QStringLiteral("elenco.mdb")), QStringLiteral("elenco"));
}

QStringList bookFiles(const TestHome& home)
{
    return QDir(home.path(QStringLiteral("rubriche"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ---- Gestione Rubriche ----

TEST(BookManagerForm, CreatesBooksAndRefusesTakenOrUnsafeNames)
{
    TestHome home;
    BookManager form(home.context());
    form.show();
    QListWidget* list = child<QListWidget>(form, "List1");
    EXPECT_EQ(entries(list), QStringList{principale});

    home.dialogs.expectInput(newPrompt, casa, newTitle);
    click(form, "Command1");
    for (const QString& taken : {casa, QStringLiteral("casa")}) {
        home.dialogs.expectInput(newPrompt, taken, newTitle);
        home.dialogs.expectMessage(QStringLiteral("Rubrica Esistente"), MessageIcon::Critical, Answer::Ok,
                                   errorTitle);
        click(form, "Command1");
    }
    home.dialogs.expectInput(newPrompt, QStringLiteral("Casa d'Aste"), newTitle);
    click(form, "Command1");
    home.dialogs.expectInput(newPrompt, std::nullopt, newTitle);
    click(form, "Command1");
    home.dialogs.expectInput(newPrompt, QStringLiteral("../Casa"), newTitle);
    home.dialogs.expectMessage(QStringLiteral("Il nome della rubrica non può contenere i caratteri / e \\."),
                               MessageIcon::Critical, Answer::Ok, errorTitle);
    click(form, "Command1");

    const QStringList books{principale, casa, QStringLiteral("Casa d'Aste")};
    EXPECT_EQ(entries(list), books);
    EXPECT_EQ(bookRows(home), books);
    EXPECT_EQ(bookFiles(home), QStringList({casa, QStringLiteral("Casa d'Aste"), principale}));
    EXPECT_EQ(contentOf(home.path(QStringLiteral("rubriche/Casa"))),
              contentOf(home.path(QStringLiteral("rubrica_base.mdb"))));
}

TEST(BookManagerForm, PrincipaleAndAMissingSelectionAreRefused)
{
    TestHome home;
    home.setBooks({principale, casa});
    BookManager form(home.context());
    form.show();
    const QString chooseOne = QStringLiteral("Selezionare una delle Rubriche in elenco");
    home.dialogs.expectMessage(chooseOne, MessageIcon::Exclamation, Answer::Ok, infoTitle);
    click(form, "Command3");
    home.dialogs.expectMessage(chooseOne, MessageIcon::Exclamation, Answer::Ok, infoTitle);
    click(form, "Command4");

    select(form.bookList(), principale);
    home.dialogs.expectMessage(QStringLiteral("Impossibile eliminare la rubrica Principale"),
                               MessageIcon::Critical);
    click(form, "Command3");
    home.dialogs.expectMessage(QStringLiteral("Impossibile modificare la rubrica Principale"),
                               MessageIcon::Critical, Answer::Ok, infoTitle);
    click(form, "Command4");

    EXPECT_EQ(bookRows(home), QStringList({principale, casa}));
    EXPECT_EQ(bookFiles(home), QStringList({casa, principale}));
}

TEST(BookManagerForm, RenameMovesTheBookToTheEndOfTheList)
{
    TestHome home;
    home.setBooks({principale, casa, QStringLiteral("Studio")});
    BookManager form(home.context());
    form.show();
    select(form.bookList(), casa);
    home.dialogs.expectInput(QStringLiteral("Nuovo Nome Rubrica"), QStringLiteral("Lavoro"),
                             QStringLiteral("Modifica Rubrica"));
    click(form, "Command4");
    EXPECT_EQ(home.dialogs.calls().back().initial, casa);

    const QStringList books{principale, QStringLiteral("Studio"), QStringLiteral("Lavoro")};
    EXPECT_EQ(entries(form.bookList()), books);
    EXPECT_EQ(bookRows(home), QStringList({principale, QStringLiteral("Lavoro"), QStringLiteral("Studio")}));
    EXPECT_EQ(bookFiles(home), QStringList({QStringLiteral("Lavoro"), principale, QStringLiteral("Studio")}));

    // The old name given back unchanged is taken; Cancel does nothing.
    select(form.bookList(), QStringLiteral("Lavoro"));
    home.dialogs.expectInput(QStringLiteral("Nuovo Nome Rubrica"), QStringLiteral("Lavoro"));
    home.dialogs.expectMessage(QStringLiteral("Rubrica Esistente"), MessageIcon::Critical, Answer::Ok,
                               errorTitle);
    click(form, "Command4");
    home.dialogs.expectInput(QStringLiteral("Nuovo Nome Rubrica"), std::nullopt);
    click(form, "Command4");
    EXPECT_EQ(entries(form.bookList()), books);
}

TEST(BookManagerForm, DeleteAsksFirstAndKeepsTheButtonsInStep)
{
    TestHome home;
    home.setBooks({});
    BookManager form(home.context());
    form.show();
    auto* deleteButton = child<QPushButton>(form, "Command3");
    auto* renameButton = child<QPushButton>(form, "Command4");
    EXPECT_FALSE(deleteButton->isEnabled());
    EXPECT_FALSE(renameButton->isEnabled());

    // "Principale" stays a file of the folder, so two other books are made.
    const QString ufficio = QStringLiteral("Ufficio");
    for (const QString& name : {ufficio, casa}) {
        home.dialogs.expectInput(newPrompt, name, newTitle);
        click(form, "Command1");
    }
    EXPECT_TRUE(deleteButton->isEnabled());
    EXPECT_TRUE(renameButton->isEnabled());

    select(form.bookList(), casa);
    const QString question = QStringLiteral("Cancellare la Rubrica: Casa?");
    const QString title = QStringLiteral("Cancella Rubrica");
    home.dialogs.expectMessage(question, MessageIcon::None, Answer::Cancel, title);
    click(form, "Command3");
    EXPECT_EQ(bookRows(home), QStringList({ufficio, casa}));
    EXPECT_EQ(home.dialogs.calls().back().buttons, MessageButtons::OkCancelDefaultCancel);

    home.dialogs.expectMessage(question, MessageIcon::None, Answer::Ok, title);
    click(form, "Command3");
    EXPECT_EQ(entries(form.bookList()), QStringList{ufficio});
    EXPECT_EQ(bookRows(home), QStringList{ufficio});
    EXPECT_EQ(bookFiles(home), QStringList({principale, ufficio}));
    EXPECT_TRUE(deleteButton->isEnabled());
    EXPECT_TRUE(renameButton->isEnabled());
}

TEST(BookManagerForm, EveryWayOfClosingAsksForTheTreeToBeRebuilt)
{
    TestHome home;
    for (const bool closeBox : {false, true}) {
        BookManager form(home.context());
        int rebuilt = 0;
        QObject::connect(&form, &BookManager::booksChanged, [&] { ++rebuilt; });
        form.show();
        if (closeBox)
            form.close();
        else
            click(form, "Command2");
        EXPECT_EQ(rebuilt, 1) << (closeBox ? "close box" : "Command2");
        EXPECT_FALSE(form.isVisible());
    }
}

// ---- Gestione Contatti ----

struct EditorBoxes
{
    QString prefix;
    QString number;
    QString surname;
    QString name;
    QString email;
};

void fill(ContactEditor& editor, const EditorBoxes& boxes)
{
    auto* prefix = child<QComboBox>(editor, "Combo1");
    const int index = prefix->findText(boxes.prefix);
    if (index >= 0)
        prefix->setCurrentIndex(index);
    else
        prefix->setEditText(boxes.prefix);
    child<QLineEdit>(editor, "Text3")->setText(boxes.number);
    child<QLineEdit>(editor, "Text2")->setText(boxes.surname);
    child<QLineEdit>(editor, "Text1")->setText(boxes.name);
    child<QLineEdit>(editor, "Text4")->setText(boxes.email);
}

QStringList contactRows(const TestHome& home, const QString& book)
{
    return home.rows(home.state.folder.bookPath(book), QStringLiteral("rubrica"));
}

// A contact as the list shows it: its number and its row key.
RowSelection listedContact(const QString& number, long long key)
{
    return {number, {}, {}, {}, key};
}

TEST(ContactEditorForm, StoresPrefixAndNumberAsOneAndSplitsThemForEditing)
{
    TestHome home;
    home.setBooks({principale, casa});
    home.writeFile(QStringLiteral("prefissi.txt"),
                   {QStringLiteral("347"), QStringLiteral("333"), QStringLiteral("320")});
    {
        ContactEditor editor(home.context(), casa);
        editor.show();
        auto* prefix = child<QComboBox>(editor, "Combo1");
        EXPECT_EQ(prefix->currentText(), QStringLiteral("Prefisso"));
        QStringList items;
        for (int i = 0; i < prefix->count(); ++i)
            items << prefix->itemText(i);
        EXPECT_EQ(items, QStringList({QStringLiteral("347"), QStringLiteral("333"), QStringLiteral("320")}));
        int stored = 0;
        QObject::connect(&editor, &ContactEditor::contactStored, [&] { ++stored; });
        fill(editor, {QStringLiteral("333"), QStringLiteral("1234467"), QStringLiteral("D'Angelo"), {}, {}});
        click(editor, "Command1");
        EXPECT_EQ(stored, 1);
        EXPECT_FALSE(editor.isVisible());
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    }
    EXPECT_EQ(contactRows(home, casa), QStringList{QStringLiteral(" |D'Angelo|3331234467| |4")});

    ContactEditor editor(home.context(), casa, listedContact(QStringLiteral("3331234467"), 1));
    editor.show();
    EXPECT_TRUE(editor.editMode());
    EXPECT_EQ(child<QComboBox>(editor, "Combo1")->currentText(), QStringLiteral("333"));
    EXPECT_EQ(child<QLineEdit>(editor, "Text3")->text(), QStringLiteral("1234467"));
    EXPECT_EQ(child<QLineEdit>(editor, "Text2")->text(), QStringLiteral("D'Angelo"));
    EXPECT_EQ(child<QLineEdit>(editor, "Text1")->text(), QStringLiteral(" "));
    child<QLineEdit>(editor, "Text1")->setText(QStringLiteral("Anna"));
    child<QLineEdit>(editor, "Text3")->setText(QStringLiteral("7654321"));
    // Enter in a field presses "OK", the default button.
    QTest::keyClick(child<QLineEdit>(editor, "Text3"), Qt::Key_Return);
    EXPECT_EQ(contactRows(home, casa), QStringList{QStringLiteral("Anna|D'Angelo|3337654321| |4")});
}

TEST(ContactEditorForm, ChecksComeInOrderAndKeepTheFormOpen)
{
    struct Case
    {
        EditorBoxes boxes;
        const char* message;
        QString book = casa;
        MessageIcon icon = MessageIcon::None;
    };
    const QString n = QStringLiteral("1234467");
    const QString s = QStringLiteral("Rossi");
    const QString p = QStringLiteral("333");
    const Case cases[] = {
        {{QStringLiteral("Prefisso"), n, s, {}, {}}, "Selezionare un Prefisso Valido"},
        {{QString(), n, s, {}, {}}, "Selezionare un Prefisso Valido"},
        {{QStringLiteral(" "), n, s, {}, {}}, "Selezionare un Prefisso Valido"},
        {{QStringLiteral("Prefisso"), {}, {}, {}, {}}, "Selezionare un Prefisso Valido"},
        {{p, {}, s, {}, {}}, "Inserire un numero telefonico valido"},
        {{p, {}, {}, {}, {}}, "Inserire un numero telefonico valido"},
        {{p, QStringLiteral("12a4467"), {}, {}, {}}, "Cognome obbligatorio"},
        {{p, QStringLiteral("12a4467"), s, {}, {}}, "inserire un numero telefonico valido"},
        {{p, QStringLiteral("inf"), s, {}, {}}, "inserire un numero telefonico valido"},
        // A store failure keeps its own message: the number was fine.
        {{p, n, s, {}, {}},
         "Impossibile aprire l'archivio \"%1\".",
         QStringLiteral("Sparita"),
         MessageIcon::Critical},
    };
    TestHome home;
    home.setBooks({principale, casa});
    for (const Case& c : cases) {
        ContactEditor editor(home.context(), c.book);
        editor.show();
        int stored = 0;
        QObject::connect(&editor, &ContactEditor::contactStored, [&] { ++stored; });
        fill(editor, c.boxes);
        QString message = QString::fromUtf8(c.message);
        if (message.contains(u"%1"))
            message = message.arg(home.state.folder.bookPath(c.book));
        home.dialogs.expectMessage(message, c.icon);
        click(editor, "Command1");
        EXPECT_EQ(stored, 0) << c.message;
        EXPECT_TRUE(editor.isVisible()) << c.message;
    }
    EXPECT_EQ(contactRows(home, casa), QStringList());
}

TEST(ContactEditorForm, EmptyNameAndEmailBecomeOneBlankBeforeTheSurnameCheck)
{
    TestHome home;
    home.setBooks({principale, casa});
    ContactEditor editor(home.context(), casa);
    editor.show();
    fill(editor, {QStringLiteral("333"), QStringLiteral("1234467"), {}, {}, {}});
    home.dialogs.expectMessage(QStringLiteral("Cognome obbligatorio"), MessageIcon::None);
    click(editor, "Command1");
    EXPECT_EQ(child<QLineEdit>(editor, "Text1")->text(), QStringLiteral(" "));
    EXPECT_EQ(child<QLineEdit>(editor, "Text4")->text(), QStringLiteral(" "));
}

TEST(ContactEditorForm, TypedPrefixAndBlanksAroundTheNumberAreKept)
{
    TestHome home;
    home.setBooks({principale, casa});
    ContactEditor editor(home.context(), casa);
    editor.show();
    fill(editor, {QStringLiteral("399"), QStringLiteral(" 1234467 "), QStringLiteral("Rossi"),
                  QStringLiteral("Mario"), QStringLiteral("m@example.it")});
    click(editor, "Command1");
    EXPECT_EQ(contactRows(home, casa),
              QStringList{QStringLiteral("Mario|Rossi|399 1234467 |m@example.it|4")});
}

TEST(ContactEditorForm, ADuplicateIsRefusedInTheSameBookOnly)
{
    TestHome home;
    home.setBooks({principale, casa});
    home.addContact(casa, QStringLiteral("A"), QStringLiteral("Primo"), QStringLiteral("3331234467"));
    const EditorBoxes boxes{
        QStringLiteral("333"), QStringLiteral("1234467"), QStringLiteral("Secondo"), {}, {}};
    {
        ContactEditor editor(home.context(), casa);
        editor.show();
        fill(editor, boxes);
        home.dialogs.expectMessage(QStringLiteral("Numero di cellulare Esistente"), MessageIcon::Critical);
        click(editor, "Command1");
        EXPECT_TRUE(editor.isVisible());
    }
    ContactEditor editor(home.context(), principale);
    editor.show();
    fill(editor, boxes);
    click(editor, "Command1");
    EXPECT_EQ(contactRows(home, casa), QStringList{QStringLiteral("A|Primo|3331234467| |4")});
    EXPECT_EQ(contactRows(home, principale), QStringList{QStringLiteral(" |Secondo|3331234467| |4")});
}

TEST(ContactEditorForm, EditingStoresPictureFour)
{
    TestHome home;
    home.setBooks({principale, casa});
    home.addContact(casa, QStringLiteral("A"), QStringLiteral("Bianchi"), QStringLiteral("3471111111"));
    {
        Recordset rs(Database::open(home.state.folder.bookPath(casa)),
                     queries::wholeTable(QStringLiteral("rubrica")));
        rs.edit();
        rs.setField(u"icona", QStringLiteral("7"));
        rs.update();
    }
    ContactEditor editor(home.context(), casa, listedContact(QStringLiteral("3471111111"), 1));
    editor.show();
    click(editor, "Command1");
    EXPECT_EQ(contactRows(home, casa), QStringList{QStringLiteral("A|Bianchi|3471111111| |4")});
}

TEST(ContactEditorForm, EditingRefusesANumberAnotherContactHoldsAndKeepsItsOwn)
{
    struct Case
    {
        const char* number;
        const char* message; // nullptr: stored
        const char* second;  // the second contact's row afterwards
    };
    const Case cases[] = {
        {"1111111", "Numero di cellulare Esistente", "B|Due|3332222222| |4"},
        {"2222222", nullptr, "Bruno|Due|3332222222| |4"},
        {"9999999", nullptr, "Bruno|Due|3339999999| |4"},
    };
    for (const Case& c : cases) {
        TestHome home;
        home.setBooks({principale, casa});
        home.addContact(casa, QStringLiteral("A"), QStringLiteral("Uno"), QStringLiteral("3331111111"));
        home.addContact(casa, QStringLiteral("B"), QStringLiteral("Due"), QStringLiteral("3332222222"));
        ContactEditor editor(home.context(), casa, listedContact(QStringLiteral("3332222222"), 2));
        editor.show();
        child<QLineEdit>(editor, "Text1")->setText(QStringLiteral("Bruno"));
        child<QLineEdit>(editor, "Text3")->setText(QString::fromUtf8(c.number));
        if (c.message)
            home.dialogs.expectMessage(QString::fromUtf8(c.message), MessageIcon::Critical);
        click(editor, "Command1");
        EXPECT_EQ(editor.isVisible(), c.message != nullptr) << c.number;
        EXPECT_EQ(contactRows(home, casa),
                  QStringList({QStringLiteral("A|Uno|3331111111| |4"), QString::fromUtf8(c.second)}))
            << c.number;
    }
}

TEST(ContactEditorForm, EditingAContactThatIsGoneStoresNothing)
{
    TestHome home;
    home.setBooks({principale, casa});
    home.addContact(casa, QStringLiteral("A"), QStringLiteral("Bianchi"), QStringLiteral("3471111111"));
    ContactEditor editor(home.context(), casa, listedContact(QStringLiteral("3330000000"), 2));
    editor.show();
    EXPECT_EQ(child<QLineEdit>(editor, "Text2")->text(), QString());
    fill(editor, {QStringLiteral("333"), QStringLiteral("0000000"), QStringLiteral("Nuovo"), {}, {}});
    home.dialogs.expectMessage(
        QStringLiteral("Il contatto con il numero \"3330000000\" non è più presente nella "
                       "rubrica: nessuna modifica salvata."),
        MessageIcon::Exclamation);
    click(editor, "Command1");
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(contactRows(home, casa), QStringList{QStringLiteral("A|Bianchi|3471111111| |4")});
}

// ---- Inserimento Nuovi Prefissi ----

TEST(PrefixEditorForm, MovesEntriesAndWritesThemWithTheNewPrefix)
{
    TestHome home;
    home.writeFile(QStringLiteral("Prefissi.txt"),
                   {QStringLiteral("333"), QStringLiteral("347"), QStringLiteral("320")});
    PrefixEditor editor(home.context());
    editor.show();
    QListWidget* list = editor.prefixList();

    list->setCurrentRow(2);
    click(editor, "Command2");
    EXPECT_EQ(entries(list),
              QStringList({QStringLiteral("333"), QStringLiteral("320"), QStringLiteral("347")}));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->currentItem()->isSelected());

    list->setCurrentRow(0);
    click(editor, "Command2");
    list->setCurrentRow(2);
    click(editor, "Command3");
    EXPECT_EQ(entries(list),
              QStringList({QStringLiteral("333"), QStringLiteral("320"), QStringLiteral("347")}));
    list->setCurrentRow(0);
    click(editor, "Command3");
    list->setCurrentRow(1);
    click(editor, "Command2");
    EXPECT_EQ(list->currentRow(), 0);

    auto* input = child<QLineEdit>(editor, "Text1");
    QTest::keyClicks(input, QStringLiteral("39123"));
    EXPECT_EQ(input->text(), QStringLiteral("391"));
    click(editor, "Command1");
    EXPECT_EQ(contentOf(home.path(QStringLiteral("Prefissi.txt"))),
              QByteArray("333\r\n320\r\n347\r\n391\r\n"));
    EXPECT_EQ(input->text(), QString());
    EXPECT_EQ(entries(list).last(), QStringLiteral("391"));
    EXPECT_TRUE(editor.isVisible());
}

TEST(PrefixEditorForm, DoubleClickRemovesAnEntryOnlyUntilOk)
{
    TestHome home;
    home.writeFile(QStringLiteral("Prefissi.txt"),
                   {QStringLiteral("333"), QStringLiteral("347"), QStringLiteral("320")});
    const QByteArray before = contentOf(home.path(QStringLiteral("Prefissi.txt")));
    {
        PrefixEditor editor(home.context());
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
        QListWidget* list = editor.prefixList();
        const QPoint at = list->visualItemRect(list->item(1)).center();
        // A double click is a click followed by the double-click event.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(entries(list), QStringList({QStringLiteral("333"), QStringLiteral("320")}));
        editor.close();
    }
    EXPECT_EQ(contentOf(home.path(QStringLiteral("Prefissi.txt"))), before);
}

TEST(PrefixEditorForm, AMissingFileGivesAnEmptyListAndOkWritesOnlyTheNewPrefix)
{
    TestHome home;
    ASSERT_TRUE(QFile::remove(home.path(QStringLiteral("Prefissi.txt"))));
    PrefixEditor editor(home.context());
    editor.show();
    EXPECT_EQ(editor.prefixList()->count(), 0);
    click(editor, "Command2"); // nothing selected: nothing moves
    child<QLineEdit>(editor, "Text1")->setText(QStringLiteral("391"));
    click(editor, "Command1");
    EXPECT_EQ(contentOf(home.path(QStringLiteral("Prefissi.txt"))), QByteArray("391\r\n"));
    click(editor, "Command1");
    EXPECT_EQ(contentOf(home.path(QStringLiteral("Prefissi.txt"))), QByteArray("391\r\n"));
}

} // namespace
