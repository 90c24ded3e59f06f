#include "aboutbox.h"

#include "app/appicon.h"
#include "app/vendorinfo.h"
#include "ui/mnemonics.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace parlix {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Info"));
    setAttribute(Qt::WA_DeleteOnClose);

    QStyle* style = QApplication::style();
    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Picture4"));
    logo->setPixmap(appIcon().pixmap(64, 64));
    auto* texts = new QVBoxLayout;
    const auto addLabel = [this, texts](const QString& name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        texts->addWidget(label);
        return label;
    };
    QLabel* version = addLabel(QStringLiteral("Label1"), QStringLiteral("Parlix ver 1.1a"));
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    addLabel(QStringLiteral("Label2"), vendorinfo::postalAddress());
    addLabel(QStringLiteral("Label3"), vendorinfo::webAddress());
    addLabel(QStringLiteral("Label4"), vendorinfo::supportAddress());
    addLabel(QStringLiteral("Label5"), vendorinfo::email());

    auto* closeButton = new QPushButton(style->standardIcon(QStyle::SP_DialogCloseButton), QString(), this);
    closeButton->setObjectName(QStringLiteral("Command1"));
    closeButton->setToolTip(QStringLiteral("Chiudi"));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    mnemonics::assign(*this);
}

} // namespace parlix
