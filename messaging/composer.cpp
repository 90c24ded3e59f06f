#include "composer.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "messaging/clickablelabel.h"
#include "messaging/controlgateway.h"
#include "messaging/messagetextedit.h"
#include "sending/mergetemplate.h"
#include "sending/messagesplitter.h"
#include "sending/phonenumbercheck.h"
#include "sending/scheduledstore.h"
#include "store/storeerror.h"
#include "ui/mnemonics.h"

#include <qwirl-qt/qwirlcontrol.h>
#include <qwirl/control.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace parlix {

namespace {

struct Emoticon
{
    const char16_t* symbolName;
    const char16_t* symbol;
    const char16_t* captionName;
    const char16_t* caption;
};

constexpr Emoticon emoticons[] = {
    {u"Label6", u":-)", u"Label10", u"Allegro"},  {u"Label8", u":-))", u"Label11", u"Sorridente"},
    {u"Label7", u":-(", u"Label12", u"Triste"},   {u"Label9", u":-o", u"Label13", u"Meravigliato"},
    {u"Label14", u":-?", u"Label15", u"Confuso"}, {u"Label16", u":-@", u"Label17", u"Smack"},
};

QString longTextWarning()
{
    return QStringLiteral(
        "Il testo supera 160 Caratteri, il messaggio verrà spedito utilizzando più di un SMS");
}

// The Italian international prefix a number to be saved begins with, if any.
QString italianPrefix(const QString& number)
{
    for (const QString& prefix : {QStringLiteral("+39"), QStringLiteral("0039"), QStringLiteral("039")}) {
        if (number.startsWith(prefix))
            return prefix;
    }
    return {};
}

QLabel* namedLabel(const QString& text, const char16_t* name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf16(name));
    return label;
}

QIcon magnifyingGlass()
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkGray, 2.5));
    painter.setBrush(QColor(200, 225, 255));
    painter.drawEllipse(QRectF(3, 3, 12, 12));
    painter.setPen(QPen(QColor(120, 80, 40), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
    return QIcon(pixmap);
}

} // namespace

Composer::Composer(AppContext context, GatewayFactory factory, ArchiveNode selected, QWidget* parent)
    : QDialog(parent), context_(context), factory_(std::move(factory)), selected_(std::move(selected))
{
    build();
}

Composer::~Composer() = default;

