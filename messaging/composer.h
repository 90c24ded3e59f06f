#pragma once

#include "core/appcontext.h"
#include "messaging/composerpreset.h"
#include "messaging/sendbatch.h"
#include "sending/messagearchive.h"
#include "sending/messagesplitter.h"
#include "sending/sendpreparation.h"
#include "sending/smsgateway.h"

#include <QDialog>
#include <QStringList>

#include <memory>
#include <optional>

namespace qwirl {
class QwirlControl;
}

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace parlix {

class MessageTextEdit;

// The message composer "Form5": one text, its recipient or list of
// recipients, and the two ways out, sending it (a SendBatch) or saving it
// among the saved messages. Callers preset it, then show it modally.
//
// Single mode: one number, a text of up to ten SMS. Multiple mode: a list of
// numbers, one SMS of at most 160 characters to each.
class Composer : public QDialog
{
    Q_OBJECT
public:
    // `selected` is the tree node selected when the composer opens: it names
    // the book that receives saved and sent messages.
    Composer(AppContext context, GatewayFactory factory, ArchiveNode selected, QWidget* parent = nullptr);
    ~Composer() override;

    // Before the composer is shown.
    void preset(const ComposerPreset& preset);

    bool multipleMode() const { return mode_ == ComposerPreset::Mode::Multiple; }
    // The recipient string: the number box's text, kept in step with it.
    const QString& recipientString() const { return recipientString_; }
    // Multiple mode: the numbers the batch serves.
    const QStringList& recipients() const { return recipients_; }
    bool batchRunning() const { return batch_ && batch_->running(); }
    // Flash SMS chosen from the type list; off each time the composer opens.
    bool flash() const { return flash_; }

signals:
    // After a batch: the remaining credit is in credito and residui.txt.
    void creditChanged(double remaining);
    // A record went into an archive of the book: the list should refill.
    void archiveChanged();
    // A batch was stored for later ("Invia alle…").
    void batchScheduled();
    // The composer closed for the contact search to open.
    void contactSearchRequested();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public:
    void reject() override;

private:
    static QString discardQuestion();
    // Text the user typed goes only when they say so.
    bool mayDiscardText();

    void build();
    QWidget* buildEmoticons();
    void setTabOrder();
    void applyMode();
    void refuseEmptyList();
    void textEdited();
    void numberEdited(const QString& text);
    void flashChosen();
    void appendEmoticon(const QString& symbol);
    void send();
    // "Invia alle…": the batch is stored for the chosen time instead.
    void schedule();
    SplitMode chosenSplit() const;
    // What the window holds now, as the sending rules take it.
    TypedMessage typed() const;
    // The batch of what was typed once every refusal has passed and every
    // question has been answered to go on; nothing when something stopped it.
    std::optional<SendPreparation> prepare(SendPreparation::When when);
    void startBatch(BatchRequest request);
    void showSplitChoice();
    // Refuses a typed number that cannot be a telephone number.
    bool checkTypedNumber(const QString& number);
    void save();
    void search();
    void batchFinished(SendBatch::Outcome outcome);
    void setButtonsEnabled(bool enabled);
    // The gateways of a batch: the factory's, with its control handed to QWIRL1,
    // which the batch then drives through its properties and methods.
    GatewayFactory batchGateways();

    AppContext context_;
    GatewayFactory factory_;
    ArchiveNode selected_;
    ComposerPreset::Mode mode_ = ComposerPreset::Mode::Single;
    QString recipientString_;
    QString presetText_; // the text the composer opened with: not typed, nothing to lose
    QStringList recipients_;
    bool activated_ = false;
    bool flash_ = false;
    // The 160-character notice comes once each time the text grows past one
    // SMS, and again only after the text dropped below.
    bool longTextArmed_ = true;
    std::unique_ptr<SendBatch> batch_;
    qwirl::QwirlControl* gatewayControl_ = nullptr; // QWIRL1, invisible

    QLabel* numberTitle_ = nullptr;
    QLineEdit* numberEdit_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QLabel* surnameLabel_ = nullptr;
    QLabel* counterLabel_ = nullptr;
    QLabel* longTextNotice_ = nullptr;
    MessageTextEdit* textEdit_ = nullptr;
    QRadioButton* fixedSplit_ = nullptr;
    QRadioButton* wordSplit_ = nullptr;
    QComboBox* typeCombo_ = nullptr;
    QWidget* emoticons_ = nullptr;
    bool typedChoice_ = false;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* sendButton_ = nullptr;
    QDateTimeEdit* scheduleTime_ = nullptr;
    QPushButton* scheduleButton_ = nullptr;
};

} // namespace parlix
