#include "prefixeditor.h"

#include "books/formbutton.h"
#include "contacts/prefixlist.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "ui/mnemonics.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace parlix {

PrefixEditor::PrefixEditor(AppContext context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Inserimento Nuovi Prefissi"));

    auto* newLabel = new QLabel(QStringLiteral("Nuovo Prefisso"), this);
    newLabel->setObjectName(QStringLiteral("Label1"));
    newPrefix_ = new QLineEdit(this);
    newPrefix_->setObjectName(QStringLiteral("Text1"));
    newPrefix_->setMaxLength(3);
    auto* listLabel = new QLabel(QStringLiteral("Prefissi Esistenti"), this);
    listLabel->setObjectName(QStringLiteral("Label2"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setAccessibleName(listLabel->text());
    newPrefix_->setAccessibleName(newLabel->text());

    auto* okButton =
        makeFormButton(QStringLiteral("Command1"), QStringLiteral("OK"), QStyle::SP_DialogOkButton, this);
    auto* upButton =
        makeFormButton(QStringLiteral("Command2"), QStringLiteral("Su"), QStyle::SP_ArrowUp, this);
    auto* downButton =
        makeFormButton(QStringLiteral("Command3"), QStringLiteral("Giù"), QStyle::SP_ArrowDown, this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(newLabel, 0, 0);
    layout->addWidget(newPrefix_, 0, 1);
    layout->addWidget(listLabel, 1, 0, 1, 2);
    layout->addWidget(list_, 2, 0, 3, 2);
    layout->addWidget(upButton, 2, 2);
    layout->addWidget(downButton, 3, 2);
    layout->addWidget(okButton, 5, 2);

    connect(okButton, &QPushButton::clicked, this, &PrefixEditor::save);
    connect(upButton, &QPushButton::clicked, this, &PrefixEditor::moveUp);
    connect(downButton, &QPushButton::clicked, this, &PrefixEditor::moveDown);
    connect(list_, &QListWidget::itemDoubleClicked, this, &PrefixEditor::removeSelected);

    list_->addItems(prefixes::read(context_.state.folder));
    mnemonics::assign(*this);
}

QStringList PrefixEditor::lines() const
{
    QStringList result;
    result.reserve(list_->count());
    for (int i = 0; i < list_->count(); ++i)
        result << list_->item(i)->text();
    return result;
}

void PrefixEditor::selectRow(int row)
{
    QListWidgetItem* item = list_->item(row);
    list_->setFocus();
    list_->setCurrentItem(item);
    item->setSelected(true);
}

void PrefixEditor::moveUp()
{
    QStringList items = lines();
    if (const auto moved = prefixes::moveUp(items, list_->currentRow())) {
        list_->insertItem(*moved, list_->takeItem(*moved + 1));
        selectRow(*moved);
    }
}

void PrefixEditor::moveDown()
{
    QStringList items = lines();
    if (const auto moved = prefixes::moveDown(items, list_->currentRow())) {
        list_->insertItem(*moved, list_->takeItem(*moved - 1));
        selectRow(*moved);
    }
}

void PrefixEditor::removeSelected()
{
    const int row = list_->currentRow();
    if (row >= 0)
        delete list_->takeItem(row);
}

void PrefixEditor::save()
{
    QStringList items = lines();
    const QString added = newPrefix_->text();
    if (!added.isEmpty())
        items << added;
    if (!prefixes::write(context_.state.folder, items)) {
        context_.dialogs.message(QStringLiteral("Impossibile scrivere il file dei prefissi."),
                                 MessageIcon::Critical);
        return;
    }
    if (!added.isEmpty())
        list_->addItem(added);
    newPrefix_->clear();
}

} // namespace parlix