void Composer::build()
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Composizione SMS"));
    setModal(true);

    gatewayControl_ = new qwirl::QwirlControl(this);
    gatewayControl_->setObjectName(QStringLiteral("QWIRL1"));

    auto* layout = new QVBoxLayout(this);

    auto* numberRow = new QHBoxLayout;
    numberTitle_ = namedLabel(QStringLiteral("Cellulare"), u"Label3", this);
    numberEdit_ = new QLineEdit(this);
    numberEdit_->setObjectName(QStringLiteral("Text2"));
    searchButton_ = new QPushButton(magnifyingGlass(), QString(), this);
    searchButton_->setObjectName(QStringLiteral("Command4"));
    searchButton_->setToolTip(QStringLiteral("Cerca contatto"));
    numberTitle_->setBuddy(numberEdit_);
    numberRow->addWidget(numberTitle_);
    numberRow->addWidget(numberEdit_, 1);
    numberRow->addWidget(searchButton_);
    layout->addLayout(numberRow);

    auto* surnameRow = new QHBoxLayout;
    surnameRow->addWidget(namedLabel(QStringLiteral("Cognome"), u"Label1", this));
    surnameLabel_ = namedLabel(QString(), u"Label2", this);
    surnameRow->addWidget(surnameLabel_, 1);
    layout->addLayout(surnameRow);

    auto* titleRow = new QHBoxLayout;
    QLabel* textTitle = namedLabel(QStringLiteral("Testo Sms"), u"Label20", this);
    titleRow->addWidget(textTitle);
    titleRow->addStretch(1);
    titleRow->addWidget(namedLabel(QStringLiteral("Caratteri utilizzati"), u"Label4", this));
    counterLabel_ = namedLabel(QStringLiteral("0"), u"Label5", this);
    counterLabel_->setMinimumWidth(40);
    titleRow->addWidget(counterLabel_);
    layout->addLayout(titleRow);

    auto* textRow = new QHBoxLayout;
    textEdit_ = new MessageTextEdit(this);
    textEdit_->setObjectName(QStringLiteral("Text1"));
    textTitle->setBuddy(textEdit_);
    textRow->addWidget(textEdit_, 1);
    emoticons_ = buildEmoticons();
    textRow->addWidget(emoticons_);
    layout->addLayout(textRow, 1);

    // Said beside the text rather than in a box, so typing goes on undisturbed.
    longTextNotice_ = namedLabel(QString(), u"longTextNotice", this);
    longTextNotice_->setWordWrap(true);
    longTextNotice_->setFrameShape(QFrame::StyledPanel);
    longTextNotice_->hide();
    layout->addWidget(longTextNotice_);

    auto* optionRow = new QHBoxLayout;
    fixedSplit_ = new QRadioButton(QStringLiteral("Suddividi ogni 160 caratteri"), this);
    fixedSplit_->setObjectName(QStringLiteral("Option1"));
    fixedSplit_->setChecked(true);
    wordSplit_ = new QRadioButton(QStringLiteral("Suddividi allo spazio più prossimo"), this);
    wordSplit_->setObjectName(QStringLiteral("Option2"));
    typeCombo_ = new QComboBox(this);
    typeCombo_->setObjectName(QStringLiteral("Combo1"));
    typeCombo_->setEditable(true);
    // Only a choice from the list counts: typing a word and Enter adds nothing.
    typeCombo_->setInsertPolicy(QComboBox::NoInsert);
    typeCombo_->lineEdit()->installEventFilter(this);
    typeCombo_->addItems({QStringLiteral("Normale"), QStringLiteral("Flash")});
    optionRow->addWidget(fixedSplit_);
    optionRow->addWidget(wordSplit_);
    optionRow->addStretch(1);
    optionRow->addWidget(typeCombo_);
    layout->addLayout(optionRow);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(namedLabel(QStringLiteral(" Stato  Servizio"), u"Label22", this));
    statusLabel_ = namedLabel(QString(), u"Label21", this);
    statusLabel_->setFrameShape(QFrame::StyledPanel);
    statusRow->addWidget(statusLabel_, 1);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("batchProgress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    statusRow->addWidget(progress_);
    layout->addLayout(statusRow);

    auto* buttonRow = new QHBoxLayout;
    // A batch may also be kept for a chosen time and sent then.
    scheduleTime_ = new QDateTimeEdit(context_.clock.now().addSecs(3600), this);
    scheduleTime_->setObjectName(QStringLiteral("scheduleTime"));
    scheduleTime_->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
    scheduleTime_->setCalendarPopup(true);
    scheduleTime_->setAccessibleName(QStringLiteral("Data e ora dell'invio programmato"));
    scheduleButton_ = new QPushButton(QStringLiteral("Invia alle…"), this);
    scheduleButton_->setObjectName(QStringLiteral("scheduleButton"));
    scheduleButton_->setAutoDefault(false);
    buttonRow->addWidget(scheduleButton_);
    buttonRow->addWidget(scheduleTime_);
    buttonRow->addStretch(1);
    saveButton_ = new QPushButton(QStringLiteral("&Salva SMS"), this);
    saveButton_->setObjectName(QStringLiteral("Command3"));
    closeButton_ = new QPushButton(QStringLiteral("&Annulla"), this);
    closeButton_->setObjectName(QStringLiteral("Command2"));
    sendButton_ = new QPushButton(QStringLiteral("&Invia"), this);
    sendButton_->setObjectName(QStringLiteral("Command1"));
    for (QPushButton* button : {saveButton_, closeButton_, sendButton_}) {
        button->setAutoDefault(false);
        buttonRow->addWidget(button);
    }
    layout->addLayout(buttonRow);

    connect(numberEdit_, &QLineEdit::textChanged, this, &Composer::numberEdited);
    connect(textEdit_, &QPlainTextEdit::textChanged, this, &Composer::textEdited);
    connect(typeCombo_, &QComboBox::activated, this, &Composer::flashChosen);
    connect(sendButton_, &QPushButton::clicked, this, &Composer::send);
    connect(scheduleButton_, &QPushButton::clicked, this, &Composer::schedule);
    connect(saveButton_, &QPushButton::clicked, this, &Composer::save);
    connect(closeButton_, &QPushButton::clicked, this, &Composer::reject);
    connect(searchButton_, &QPushButton::clicked, this, &Composer::search);
    mnemonics::assign(*this);
    setTabOrder();
    resize(640, 420);
}

