#include "composer.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "messaging/clickablelabel.h"
#include "messaging/controlgateway.h"
#include "messaging/messagetextedit.h"
#include "sending/batchplan.h"
#include "sending/mergetemplate.h"
#include "sending/messagesplitter.h"
#include "sending/phonenumbercheck.h"
#include "sending/scheduledstore.h"
#include "sending/windows1252check.h"
#include "store/storeerror.h"

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

#include <algorithm>

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

QString listSurname()
{
    return QStringLiteral("<lista>");
}

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
    context_.state.invioflash = false;
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
    titleRow->addWidget(namedLabel(QStringLiteral("Testo Sms"), u"Label20", this));
    titleRow->addStretch(1);
    titleRow->addWidget(namedLabel(QStringLiteral("Caratteri utilizzati"), u"Label4", this));
    counterLabel_ = namedLabel(QStringLiteral("0"), u"Label5", this);
    counterLabel_->setMinimumWidth(40);
    titleRow->addWidget(counterLabel_);
    layout->addLayout(titleRow);

    auto* textRow = new QHBoxLayout;
    textEdit_ = new MessageTextEdit(this);
    textEdit_->setObjectName(QStringLiteral("Text1"));
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
    scheduleButton_ = new QPushButton(QStringLiteral("Invia alle…"), this);
    scheduleButton_->setObjectName(QStringLiteral("scheduleButton"));
    scheduleButton_->setAutoDefault(false);
    buttonRow->addWidget(scheduleButton_);
    buttonRow->addWidget(scheduleTime_);
    buttonRow->addStretch(1);
    saveButton_ = new QPushButton(QStringLiteral("Salva SMS"), this);
    saveButton_->setObjectName(QStringLiteral("Command3"));
    closeButton_ = new QPushButton(QStringLiteral("Annulla"), this);
    closeButton_->setObjectName(QStringLiteral("Command2"));
    sendButton_ = new QPushButton(QStringLiteral("Invia"), this);
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
    resize(640, 420);
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
    surnameLabel_->setText(listSurname());
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
    ProgramState& state = context_.state;
    // Multiple mode sends one SMS to each: a longer text is refused, not split.
    if (state.testoiniziale && length > MessageSplitter::PartLength && !multipleMode()) {
        state.testoiniziale = false;
        longTextNotice_->setText(longTextWarning());
        longTextNotice_->show();
    }
    if (length < MessageSplitter::PartLength) {
        state.testoiniziale = true;
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
    context_.state.invioflash = typeCombo_->currentText() == u"Flash";
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
    const QString text = textEdit_->messageText();
    if (multipleMode() && MergeTemplate(text).personalised()) {
        sendPersonalised(text);
        return;
    }
    if (text.size() < MessageSplitter::PartLength)
        fixedSplit_->setChecked(true);
    setButtonsEnabled(false);

    const QStringList parts =
        MessageSplitter::split(text, fixedSplit_->isChecked() ? SplitMode::Fixed : SplitMode::Words);
    context_.state.parti = parts;
    context_.state.numerosms = double(parts.size());
    if (!checkBeforeSending(parts) || !acceptReplacedCharacters(text)) {
        setButtonsEnabled(true);
        return;
    }
    if (multipleMode())
        showMultipleNotice();

    BatchRequest request;
    request.multiple = multipleMode();
    request.recipients = multipleMode() ? recipients_ : QStringList{numberEdit_->text()};
    request.parts = parts;
    request.flash = context_.state.invioflash;
    request.sender = context_.state.intestazione;
    request.book = sentRecordBook(selected_);
    request.record = {surnameLabel_->text(), recipientString_, text};

    startBatch(std::move(request));
}

void Composer::showMultipleNotice()
{
    context_.dialogs.message(QStringLiteral("L'invio di SMS Multipli può richiedere alcuni minuti non "
                                            "interrompere il software durante l'elaborazione\n"
                                            "Fare click su OK per procedere con l'invio degli sms"),
                             MessageIcon::Information);
}

void Composer::sendPersonalised(const QString& text)
{
    setButtonsEnabled(false);
    std::variant<BatchPlan, QString> made = QStringLiteral("?");
    try {
        made =
            BatchPlan::forNumbers(text, recipients_, *context_.state.store,
                                  context_.state.folder.bookPath(sentRecordBook(selected_)), chosenSplit());
    } catch (const StoreError& error) {
        made = error.message();
    }
    Dialogs& dialogs = context_.dialogs;
    if (const QString* refusal = std::get_if<QString>(&made)) {
        dialogs.message(*refusal, MessageIcon::Exclamation);
        setButtonsEnabled(true);
        return;
    }
    const BatchPlan& plan = std::get<BatchPlan>(made);
    if (!checkBeforeSending(plan.messages().constFirst().parts.mid(0, 1))) {
        setButtonsEnabled(true);
        return;
    }
    showMultipleNotice();
    if (dialogs.message(plan.preview() + QStringLiteral("\n\nProcedere con l'invio?"), MessageIcon::Question,
                        MessageButtons::OkCancel) != Answer::Ok) {
        setButtonsEnabled(true);
        return;
    }
    BatchRequest request;
    request.multiple = true;
    request.recipients = recipients_;
    for (const RecipientMessage& message : plan.messages())
        request.recipientParts << message.parts;
    request.parts = plan.messages().constFirst().parts;
    request.flash = context_.state.invioflash;
    request.sender = context_.state.intestazione;
    request.book = sentRecordBook(selected_);
    request.record = {surnameLabel_->text(), recipientString_, text};
    context_.state.parti = request.parts;
    context_.state.numerosms = double(plan.smsCount());
    startBatch(std::move(request));
}

