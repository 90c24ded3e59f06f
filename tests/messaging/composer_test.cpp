#include "batchsupport.h"
#include "core/programstate.h"
#include "messaging/composer.h"
#include "messaging/smscommands.h"
#include "sending/account.h"
#include "tests/support/modalpresser.h"
#include "ui/qtdialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <qwirl-qt/qwirlcontrol.h>

#include <gtest/gtest.h>

#include <optional>

using namespace parlix;
using parlix::test::ModalPresser;
using parlix::test::SandboxHome;
using parlix::test::TestHome;
using parlix::test::waitUntil;

namespace {

const QString warning =
    QStringLiteral("Il testo supera 160 Caratteri, il messaggio verrà spedito utilizzando più di un SMS");

// A factory for composers that must never reach the gateway.
GatewayFactory noGateway()
{
    return [] {
        ADD_FAILURE() << "the gateway was asked";
        return std::unique_ptr<SmsGateway>();
    };
}

// One composer on screen, with its controls found by name.
struct OpenComposer
{
    OpenComposer(AppContext context, const ComposerPreset& preset, GatewayFactory factory = noGateway(),
                 ArchiveNode node = {QStringLiteral("r1"), QStringLiteral("Principale")})
        : composer(context, std::move(factory), std::move(node))
    {
        composer.preset(preset);
        composer.show();
        QCoreApplication::processEvents();
    }

    template <typename W> W* get(const char16_t* name)
    {
        auto* widget = composer.findChild<W*>(QString::fromUtf16(name));
        EXPECT_NE(widget, nullptr) << QString::fromUtf16(name).toStdString();
        return widget;
    }
    QPlainTextEdit* text() { return get<QPlainTextEdit>(u"Text1"); }
    QLineEdit* number() { return get<QLineEdit>(u"Text2"); }
    QString surname() { return get<QLabel>(u"Label2")->text(); }
    QString status() { return get<QLabel>(u"Label21")->text(); }
    void click(const char16_t* button) { get<QPushButton>(button)->click(); }
    bool buttonsEnabled()
    {
        return get<QPushButton>(u"Command1")->isEnabled() && get<QPushButton>(u"Command2")->isEnabled() &&
               get<QPushButton>(u"Command3")->isEnabled();
    }
    bool buttonsDisabled()
    {
        return !get<QPushButton>(u"Command1")->isEnabled() && !get<QPushButton>(u"Command2")->isEnabled() &&
               !get<QPushButton>(u"Command3")->isEnabled();
    }
    // As the window system delivers it: a click, then the double click and its release.
    void doubleClick(const char16_t* label)
    {
        QLabel* target = get<QLabel>(label);
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::mouseDClick(target, Qt::LeftButton);
        QTest::mouseRelease(target, Qt::LeftButton);
    }
    void singleClick(const char16_t* label) { QTest::mouseClick(get<QLabel>(label), Qt::LeftButton); }

