#include "disclaimerdialog.h"

#include "app/appicon.h"
#include "app/disclaimer.h"
#include "app/vendorinfo.h"
#include "core/dialogs.h"
#include "ui/mnemonics.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace parlix {

DisclaimerDialog::DisclaimerDialog(const DataFolder& folder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), folder_(folder), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Parlix"));

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("Picture4"));
    logo->setPixmap(appIcon().pixmap(64, 64));
    auto* postal = new QLabel(vendorinfo::postalAddress(), frame);
    postal->setObjectName(QStringLiteral("Label1"));
    auto* web = new QLabel(vendorinfo::webAddress(), frame);
    web->setObjectName(QStringLiteral("Label3"));
    auto* addresses = new QVBoxLayout;
    addresses->addWidget(postal);
    addresses->addWidget(web);
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->addWidget(logo);
    frameLayout->addLayout(addresses, 1);

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setPlainText(disclaimer::text(folder_));

    auto* accept = new QPushButton(QStringLiteral("Accetto"), this);
    accept->setObjectName(QStringLiteral("Command1"));
    auto* refuse = new QPushButton(QStringLiteral("Rifiuto"), this);
    refuse->setObjectName(QStringLiteral("Command2"));
    connect(accept, &QPushButton::clicked, this, &DisclaimerDialog::accetto);
    connect(refuse, &QPushButton::clicked, this, &DisclaimerDialog::rifiuto);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(accept);
    buttons->addWidget(refuse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(560, 420);
    text_->setAccessibleName(QStringLiteral("Avvertenze"));
    mnemonics::assign(*this);
}

QString DisclaimerDialog::text() const
{
    return text_->toPlainText();
}

void DisclaimerDialog::accetto()
{
    // Even if the switch cannot be written the user has accepted: the
    // disclaimer simply shows again at the next start, and the user is told.
    if (!disclaimer::accept(folder_))
        dialogs_.message(
            QStringLiteral("Impossibile salvare la scelta: il file \"mostra.txt\" non può essere "
                           "scritto. L'avviso verrà mostrato di nuovo al prossimo avvio."),
            MessageIcon::Critical);
    accept();
}

void DisclaimerDialog::rifiuto()
{
    reject();
}

} // namespace parlix