void Composer::schedule()
{
    const QString text = textEdit_->messageText();
    const QStringList numbers = multipleMode() ? recipients_ : QStringList{numberEdit_->text()};
    const SplitMode split = text.size() < MessageSplitter::PartLength ? SplitMode::Fixed : chosenSplit();
    if (!checkBeforeSending(MessageSplitter::split(text, split).mid(0, 1)))
        return;
    const QString book = sentRecordBook(selected_);
    const QString bookPath = context_.state.folder.bookPath(book);
    Dialogs& dialogs = context_.dialogs;
    try {
        const std::variant<BatchPlan, QString> made =
            BatchPlan::forNumbers(text, numbers, *context_.state.store, bookPath, split);
        if (const QString* refusal = std::get_if<QString>(&made)) {
            dialogs.message(*refusal, MessageIcon::Exclamation);
            return;
        }
        const BatchPlan& plan = std::get<BatchPlan>(made);
        const QDateTime due = scheduleTime_->dateTime();
        ScheduledBatch batch = ScheduledBatch::forPlan(
            plan, due, multipleMode() ? listSurname() : surnameLabel_->text(), recipientString_);
        batch.split = split;
        batch.flash = context_.state.invioflash;
        batch.sender = context_.state.intestazione;
        ScheduledStore(*context_.state.store, bookPath).add(batch, plan);
        dialogs.message(
            QStringLiteral("Invio programmato per il %1 nella rubrica \"%2\": %3 destinatari, %4 SMS.")
                .arg(due.toString(QStringLiteral("dd/MM/yyyy HH:mm")), book)
                .arg(plan.messages().size())
                .arg(plan.smsCount()),
            MessageIcon::Information);
    } catch (const StoreError& error) {
        dialogs.message(error.message(), MessageIcon::Critical);
        return;
    }
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

bool Composer::checkBeforeSending(const QStringList& parts)
{
    Dialogs& dialogs = context_.dialogs;
    if (parts.isEmpty()) {
        dialogs.message(QStringLiteral("Testo SMS Mancante"), MessageIcon::Critical);
        return false;
    }
    if (!multipleMode() && numberEdit_->text().isEmpty()) {
        dialogs.message(QStringLiteral("Numero telefonico mancante"), MessageIcon::Critical);
        return false;
    }
    if (!multipleMode() && !checkTypedNumber(numberEdit_->text()))
        return false;
    if (multipleMode()) {
        // A contact without a number would become "+39" alone: the gateway
        // could take the credit for an SMS that reaches nobody.
        const qsizetype empty =
            std::count_if(recipients_.cbegin(), recipients_.cend(),
                          [](const QString& number) { return number.trimmed().isEmpty(); });
        if (recipients_.isEmpty() || empty > 0) {
            dialogs.message(
                recipients_.isEmpty()
                    ? QStringLiteral("Nessun destinatario: spuntare i contatti a cui inviare l'SMS.")
                    : QStringLiteral("%1 dei destinatari non ha un numero di cellulare: togliere la "
                                     "spunta a quei contatti prima dell'invio.")
                          .arg(empty),
                MessageIcon::Exclamation);
            return false;
        }
    }
    if (multipleMode() && parts.size() > 1) {
        dialogs.message(QStringLiteral("Gli SMS Multipli non possono superare 160 caratteri: il testo ne "
                                       "contiene %1. Accorciare il testo prima dell'invio.")
                            .arg(textEdit_->messageLength()),
                        MessageIcon::Exclamation);
        return false;
    }
    if (parts.size() > MessageSplitter::MaxParts) {
        dialogs.message(QStringLiteral("Il testo richiede %1 SMS: il limite è di %2 SMS per messaggio. "
                                       "Accorciare il testo prima dell'invio.")
                            .arg(parts.size())
                            .arg(MessageSplitter::MaxParts),
                        MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool Composer::checkTypedNumber(const QString& number)
{
    if (isPossiblePhoneNumber(number))
        return true;
    context_.dialogs.message(QStringLiteral("Inserire un Numero di cellulare Valido"), MessageIcon::Critical);
    return false;
}

bool Composer::acceptReplacedCharacters(const QString& text)
{
    const QStringList lost = charactersWithoutWindows1252(text);
    if (lost.isEmpty())
        return true;
    return context_.dialogs.message(
               QStringLiteral("Questi caratteri non possono essere spediti e arriveranno "
                              "come \"?\": %1\nInviare comunque il messaggio?")
                   .arg(lost.join(u' ')),
               MessageIcon::Exclamation, MessageButtons::YesNo) == Answer::Yes;
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
        surnameLabel_->setText(listSurname());
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

void Composer::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !batchRunning()) {
        const QString text = textEdit_->messageText();
        if (!text.isEmpty() && text != presetText_ &&
            context_.dialogs.message(discardQuestion(), MessageIcon::Question, MessageButtons::YesNo) !=
                Answer::Yes) {
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void Composer::reject()
{
    if (batchRunning())
        return;
    QDialog::reject();
}

} // namespace parlix