    Composer composer;
};

QString letters(int count, char16_t letter = u'a')
{
    return QString(count, QChar(letter));
}

TEST(ComposerText, WarnsOncePerCrossingOf160AndRearmsBelow160)
{
    TestHome home;
    OpenComposer open(home.context(), ComposerPreset::single(QStringLiteral("333"), QStringLiteral("Rossi")));
    QLabel* notice = open.get<QLabel>(u"longTextNotice");
    struct Step
    {
        int length;
        bool warns; // the notice comes up at this step
        bool shown; // the notice is there after it
    };
    // Said beside the text, never in a box that would take the keystrokes.
    // 160 neither warns nor re-arms; only dropping below 160 re-arms.
    for (const Step& step :
         {Step{161, true, true}, Step{162, false, true}, Step{160, false, true}, Step{161, false, true},
          Step{159, false, false}, Step{161, true, true}, Step{100, false, false}, Step{300, true, true}}) {
        notice->clear();
        open.text()->setPlainText(letters(step.length));
        EXPECT_EQ(notice->text(), step.warns ? warning : QString()) << step.length;
        EXPECT_EQ(notice->isVisible(), step.shown) << step.length;
        EXPECT_EQ(open.get<QLabel>(u"Label5")->text(), QString::number(step.length));
    }
    EXPECT_TRUE(home.dialogs.calls().empty());
    open.text()->setPlainText(QStringLiteral("a\nb"));
    EXPECT_EQ(open.get<QLabel>(u"Label5")->text(), QStringLiteral("4"));
}

TEST(ComposerText, EmoticonsAreAlwaysAppendedWithTheCaretAtTheEnd)
{
    TestHome home;
    OpenComposer open(home.context(), ComposerPreset::single(QStringLiteral("333"), QString()));
    open.doubleClick(u"Label6");
    EXPECT_EQ(open.text()->toPlainText(), QStringLiteral(" :-) "));
    EXPECT_EQ(open.text()->textCursor().position(), 5);

    // A symbol wants a double click; a caption one click, even when double clicked.
    open.singleClick(u"Label8");
    open.text()->moveCursor(QTextCursor::Start);
    open.singleClick(u"Label15");
    open.doubleClick(u"Label17");
    EXPECT_EQ(open.text()->toPlainText(), QStringLiteral(" :-)  :-?  :-@ "));
    EXPECT_EQ(open.text()->textCursor().position(), 15);
}

TEST(ComposerText, FlashOnlyThroughAChoiceFromTheList)
{
    TestHome home;
    {
        OpenComposer open(home.context(), ComposerPreset::single(QStringLiteral("333"), QString()));
        EXPECT_FALSE(open.composer.flash());
        auto* combo = open.get<QComboBox>(u"Combo1");
        EXPECT_EQ(combo->currentText(), QStringLiteral("Normale"));
        combo->setEditText(QStringLiteral("Flash"));
        EXPECT_FALSE(open.composer.flash());
        // Typing the word and Enter is no choice from the list, and adds nothing to it.
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("Flash"));
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_FALSE(open.composer.flash());
        QTest::keyClicks(combo->lineEdit(), QStringLiteral("Pippo"));
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(combo->count(), 2);
        QCoreApplication::processEvents();
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        EXPECT_TRUE(open.composer.flash());
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        EXPECT_FALSE(open.composer.flash());
        combo->setCurrentIndex(1);
        emit combo->activated(1);
    }
    OpenComposer again(home.context(), ComposerPreset::single(QStringLiteral("333"), QString()));
    EXPECT_FALSE(again.composer.flash());
}

TEST(ComposerModes, MultipleModeShowsTheListAndLimitsTypingTo160)
{
    TestHome home;
    AppContext context = home.context();
    const auto preset =
        ismsm(context, QStringLiteral("r1"), {QStringLiteral("3331112222"), QStringLiteral("3334445555")});
    ASSERT_TRUE(preset.has_value());
    OpenComposer open(context, *preset);

    EXPECT_EQ(open.number()->text(), QStringLiteral("3331112222;3334445555"));
    EXPECT_EQ(open.composer.recipientString(), QStringLiteral("3331112222;3334445555"));
    EXPECT_EQ(open.composer.recipients(),
              (QStringList{QStringLiteral("3331112222"), QStringLiteral("3334445555")}));
    EXPECT_EQ(open.surname(), QStringLiteral("<lista>"));
    EXPECT_FALSE(open.get<QRadioButton>(u"Option1")->isVisible());
    EXPECT_FALSE(open.get<QRadioButton>(u"Option2")->isVisible());
    EXPECT_FALSE(open.get<QLabel>(u"Label3")->isVisible());
    EXPECT_FALSE(open.get<QPushButton>(u"Command4")->isVisible());
    // The batch serves the list it was given: the box only shows it.
    EXPECT_TRUE(open.number()->isReadOnly());

    open.text()->setPlainText(letters(157));
    open.text()->moveCursor(QTextCursor::End);
    QTest::keyClicks(open.text(), QStringLiteral("bcde"));
    EXPECT_EQ(open.text()->toPlainText(), letters(157) + QStringLiteral("bcd"));
    QTest::keyClick(open.text(), Qt::Key_Return);
    EXPECT_EQ(open.text()->toPlainText().size(), 160);
    // An emoticon is not stopped by the limit; no notice of a split that multiple mode never makes.
    open.singleClick(u"Label10");
    EXPECT_EQ(open.text()->toPlainText().size(), 165);
    EXPECT_FALSE(open.get<QLabel>(u"longTextNotice")->isVisible());
}