// As the window is read: number, text, its options, the buttons; the search
// for a contact last, so that no key typed after the number can reach it.
void Composer::setTabOrder()
{
    QList<QWidget*> chain{numberEdit_, textEdit_};
    for (ClickableLabel* emoticon : emoticons_->findChildren<ClickableLabel*>()) {
        if (emoticon->focusPolicy() != Qt::NoFocus)
            chain << emoticon;
    }
    chain << fixedSplit_ << wordSplit_ << typeCombo_ << scheduleButton_ << scheduleTime_ << saveButton_
          << closeButton_ << sendButton_ << searchButton_;
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

QWidget* Composer::buildEmoticons()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(namedLabel(QStringLiteral("Emoticons"), u"Label19", box));

    auto* panel = new QFrame(box);
    panel->setObjectName(QStringLiteral("Picture1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(palette);
    auto* grid = new QGridLayout(panel);
    int row = 0;
    for (const Emoticon& emoticon : emoticons) {
        const QString symbol = QString::fromUtf16(emoticon.symbol);
        auto* symbolLabel = new ClickableLabel(symbol, panel);
        symbolLabel->setObjectName(QString::fromUtf16(emoticon.symbolName));
        auto* captionLabel = new ClickableLabel(QString::fromUtf16(emoticon.caption), panel);
        captionLabel->setObjectName(QString::fromUtf16(emoticon.captionName));
        // The caption is the keyboard's way to the emoticon: Tab to it, Space or Enter.
        captionLabel->setFocusPolicy(Qt::StrongFocus);
        captionLabel->setAccessibleName(QStringLiteral("Emoticon %1 %2").arg(captionLabel->text(), symbol));
        connect(symbolLabel, &ClickableLabel::doubleClicked, this,
                [this, symbol] { appendEmoticon(symbol); });
        connect(captionLabel, &ClickableLabel::clicked, this, [this, symbol] { appendEmoticon(symbol); });
        grid->addWidget(symbolLabel, row, 0);
        grid->addWidget(captionLabel, row, 1);
        ++row;
    }
    layout->addWidget(panel);
    layout->addStretch(1);
    return box;
}

void Composer::preset(const ComposerPreset& preset)
{
    mode_ = preset.mode;
    recipientString_ = preset.recipientString;
    recipients_ = preset.recipients;
    surnameLabel_->setText(preset.surname);
    if (!preset.text.isEmpty())
        textEdit_->setMessageText(preset.text);
    presetText_ = textEdit_->messageText();
    numberTitle_->setVisible(!preset.hideNumberBox);
    searchButton_->setVisible(!preset.hideNumberBox);
}

void Composer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        applyMode();
    }
}

void Composer::applyMode()
{
    numberEdit_->setText(recipientString_);
    if (!multipleMode())
        return;
    if (recipients_.isEmpty()) {
        // Closing from inside the show would leave exec() with a hidden window.
        QTimer::singleShot(0, this, &Composer::refuseEmptyList);
        return;
    }
    if (recipientString_.endsWith(u';'))
        numberEdit_->setText(recipientString_.chopped(1));
    // The list is what the batch serves: editing the box would change nothing.
    numberEdit_->setReadOnly(true);
    textEdit_->setMaxLength(MessageSplitter::PartLength);
    fixedSplit_->hide();
    wordSplit_->hide();
    showSplitChoice();
    surnameLabel_->setText(SendPreparation::listSurname());
}

void Composer::refuseEmptyList()
{
    context_.dialogs.message(QStringLiteral("Nessun contatto selezionato"), MessageIcon::Exclamation);
    QDialog::reject();
}

void Composer::numberEdited(const QString& text)
{
    recipientString_ = text;
}

void Composer::textEdited()
{
    showSplitChoice();
    const int length = textEdit_->messageLength();
    counterLabel_->setText(QString::number(length));
    // Multiple mode sends one SMS to each: a longer text is refused, not split.
    if (longTextArmed_ && length > MessageSplitter::PartLength && !multipleMode()) {
        longTextArmed_ = false;
        longTextNotice_->setText(longTextWarning());
        longTextNotice_->show();
    }
    if (length < MessageSplitter::PartLength) {
        longTextArmed_ = true;
        longTextNotice_->hide();
    }
}

// In multiple mode the split choice matters only for a text with merge
// fields, whose texts may grow past one SMS: it shows for those.
void Composer::showSplitChoice()
{
    if (!multipleMode() || !activated_)
        return;
    const bool personalised = MergeTemplate(textEdit_->messageText()).personalised();
    fixedSplit_->setVisible(personalised);
    wordSplit_->setVisible(personalised);
}

