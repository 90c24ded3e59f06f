#include "ericsoftfolderdialog.h"

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

namespace parlix {

namespace {

QString folderFile(const ProgramState& state)
{
    return state.folder.path(QStringLiteral("persorso"));
}

} // namespace

EricsoftFolderDialog::EricsoftFolderDialog(AppContext context, QWidget* parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("Form13"));
    setWindowTitle(QStringLiteral("Imposta Archivi Ericsoft"));

    auto* title = new QLabel(QStringLiteral("Archivio Ericsoft"), this);
    title->setObjectName(QStringLiteral("Label1"));
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("Label2"));
    folder_->setReadOnly(true);
    if (const auto stored = textfile::readFirstLine(folderFile(context_.state))) {
        context_.state.percorsoericsoft = *stored;
        folder_->setText(*stored);
    }

    QStyle* style = QApplication::style();
    auto* chooseButton = new QPushButton(style->standardIcon(QStyle::SP_DirOpenIcon), QString(), this);
    chooseButton->setObjectName(QStringLiteral("Command1"));
    chooseButton->setToolTip(QStringLiteral("Scegli cartella"));
    auto* closeButton = new QPushButton(style->standardIcon(QStyle::SP_DialogCloseButton), QString(), this);
    closeButton->setObjectName(QStringLiteral("Command2"));
    closeButton->setToolTip(QStringLiteral("Chiudi"));
    connect(chooseButton, &QPushButton::clicked, this, &EricsoftFolderDialog::choose);
    connect(closeButton, &QPushButton::clicked, this, &EricsoftFolderDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(folder_, 1);
    row->addWidget(chooseButton);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(row);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    title->setBuddy(folder_);
    mnemonics::assign(*this);
}

QString EricsoftFolderDialog::shownFolder() const
{
    return folder_->text();
}

void EricsoftFolderDialog::choose()
{
    const QString chosen =
        context_.dialogs.chooseFolder(QStringLiteral("Select folder"), context_.state.percorsoericsoft);
    if (chosen.isEmpty())
        return;
    if (!textfile::writeLines(folderFile(context_.state), {chosen})) {
        context_.dialogs.message(
            QStringLiteral("Impossibile salvare la cartella: il file \"persorso\" non può essere scritto."),
            MessageIcon::Critical);
        return;
    }
    context_.state.percorsoericsoft = chosen;
    folder_->setText(chosen);
}

} // namespace parlix