TEST(ComposerModes, RecipientStringAndListAsTheCallerGaveThem)
{
    TestHome home;
    struct Case
    {
        ComposerPreset preset;
        QString shown;
        QStringList recipients;
    };
    const Case cases[] = {
        // A contact without a number stays a recipient wherever it stands; only one final ";" goes.
        {ComposerPreset::multiple({QString(), QStringLiteral("333"), QString()}),
         QStringLiteral(";333;"),
         {QString(), QStringLiteral("333"), QString()}},
        // A list saved from multiple mode ends in ";", which separates nothing.
        {ComposerPreset::saved(QStringLiteral("333;444;"), QStringLiteral("<lista>"), QStringLiteral("ciao")),
         QStringLiteral("333;444"),
         {QStringLiteral("333"), QStringLiteral("444")}},
        // A saved list has no final ";": every character stays.
        {ComposerPreset::saved(QStringLiteral("333;444"), QStringLiteral("<lista>"), QStringLiteral("ciao")),
         QStringLiteral("333;444"),
         {QStringLiteral("333"), QStringLiteral("444")}},
    };
    for (const Case& c : cases) {
        OpenComposer open(home.context(), c.preset);
        EXPECT_EQ(open.number()->text(), c.shown);
        EXPECT_EQ(open.composer.recipients(), c.recipients);
    }
    OpenComposer saved(home.context(), ComposerPreset::saved(QStringLiteral("333"), QStringLiteral("Rossi"),
                                                             QStringLiteral("riga 1\r\nriga 2")));
    EXPECT_EQ(saved.text()->toPlainText(), QStringLiteral("riga 1\nriga 2"));
    EXPECT_EQ(saved.surname(), QStringLiteral("Rossi"));
    EXPECT_TRUE(saved.get<QPushButton>(u"Command4")->isVisible());
}

TEST(ComposerModes, MultipleModeWithoutRecipientsClosesAfterSayingSo)
{
    TestHome home;
    home.dialogs.expectMessage(QStringLiteral("Nessun contatto selezionato"), MessageIcon::Exclamation);
    OpenComposer open(home.context(), ComposerPreset::multiple({}));
    ASSERT_TRUE(waitUntil([&] { return !open.composer.isVisible(); }));
    EXPECT_EQ(open.composer.result(), QDialog::Rejected);
}