SplitMode Composer::chosenSplit() const
{
    return fixedSplit_->isChecked() ? SplitMode::Fixed : SplitMode::Words;
}

void Composer::flashChosen()
{
    if (typedChoice_) {
        // Enter in the box's text is not a choice from the list.
        typedChoice_ = false;
        return;
    }
    flash_ = typeCombo_->currentText() == u"Flash";
}

bool Composer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == typeCombo_->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The box answers the key before the next turn of the event loop.
            typedChoice_ = true;
            QTimer::singleShot(0, this, [this] { typedChoice_ = false; });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Composer::appendEmoticon(const QString& symbol)
{
    textEdit_->appendAtEnd(u' ' + symbol + u' ');
}

void Composer::send()
{
    if (batch_)
        return;
    if (surnameLabel_->text().isEmpty())
        surnameLabel_->setText(QStringLiteral(" "));
    if (SendPreparation::splitFor(textEdit_->messageText(), chosenSplit()) == SplitMode::Fixed)
        fixedSplit_->setChecked(true);
    setButtonsEnabled(false);
    std::optional<SendPreparation> prepared = prepare(SendPreparation::When::Now);
    if (!prepared) {
        setButtonsEnabled(true);
        return;
    }
    startBatch(prepared->request());
}

TypedMessage Composer::typed() const
{
    TypedMessage typed;
    typed.multiple = multipleMode();
    typed.number = numberEdit_->text();
    typed.recipients = recipients_;
    typed.recipientString = recipientString_;
    typed.surname = surnameLabel_->text();
    typed.text = textEdit_->messageText();
    typed.split = chosenSplit();
    typed.flash = flash_;
    typed.sender = context_.state.intestazione;
    typed.book = sentRecordBook(selected_);
    return typed;
}

std::optional<SendPreparation> Composer::prepare(SendPreparation::When when)
{
    const TypedMessage message = typed();
    std::variant<SendPreparation, Refusal> made = SendPreparation::prepare(
        message, *context_.state.store, context_.state.folder.bookPath(message.book), when);
    Dialogs& dialogs = context_.dialogs;
    if (const Refusal* refusal = std::get_if<Refusal>(&made)) {
        dialogs.message(refusal->text, refusal->icon);
        return std::nullopt;
    }
    SendPreparation prepared = std::get<SendPreparation>(std::move(made));
    for (const Prompt& prompt : prepared.prompts()) {
        if (dialogs.message(prompt.text, prompt.icon, prompt.buttons) != prompt.proceed)
            return std::nullopt;
    }
    return prepared;
}

void Composer::schedule()
{
    Dialogs& dialogs = context_.dialogs;
    const QDateTime due = scheduleTime_->dateTime();
    if (due < context_.clock.now()) {
        // A time already gone cannot be kept for: now, or another time.
        if (dialogs.message(SendPreparation::pastTimeQuestion(due), MessageIcon::Question,
                            MessageButtons::YesNo) == Answer::Yes)
            send();
        return;
    }
    const std::optional<SendPreparation> prepared = prepare(SendPreparation::When::Later);
    if (!prepared)
        return;
    try {
        ScheduledStore(*context_.state.store, context_.state.folder.bookPath(sentRecordBook(selected_)))
            .add(prepared->scheduled(due), prepared->plan());
    } catch (const StoreError& error) {
        dialogs.message(error.message(), MessageIcon::Critical);
        return;
    }
    dialogs.message(prepared->scheduledText(due), MessageIcon::Information);
    emit batchScheduled();
    done(Accepted);
}

void Composer::startBatch(BatchRequest request)
{
    batch_ = std::make_unique<SendBatch>(context_, batchGateways());
    connect(batch_.get(), &SendBatch::statusChanged, statusLabel_, &QLabel::setText);
    connect(batch_.get(), &SendBatch::serving, numberEdit_, &QLineEdit::setText);
    connect(batch_.get(), &SendBatch::progressChanged, this, [this](int sent, int total) {
        progress_->setRange(0, total);
        progress_->setValue(sent);
    });
    connect(batch_.get(), &SendBatch::archiveChanged, this, &Composer::archiveChanged);
    connect(batch_.get(), &SendBatch::creditChanged, this, &Composer::creditChanged);
    connect(batch_.get(), &SendBatch::finished, this, &Composer::batchFinished);
    batch_->start(std::move(request));
}

