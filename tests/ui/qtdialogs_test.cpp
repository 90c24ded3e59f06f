// The dialogs service over Qt's real boxes, answered by pressing their buttons.
#include "tests/support/modalpresser.h"
#include "ui/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace parlix;
using parlix::test::ModalPresser;

namespace {

struct MessageCase
{
    MessageButtons buttons;
    const char* press; // a caption, or "" for the Escape key
    Answer expected;
};

TEST(QtDialogs, EveryButtonOfEveryMessageBoxGivesItsAnswer)
{
    const MessageCase cases[] = {
        {MessageButtons::Ok, "OK", Answer::Ok},
        {MessageButtons::Ok, "", Answer::Ok},
        {MessageButtons::OkCancel, "OK", Answer::Ok},
        {MessageButtons::OkCancel, "Annulla", Answer::Cancel},
        {MessageButtons::OkCancel, "", Answer::Cancel},
        {MessageButtons::YesNo, "Sì", Answer::Yes},
        {MessageButtons::YesNo, "No", Answer::No},
        {MessageButtons::YesNoCancel, "Sì", Answer::Yes},
        {MessageButtons::YesNoCancel, "No", Answer::No},
        {MessageButtons::YesNoCancel, "Annulla", Answer::Cancel},
        {MessageButtons::YesNoCancel, "", Answer::Cancel},
    };
    QtDialogs dialogs;
    for (const MessageCase& row : cases) {
        SCOPED_TRACE(std::string("button ") + row.press + " of kind " + std::to_string(int(row.buttons)));
        ModalPresser presser;
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        const auto look = [&](QWidget* box) {
            title = box->windowTitle();
            icon = qobject_cast<QMessageBox*>(box)->icon();
        };
        if (*row.press)
            presser.press(QString::fromUtf8(row.press), look);
        else
            presser.escape();
        const Answer answer =
            dialogs.message(QStringLiteral("Confermi?"), MessageIcon::Exclamation, row.buttons, {});
        EXPECT_EQ(answer, row.expected);
        EXPECT_TRUE(presser.done());
        EXPECT_EQ(presser.texts(), QStringList{QStringLiteral("Confermi?")});
        if (*row.press) {
            EXPECT_EQ(title, QStringLiteral("Parlix"));
            EXPECT_EQ(icon, QMessageBox::Warning);
        }
    }
}

TEST(QtDialogs, EnterGivesTheFirstAnswerUnlessItThrowsSomethingAway)
{
    const std::pair<MessageButtons, Answer> cases[] = {
        {MessageButtons::YesNo, Answer::Yes},
        {MessageButtons::YesNoDefaultNo, Answer::No},
        {MessageButtons::OkCancel, Answer::Ok},
        {MessageButtons::OkCancelDefaultCancel, Answer::Cancel},
    };
    QtDialogs dialogs;
    for (const auto& [buttons, expected] : cases) {
        SCOPED_TRACE(int(buttons));
        QTimer enter;
        QObject::connect(&enter, &QTimer::timeout, [&enter] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                enter.stop();
                QTest::keyClick(box, Qt::Key_Return);
            }
        });
        enter.start(20);
        EXPECT_EQ(dialogs.message(QStringLiteral("Cancellare?"), MessageIcon::Question, buttons, {}),
                  expected);
    }
}

TEST(QtDialogs, InputBoxGivesTheTypedTextUpToItsLimitOrNothingOnCancel)
{
    QtDialogs dialogs;
    const auto typeInto = [](const QString& keys) {
        return [keys](QWidget* box) {
            auto* edit = box->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            edit->selectAll();
            QTest::keyClicks(edit, keys);
        };
    };
    ModalPresser presser;
    presser.press(QStringLiteral("OK"), typeInto(QStringLiteral("Condominio Verdi")));
    EXPECT_EQ(dialogs.input(QStringLiteral("Nome"), QStringLiteral("Nuova"), QStringLiteral("x"), 10),
              std::optional<QString>(QStringLiteral("Condominio")));
    presser.press(QStringLiteral("OK"));
    EXPECT_EQ(dialogs.input(QStringLiteral("Nome"), QStringLiteral("Nuova"), QStringLiteral("Casa"), 0),
              std::optional<QString>(QStringLiteral("Casa")));
    presser.press(QStringLiteral("Annulla"), typeInto(QStringLiteral("Ufficio")));
    EXPECT_EQ(dialogs.input(QStringLiteral("Nome"), QStringLiteral("Nuova"), QString(), 0), std::nullopt);

    // The box is wide enough for its whole title in bold beside the title bar's buttons.
    int width = 0;
    presser.press(QStringLiteral("OK"), [&](QWidget* box) { width = box->width(); });
    dialogs.input(QStringLiteral("Nuovo Nome Rubrica"), QStringLiteral("Modifica Rubrica"), QString(), 0);
    QFont bold;
    bold.setBold(true);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(QStringLiteral("Modifica Rubrica")) + 160);
    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(), QStringList(3, QStringLiteral("Nuova")) << QStringLiteral("Modifica Rubrica"));
}

TEST(QtDialogs, FileDialogsGiveTheChosenPathOrNothingOnCancel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = dir.filePath(QStringLiteral("contatti.csv"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const auto name = [](const QString& text) {
        return [text](QWidget* box) {
            auto* edit = box->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(edit, nullptr);
            edit->setText(text);
        };
    };
    const QString filter = QStringLiteral("Testo (*.csv *.txt)");
    QtDialogs dialogs;
    ModalPresser presser;

    presser.press(QStringLiteral("Open"), name(QStringLiteral("contatti.csv")));
    EXPECT_EQ(dialogs.openFile(QStringLiteral("Importa"), dir.path(), filter), existing);
    presser.press(QStringLiteral("Cancel"), name(QStringLiteral("contatti.csv")));
    EXPECT_EQ(dialogs.openFile(QStringLiteral("Importa"), dir.path(), filter), QString());

    presser.press(QStringLiteral("Save"), name(QStringLiteral("nuovi.csv")));
    EXPECT_EQ(dialogs.saveFile(QStringLiteral("Esporta"), dir.path(), filter),
              dir.filePath(QStringLiteral("nuovi.csv")));
    presser.press(QStringLiteral("Cancel"), name(QStringLiteral("nuovi.csv")));
    EXPECT_EQ(dialogs.saveFile(QStringLiteral("Esporta"), dir.path(), filter), QString());

    presser.press(QStringLiteral("Choose"));
    EXPECT_EQ(QDir(dialogs.chooseFolder(QStringLiteral("Cartella"), dir.path())), QDir(dir.path()));
    presser.press(QStringLiteral("Cancel"));
    EXPECT_EQ(dialogs.chooseFolder(QStringLiteral("Cartella"), dir.path()), QString());

    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(), (QStringList{QStringLiteral("Importa"), QStringLiteral("Importa"),
                                            QStringLiteral("Esporta"), QStringLiteral("Esporta"),
                                            QStringLiteral("Cartella"), QStringLiteral("Cartella")}));
}

} // namespace