TEST(ComposerSave, InternationalPrefixIsRemovedAfterAsking)
{
    struct Case
    {
        const char16_t* number;
        const char16_t* question; // nothing: no question
        Answer answer;
        const char16_t* stored; // nothing: nothing stored
    };
    const Case cases[] = {
        {u"+393331112222", u"+39", Answer::Ok, u"3331112222"},
        {u"0393331112222", u"039", Answer::Ok, u"3331112222"},
        {u"00393331112222", u"0039", Answer::Ok, u"3331112222"},
        {u"+393331112222", u"+39", Answer::Cancel, nullptr},
        // A foreign number keeps its country code, as it does when sent.
        {u"+447700900123", nullptr, Answer::Ok, u"+447700900123"},
        {u"3331112222", nullptr, Answer::Ok, u"3331112222"},
    };
    for (const Case& c : cases) {
        TestHome home;
        OpenComposer open(home.context(), ComposerPreset::single(QString::fromUtf16(c.number), QString()));
        open.text()->setPlainText(QStringLiteral("Ci vediamo\nalle 8"));
        if (c.question)
            home.dialogs.expectMessage(
                QStringLiteral("Prefisso internazionele non necessario rimuovo il prefisso ") +
                    QString::fromUtf16(c.question),
                MessageIcon::None, c.answer);
        open.click(u"Command3");
        const QStringList rows =
            home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("salvati"));
        if (c.stored) {
            EXPECT_EQ(rows, QStringList{QStringLiteral(" |") + QString::fromUtf16(c.stored) +
                                        QStringLiteral("|14/03/2026 09:26:53|Ci vediamo\r\nalle 8")});
            EXPECT_FALSE(open.composer.isVisible());
        } else {
            EXPECT_TRUE(rows.isEmpty());
            EXPECT_TRUE(open.composer.isVisible());
        }
    }
}

TEST(ComposerSave, ListGoesToTheSelectedBookAsOneRow)
{
    TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Casa")});
    int refills = 0;
    OpenComposer open(home.context(),
                      ComposerPreset::multiple({QStringLiteral("333"), QStringLiteral("444")}), noGateway(),
                      {QStringLiteral("s2"), QStringLiteral("Casa")});
    QObject::connect(&open.composer, &Composer::archiveChanged, [&] { ++refills; });
    open.text()->setPlainText(QStringLiteral("Riunione"));
    open.click(u"Command3");
    EXPECT_EQ(home.rows(home.state.folder.bookPath(QStringLiteral("Casa")), QStringLiteral("salvati")),
              QStringList{QStringLiteral("<lista>|333;444|14/03/2026 09:26:53|Riunione")});
    EXPECT_EQ(refills, 1);
}

TEST(ComposerSave, MissingNumberTextOrBookIsToldAndNothingIsSaved)
{
    TestHome home;
    struct Case
    {
        const char16_t* number;
        const char16_t* text;
        ArchiveNode node;
        QString message;
    };
    const ArchiveNode principale{QStringLiteral("r1"), QStringLiteral("Principale")};
    const Case cases[] = {
        {u"", u"ciao", principale, QStringLiteral("Numero telefonico mancante")},
        {u"3331112222", u"", principale, QStringLiteral("Testo SMS Mancante")},
        {u"33a1", u"ciao", principale, QStringLiteral("Inserire un Numero di cellulare Valido")},
        {u"12", u"ciao", principale, QStringLiteral("Inserire un Numero di cellulare Valido")},
        {u"+3912345678901234567890", u"ciao", principale,
         QStringLiteral("Inserire un Numero di cellulare Valido")},
        {u"3331112222",
         u"ciao",
         {QStringLiteral("r2"), QStringLiteral("Sparita")},
         QStringLiteral("Impossibile aprire l'archivio \"%1\".")
             .arg(home.state.folder.bookPath(QStringLiteral("Sparita")))},
    };
    for (const Case& c : cases) {
        OpenComposer open(home.context(), ComposerPreset::single(QString::fromUtf16(c.number), QString()),
                          noGateway(), c.node);
        open.text()->setPlainText(QString::fromUtf16(c.text));
        home.dialogs.expectMessage(c.message, MessageIcon::Critical);
        open.click(u"Command3");
        EXPECT_TRUE(open.composer.isVisible());
        EXPECT_TRUE(open.buttonsEnabled());
    }
    EXPECT_TRUE(home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("salvati"))
                    .isEmpty());
}