GatewayFactory Composer::batchGateways()
{
    return [this]() -> std::unique_ptr<SmsGateway> {
        std::unique_ptr<SmsGateway> gateway = factory_ ? factory_() : nullptr;
        if (!gateway)
            return nullptr;
        std::unique_ptr<qwirl::Control> control = gateway->takeControl();
        if (!control)
            return gateway;
        gatewayControl_->setControl(std::move(control));
        return std::make_unique<ControlGateway>(*gatewayControl_);
    };
}

bool Composer::checkTypedNumber(const QString& number)
{
    if (isPossiblePhoneNumber(number))
        return true;
    context_.dialogs.message(QStringLiteral("Inserire un Numero di cellulare Valido"), MessageIcon::Critical);
    return false;
}

void Composer::batchFinished(SendBatch::Outcome outcome)
{
    switch (outcome) {
    case SendBatch::Outcome::Abandoned:
        // Nothing went out: the text stays for another try or for saving.
        setButtonsEnabled(true);
        batch_.release()->deleteLater();
        break;
    case SendBatch::Outcome::Stopped:
        // Not enough credit: the text can still be saved for later.
        setButtonsEnabled(true);
        sendButton_->setEnabled(false);
        break;
    case SendBatch::Outcome::Completed:
        done(Accepted);
        break;
    }
}

void Composer::save()
{
    Dialogs& dialogs = context_.dialogs;
    if (numberEdit_->text().isEmpty()) {
        dialogs.message(QStringLiteral("Numero telefonico mancante"), MessageIcon::Critical);
        return;
    }
    // Only the Italian prefix goes: a foreign number keeps its country code,
    // as it keeps it when sent. The number checked is the one that is stored.
    const QString number = numberEdit_->text();
    const QString prefix = multipleMode() ? QString() : italianPrefix(number);
    if (!multipleMode() && !checkTypedNumber(number.mid(prefix.size())))
        return;
    if (!prefix.isEmpty()) {
        const Answer answer = dialogs.message(
            QStringLiteral("Prefisso internazionele non necessario rimuovo il prefisso ") + prefix,
            MessageIcon::None, MessageButtons::OkCancel);
        if (answer != Answer::Ok)
            return;
        numberEdit_->setText(number.mid(prefix.size()));
    }
    if (surnameLabel_->text().isEmpty())
        surnameLabel_->setText(QStringLiteral(" "));
    if (multipleMode())
        surnameLabel_->setText(SendPreparation::listSurname());
    const QString text = textEdit_->messageText();
    if (text.isEmpty()) {
        dialogs.message(QStringLiteral("Testo SMS Mancante"), MessageIcon::Critical);
        return;
    }
    try {
        appendMessage(context_.state, context_.clock, savedRecordBook(selected_), QStringLiteral("salvati"),
                      {surnameLabel_->text(), recipientString_, text});
    } catch (const StoreError& error) {
        dialogs.message(error.message(), MessageIcon::Critical);
        return;
    }
    emit archiveChanged();
    done(Accepted);
}

void Composer::search()
{
    if (!mayDiscardText())
        return;
    done(Rejected);
    emit contactSearchRequested();
}

void Composer::setButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {sendButton_, closeButton_, saveButton_, scheduleButton_})
        button->setEnabled(enabled);
    // What is being sent was copied at the click; the inputs wait for the end
    // of the batch so the window never shows something else than what goes out.
    for (QWidget* input :
         std::initializer_list<QWidget*>{textEdit_, numberEdit_, typeCombo_, fixedSplit_, wordSplit_,
                                         searchButton_, emoticons_, scheduleTime_})
        input->setEnabled(enabled);
}

void Composer::closeEvent(QCloseEvent* event)
{
    if (batchRunning()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QString Composer::discardQuestion()
{
    return QStringLiteral("Il messaggio scritto non è stato inviato. Chiudere e perderlo?");
}

bool Composer::mayDiscardText()
{
    const QString text = textEdit_->messageText();
    if (text.isEmpty() || text == presetText_)
        return true;
    return context_.dialogs.message(discardQuestion(), MessageIcon::Question,
                                    MessageButtons::YesNoDefaultNo) == Answer::Yes;
}

// Annulla, Esc, the close box and the end of the program all come here.
void Composer::reject()
{
    if (batchRunning() || !mayDiscardText())
        return;
    QDialog::reject();
}

} // namespace parlix
