#include "headerdialog.h"

#include "core/dialogs.h"
#include "core/programstate.h"
#include "core/textfile.h"
#include "ui/mnemonics.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace parlix {

namespace {
constexpr int headerLength = 11;
} // namespace

HeaderDialog::HeaderDialog(AppContext context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Intestazione SMS"));

    auto* title = new QLabel(QStringLiteral("Intestazione SMS"), this);
    title->setObjectName(QStringLiteral("Label1"));
    auto* explanation = new QLabel(
        QStringLiteral("L'intestazione degli SMS è il mittente del messaggio; è possibile inserire al "
                       "massimo 11 caratteri, ad esempio il proprio numero di cellulare o un "
                       "qualsiasi testo numerico o alfanumerico"),
        this);
    explanation->setObjectName(QStringLiteral("Label2"));
    explanation->setWordWrap(true);
    auto* quality = new QLabel(QStringLiteral("Solo per SMS Alta qualità "), this);
    quality->setObjectName(QStringLiteral("Label3"));

    header_ = new QLineEdit(this);
    header_->setObjectName(QStringLiteral("Text1"));
    const QString stored = textfile::readFirstLine(context_.state.folder.path(QStringLiteral("intestazione")))
                               .value_or(QString());
    // Typing stops at 11 characters, but a longer header stored before is
    // shown and kept whole: an edit never makes it longer than it was.
    header_->setMaxLength(std::max(headerLength, int(stored.size())));
    header_->setText(stored);

    QStyle* style = QApplication::style();
    auto* saveButton = new QPushButton(style->standardIcon(QStyle::SP_DialogSaveButton), QString(), this);
    saveButton->setObjectName(QStringLiteral("Command1"));
    saveButton->setToolTip(QStringLiteral("Salva"));
    auto* closeButton = new QPushButton(style->standardIcon(QStyle::SP_DialogCloseButton), QString(), this);
    closeButton->setObjectName(QStringLiteral("Command2"));
    closeButton->setToolTip(QStringLiteral("Chiudi"));
    connect(saveButton, &QPushButton::clicked, this, &HeaderDialog::save);
    connect(closeButton, &QPushButton::clicked, this, &HeaderDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(explanation);
    layout->addWidget(header_);
    layout->addWidget(quality);
    layout->addLayout(buttons);
    setFixedWidth(380);
    title->setBuddy(header_);
    mnemonics::assign(*this);
}

void HeaderDialog::save()
{
    const QString header = header_->text();
    if (!textfile::writeLines(context_.state.folder.path(QStringLiteral("intestazione")), {header})) {
        context_.dialogs.message(
            QStringLiteral("Impossibile salvare l'intestazione: il file \"intestazione\" "
                           "non può essere scritto."),
            MessageIcon::Critical);
        return;
    }
    context_.state.intestazione = header;
    context_.dialogs.message(QStringLiteral("Intestazione Modificata correttamente"));
    accept();
}

} // namespace parlix