TEST(ComposerSend, TextsThatCannotBeSentAreRefusedWithTheButtonsUsable)
{
    struct Told
    {
        QString text;
        MessageIcon icon;
        Answer answer = Answer::Ok;
    };
    struct Case
    {
        ComposerPreset preset;
        QString text;
        std::vector<Told> messages;
    };
    const QString invalid = QStringLiteral("Inserire un Numero di cellulare Valido");
    const QString number = QStringLiteral("3331112222");
    const Case cases[] = {
        {ComposerPreset::single(number, QString()),
         QString(),
         {{QStringLiteral("Testo SMS Mancante"), MessageIcon::Critical}}},
        {ComposerPreset::single(QString(), QString()),
         QStringLiteral("ciao"),
         {{QStringLiteral("Numero telefonico mancante"), MessageIcon::Critical}}},
        {ComposerPreset::single(QStringLiteral("33a1"), QString()),
         QStringLiteral("ciao"),
         {{invalid, MessageIcon::Critical}}},
        {ComposerPreset::single(QStringLiteral("12"), QString()),
         QStringLiteral("ciao"),
         {{invalid, MessageIcon::Critical}}},
        {ComposerPreset::single(QStringLiteral("12345678901234567890"), QString()),
         QStringLiteral("ciao"),
         {{invalid, MessageIcon::Critical}}},
        {ComposerPreset::single(number, QString()),
         letters(1601),
         {{QStringLiteral(
               "Il testo richiede 11 SMS: il limite è di 10 SMS per messaggio. Accorciare il testo "
               "prima dell'invio."),
           MessageIcon::Exclamation}}},
        // Refused before the notice that the sending will take minutes.
        {ComposerPreset::saved(QStringLiteral("333;444"), QString(), letters(170)),
         QString(),
         {{QStringLiteral("Gli SMS Multipli non possono superare 160 caratteri: il testo ne contiene 170. "
                          "Accorciare il testo prima dell'invio."),
           MessageIcon::Exclamation}}},
        // Characters the gateway cannot carry: the user goes back to the text.
        {ComposerPreset::single(number, QString()),
         QStringLiteral("Cześć Łukasz 😀 ś"),
         {{QStringLiteral("Questi caratteri non possono essere spediti e arriveranno come \"?\": ś ć Ł 😀\n"
                          "Inviare comunque il messaggio?"),
           MessageIcon::Exclamation, Answer::No}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.preset.recipientString.toStdString());
        TestHome home;
        OpenComposer open(home.context(), c.preset);
        if (!c.text.isEmpty())
            open.text()->setPlainText(c.text);
        for (const Told& told : c.messages)
            home.dialogs.expectMessage(told.text, told.icon, told.answer);
        open.click(u"Command1");
        EXPECT_TRUE(home.dialogs.done());
        EXPECT_TRUE(open.buttonsEnabled());
        EXPECT_TRUE(open.composer.isVisible());
        EXPECT_FALSE(open.composer.batchRunning());
    }
}

TEST(ComposerSend, CharactersWithoutACodeGoAsQuestionMarksWhenTheUserSendsAnyway)
{
    SandboxHome box;
    OpenComposer open(box.home.context(), ComposerPreset::single(QStringLiteral("3331112222"), QString()),
                      box.factory());
    open.text()->setPlainText(QStringLiteral("Cześć, è già"));
    box.home.dialogs.expectMessage(QStringLiteral("Questi caratteri non possono essere spediti e arriveranno "
                                                  "come \"?\": ś ć\nInviare comunque il messaggio?"),
                                   MessageIcon::Exclamation, Answer::Yes);
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    open.click(u"Command1");
    ASSERT_TRUE(waitUntil([&] { return !open.composer.isVisible(); }));
    EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||Cze??, è già")});
}

TEST(ComposerSend, AFailedCreditQueryKeepsTheTextForAnotherTry)
{
    SandboxHome box;
    ASSERT_TRUE(
        (Account{QStringLiteral("demo"), QStringLiteral("sbagliata"), 2}).save(box.home.state.folder));
    OpenComposer open(box.home.context(), ComposerPreset::single(QStringLiteral("3331112222"), QString()),
                      box.factory());
    open.text()->setPlainText(QStringLiteral("A domani"));
    box.home.dialogs.expectMessage(
        QStringLiteral("Il servizio SMS non riconosce login e password.\n"
                       "Verificarli dal menu \"Gestione Account\", voce \"Dati Account\"."),
        MessageIcon::Exclamation);
    open.click(u"Command1");
    ASSERT_TRUE(waitUntil([&] { return box.home.dialogs.done() && open.buttonsEnabled(); }));
    EXPECT_TRUE(open.composer.isVisible());
    EXPECT_EQ(open.text()->toPlainText(), QStringLiteral("A domani"));
    EXPECT_TRUE(open.text()->isEnabled());

    // The account is put right: the same window sends.
    ASSERT_TRUE((Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}).save(box.home.state.folder));
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    open.click(u"Command1");
    ASSERT_TRUE(waitUntil([&] { return !open.composer.isVisible(); }));
    EXPECT_EQ(box.sentSms(), QStringList{QStringLiteral("+393331112222|TEXT||A domani")});
    // The batch went through the composer's own gateway control, set from the account.
    const auto* control = open.composer.findChild<qwirl::QwirlControl*>(QStringLiteral("QWIRL1"));
    ASSERT_TRUE(control);
    EXPECT_EQ(control->login(), QStringLiteral("demo"));
    EXPECT_EQ(control->Quality(), 2);
    EXPECT_FALSE(control->isVisible());
}

// The road of one message: typed in the composer, sent through the sandbox.
TEST(ComposerSend, SingleModeThreePartsThroughTheSandbox)
{
    SandboxHome box({"--credit", "10", "--delay", "30"});
    OpenComposer open(box.home.context(),
                      ismss({}, {QStringLiteral("3331112222"), QStringLiteral("Rossi"), {}, {}}),
                      box.factory());
    std::optional<double> remaining;
    int refills = 0;
    QObject::connect(&open.composer, &Composer::creditChanged, [&](double r) { remaining = r; });
    QObject::connect(&open.composer, &Composer::archiveChanged, [&] { ++refills; });
    const QString text = letters(160, u'a') + letters(160, u'b') + letters(30, u'c');
    open.text()->setPlainText(text);
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);

    open.click(u"Command1");
    EXPECT_TRUE(open.buttonsDisabled());
    EXPECT_EQ(open.status(), QStringLiteral("Verifica Credito"));
    // While the batch runs the composer cannot be closed.
    open.composer.reject();
    EXPECT_TRUE(open.composer.isVisible());
    ASSERT_TRUE(waitUntil([&] { return !open.composer.isVisible(); }));

    EXPECT_EQ(box.sentSms(), (QStringList{QStringLiteral("+393331112222|TEXT||") + letters(160, u'a'),
                                          QStringLiteral("+393331112222|TEXT||") + letters(160, u'b'),
                                          QStringLiteral("+393331112222|TEXT||") + letters(30, u'c')}));
    EXPECT_EQ(box.sentRecords(), QStringList{QStringLiteral("Rossi|3331112222|14/03/2026 09:26:53|") + text});
    EXPECT_EQ(box.residui(), QStringLiteral("7\r\n"));
    EXPECT_EQ(remaining, 7.0);
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(open.status(), QStringLiteral("Invio Completato"));
    EXPECT_EQ(open.get<QProgressBar>(u"batchProgress")->value(), 3);
    EXPECT_EQ(open.composer.result(), QDialog::Accepted);
}

TEST(ComposerSend, WordModeSendsWholeWords)
{
    SandboxHome box;
    OpenComposer open(box.home.context(), ComposerPreset::single(QStringLiteral("+41791234567"), QString()),
                      box.factory());
    QStringList words;
    for (int i = 0; i < 34; ++i)
        words << QStringLiteral("p%1").arg(i, 3, 10, QChar(u'0'));
    open.text()->setPlainText(words.join(u' '));
    open.get<QRadioButton>(u"Option2")->setChecked(true);
    box.home.dialogs.expectMessage(QStringLiteral("Messaggio/i  inviato correttamente"),
                                   MessageIcon::Information);
    open.click(u"Command1");
    ASSERT_TRUE(waitUntil([&] { return !open.composer.isVisible(); }));
    EXPECT_EQ(box.sentSms(),
              (QStringList{QStringLiteral("+41791234567|TEXT||") + words.mid(0, 32).join(u' ') + u' ',
                           QStringLiteral("+41791234567|TEXT||") + words.mid(32).join(u' ') + u' '}));
}

TEST(ComposerSend, InsufficientCreditLeavesTheComposerOpenUntilClosed)
{
    SandboxHome box({"--credit", "2"});
    AppContext context = box.home.context();
    const auto preset =
        ismsm(context, QStringLiteral("r1"),
              {QStringLiteral("3331112222"), QStringLiteral("3334445555"), QStringLiteral("3337778888")});
    ASSERT_TRUE(preset.has_value());
    OpenComposer open(context, *preset, box.factory());
    open.text()->setPlainText(QStringLiteral("Chiuso per ferie"));
    box.home.dialogs.expectMessage(
        QStringLiteral(
            "L'invio di SMS Multipli può richiedere alcuni minuti non interrompere il software durante "
            "l'elaborazione\nFare click su OK per procedere con l'invio degli sms"),
        MessageIcon::Information);
    box.home.dialogs.expectMessage(QStringLiteral("Credito insufficiente"), MessageIcon::Critical);
    open.click(u"Command1");
    ASSERT_TRUE(waitUntil([&] { return box.home.dialogs.done(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(open.composer.isVisible());
    // Only sending stays impossible: the text can be read, copied and saved for later.
    EXPECT_FALSE(open.get<QPushButton>(u"Command1")->isEnabled());
    EXPECT_TRUE(open.get<QPushButton>(u"Command2")->isEnabled());
    EXPECT_TRUE(open.get<QPushButton>(u"Command3")->isEnabled());
    EXPECT_TRUE(open.text()->isEnabled());
    EXPECT_EQ(open.status(), QStringLiteral("Verifica Credito"));
    EXPECT_TRUE(box.sentSms().isEmpty());
    EXPECT_TRUE(box.sentRecords().isEmpty());
    open.click(u"Command3");
    EXPECT_FALSE(open.composer.isVisible());
    const QStringList saved = box.home.rows(box.home.state.folder.bookPath(QStringLiteral("Principale")),
                                            QStringLiteral("salvati"));
    EXPECT_EQ(saved,
              QStringList{QStringLiteral("<lista>|3331112222;3334445555;3337778888|14/03/2026 09:26:53|"
                                         "Chiuso per ferie")});
}

} // namespace

namespace {

const QString discardQuestion =
    QStringLiteral("Il messaggio scritto non è stato inviato. Chiudere e perderlo?");

void pressEscape(QWidget* target)
{
    QTest::keyClick(target, Qt::Key_Escape);
    QCoreApplication::processEvents();
}

TEST(ComposerClose, EveryWayOutAsksBeforeThrowingAwayTypedText)
{
    enum class Way { Escape, Cancel, CloseBox, Search };
    const ComposerPreset typedPreset = ComposerPreset::single(QStringLiteral("333"), QStringLiteral("Rossi"));
    const struct
    {
        const char* what;
        Way way;
        ComposerPreset preset;
        QString typed;
        std::optional<Answer> asked; // nothing: the composer closes without a question
        bool closes;
    } cases[] = {
        {"nothing typed", Way::Escape, typedPreset, {}, {}, true},
        {"typed, keep it", Way::Escape, typedPreset, QStringLiteral("Ciao"), Answer::No, false},
        {"typed, throw it away", Way::Escape, typedPreset, QStringLiteral("Ciao"), Answer::Yes, true},
        {"a saved message untouched",
         Way::Escape,
         ComposerPreset::saved(QStringLiteral("333"), QStringLiteral("Rossi"), QStringLiteral("Salvato")),
         {},
         {},
         true},
        {"Annulla, keep it", Way::Cancel, typedPreset, QStringLiteral("Ciao"), Answer::No, false},
        {"Annulla, nothing typed", Way::Cancel, typedPreset, {}, {}, true},
        {"close box, keep it", Way::CloseBox, typedPreset, QStringLiteral("Ciao"), Answer::No, false},
        {"close box, throw it away", Way::CloseBox, typedPreset, QStringLiteral("Ciao"), Answer::Yes, true},
        {"contact search, keep it", Way::Search, typedPreset, QStringLiteral("Ciao"), Answer::No, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestHome home;
        OpenComposer open(home.context(), c.preset);
        if (!c.typed.isEmpty())
            QTest::keyClicks(open.text(), c.typed);
        if (c.asked)
            home.dialogs.expectMessage(discardQuestion, MessageIcon::Question, *c.asked);
        switch (c.way) {
        case Way::Escape:
            pressEscape(open.text());
            break;
        case Way::Cancel:
            open.click(u"Command2");
            break;
        case Way::CloseBox:
            open.composer.close();
            break;
        case Way::Search:
            open.click(u"Command4");
            break;
        }
        EXPECT_TRUE(home.dialogs.done());
        EXPECT_EQ(open.composer.isVisible(), !c.closes);
        if (c.asked) {
            EXPECT_EQ(home.dialogs.calls().back().buttons, MessageButtons::YesNoDefaultNo);
        }
    }
}

using namespace Qt::StringLiterals;

// Tab walks the window as it is read; nothing typed after the number can
// reach the contact search, which comes last.
TEST(ComposerKeyboard, TabGoesNumberTextEmoticonsOptionsButtonsSearchLast)
{
    TestHome home;
    OpenComposer open(home.context(), ComposerPreset::single(QStringLiteral("333"), QStringLiteral("Rossi")));
    open.composer.activateWindow();
    open.number()->setFocus();
    // The date and time box takes Tab from section to section before it lets go.
    QStringList chain;
    for (int i = 0; i < 30 && QApplication::focusWidget()->objectName() != u"Command4"_s; ++i) {
        if (chain.isEmpty() || chain.last() != QApplication::focusWidget()->objectName())
            chain << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(chain.join(u' ').toStdString(),
              "Text2 Text1 Label10 Label11 Label12 Label13 Label15 Label17 Option1 "
              "Combo1 scheduleButton scheduleTime Command3 Command2 Command1");
    EXPECT_EQ(QApplication::focusWidget()->objectName(), u"Command4"_s);

    // An emoticon's caption takes Space like a click.
    auto* caption = open.get<QLabel>(u"Label10");
    caption->setFocus();
    QTest::keyClick(caption, Qt::Key_Space);
    EXPECT_TRUE(open.text()->toPlainText().endsWith(u" :-) "_s));
}

TEST(ComposerClose, EscQuestionIsARealBoxWhoseNoKeepsTheText)
{
    TestHome home;
    QtDialogs dialogs;
    OpenComposer open(AppContext{home.state, dialogs, home.clock},
                      ComposerPreset::single(QStringLiteral("333"), QStringLiteral("Rossi")));
    QTest::keyClicks(open.text(), QStringLiteral("Ciao"));
    ModalPresser presser;
    presser.press(QStringLiteral("No"));
    pressEscape(open.text());
    EXPECT_TRUE(presser.done());
    EXPECT_EQ(presser.texts(), QStringList{discardQuestion});
    EXPECT_TRUE(open.composer.isVisible());
    EXPECT_EQ(open.text()->toPlainText(), QStringLiteral("Ciao"));

    presser.press(QStringLiteral("Sì"));
    pressEscape(open.text());
    EXPECT_TRUE(presser.done());
    EXPECT_FALSE(open.composer.isVisible());
}

} // namespace
