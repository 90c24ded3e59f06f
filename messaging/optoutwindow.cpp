#include "optoutwindow.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "sending/optoutline.h"
#include "store/storeerror.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace parlix {

namespace {

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

OptOutWindow::OptOutWindow(AppContext context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("optOutWindow"));
    setWindowTitle(OptOutRegister::registerName());
    auto* layout = new QVBoxLayout(this);

    auto* searchRow = new QHBoxLayout;
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("optOutSearch"));
    searchEdit_->setPlaceholderText(QStringLiteral("Cerca un numero o una nota"));
    searchEdit_->setAccessibleName(QStringLiteral("Cerca"));
    showRemoved_ = new QCheckBox(QStringLiteral("&Mostra anche i numeri tolti"), this);
    showRemoved_->setObjectName(QStringLiteral("optOutShowRemoved"));
    searchRow->addWidget(searchEdit_, 1);
    searchRow->addWidget(showRemoved_);
    layout->addLayout(searchRow);

    table_ = new QTableWidget(0, 5, this);
    table_->setObjectName(QStringLiteral("optOutList"));
    table_->setAccessibleName(windowTitle());
    table_->setHorizontalHeaderLabels({QStringLiteral("Numero"), QStringLiteral("Aggiunto il"),
                                       QStringLiteral("Origine"), QStringLiteral("Nota"),
                                       QStringLiteral("Tolto il")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch); // the note takes the rest
    table_->verticalHeader()->hide();
    layout->addWidget(table_, 1);

    auto* addRow = new QHBoxLayout;
    numberEdit_ = new QLineEdit(this);
    numberEdit_->setObjectName(QStringLiteral("optOutNumber"));
    numberEdit_->setPlaceholderText(QStringLiteral("Numero, es. 333 1234567"));
    numberEdit_->setAccessibleName(QStringLiteral("Numero"));
    noteEdit_ = new QLineEdit(this);
    noteEdit_->setObjectName(QStringLiteral("optOutNote"));
    noteEdit_->setPlaceholderText(QStringLiteral("Nota (facoltativa)"));
    noteEdit_->setAccessibleName(QStringLiteral("Nota"));
    addButton_ = makeButton(QStringLiteral("optOutAdd"), QStringLiteral("&Aggiungi"), this);
    addRow->addWidget(numberEdit_, 1);
    addRow->addWidget(noteEdit_, 2);
    addRow->addWidget(addButton_);
    layout->addLayout(addRow);

    auto* lineRow = new QFormLayout;
    lineEdit_ = new QLineEdit(OptOutLine::load(context_.state.folder), this);
    lineEdit_->setObjectName(QStringLiteral("optOutLine"));
    lineEdit_->setPlaceholderText(QStringLiteral("es. Per non ricevere più SMS rispondi STOP"));
    auto* saveLine = makeButton(QStringLiteral("optOutSaveLine"), QStringLiteral("&Salva riga"), this);
    auto* lineBox = new QHBoxLayout;
    lineBox->addWidget(lineEdit_, 1);
    lineBox->addWidget(saveLine);
    auto* lineLabel = new QLabel(QStringLiteral("&Riga aggiunta agli SMS multipli:"), this);
    lineLabel->setBuddy(lineEdit_);
    lineRow->addRow(lineLabel, lineBox);
    layout->addLayout(lineRow);

    auto* buttons = new QHBoxLayout;
    removeButton_ = makeButton(QStringLiteral("optOutRemove"), QStringLiteral("&Togli dal registro"), this);
    importButton_ = makeButton(QStringLiteral("optOutImport"), QStringLiteral("&Importa..."), this);
    auto* closeButton = makeButton(QStringLiteral("optOutClose"), QStringLiteral("&Chiudi"), this);
    buttons->addWidget(removeButton_);
    buttons->addWidget(importButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(searchEdit_, &QLineEdit::textChanged, this, &OptOutWindow::reload);
    connect(showRemoved_, &QCheckBox::toggled, this, &OptOutWindow::reload);
    connect(addButton_, &QPushButton::clicked, this, &OptOutWindow::addTyped);
    connect(numberEdit_, &QLineEdit::returnPressed, this, &OptOutWindow::addTyped);
    connect(removeButton_, &QPushButton::clicked, this, &OptOutWindow::removeSelected);
    connect(importButton_, &QPushButton::clicked, this, &OptOutWindow::importFile);
    connect(saveLine, &QPushButton::clicked, this, &OptOutWindow::saveLine);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    resize(760, 420);
    reload();
}

template <typename Work> void OptOutWindow::withRegister(Work work)
{
    try {
        OptOutRegister optOut(*context_.state.store, context_.state.folder.bookList());
        work(optOut);
    } catch (const StoreError& error) {
        context_.dialogs.message(error.message(), MessageIcon::Critical);
    }
}

int OptOutWindow::rowCount() const
{
    return table_->rowCount();
}

void OptOutWindow::reload()
{
    const QString current = numbers_.value(table_->currentRow());
    QList<OptOutEntry> entries;
    withRegister([&](OptOutRegister& optOut) {
        entries = optOut.entries(searchEdit_->text(), showRemoved_->isChecked());
    });
    numbers_.clear();
    table_->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        const OptOutEntry& entry = entries.at(row);
        const QString source =
            entry.file.isEmpty() ? entry.source : QStringLiteral("%1 (%2)").arg(entry.source, entry.file);
        const QStringList cells{entry.number, entry.added, source, entry.note, entry.removed};
        for (int column = 0; column < cells.size(); ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        numbers_ << entry.number;
    }
    table_->setCurrentCell(int(std::max<qsizetype>(numbers_.indexOf(current), entries.isEmpty() ? -1 : 0)),
                           0);
}

void OptOutWindow::addTyped()
{
    const QString number = numberEdit_->text().trimmed();
    if (number.isEmpty()) {
        context_.dialogs.message(QStringLiteral("Scrivere il numero da escludere dagli invii."),
                                 MessageIcon::Exclamation);
        return;
    }
    withRegister([&](OptOutRegister& optOut) {
        const OptOutRegister::Added added = optOut.add(number, OptOutRegister::Source::Typed, QString(),
                                                       noteEdit_->text().trimmed(), context_.clock.now());
        if (added == OptOutRegister::Added::NotANumber) {
            context_.dialogs.message(OptOutRegister::notANumberText(number), MessageIcon::Exclamation);
            return;
        }
        if (added == OptOutRegister::Added::AlreadyThere)
            context_.dialogs.message(QStringLiteral("Il numero è già nel registro dal %1.")
                                         .arg(optOut.find(number).value_or(OptOutEntry{}).added),
                                     MessageIcon::Information);
        numberEdit_->clear();
        noteEdit_->clear();
    });
    reload();
}

void OptOutWindow::removeSelected()
{
    const QString number = numbers_.value(table_->currentRow());
    if (number.isEmpty() || !table_->item(table_->currentRow(), 4)->text().isEmpty()) {
        context_.dialogs.message(QStringLiteral("Scegliere nell'elenco un numero del registro."),
                                 MessageIcon::Exclamation);
        return;
    }
    if (context_.dialogs.message(OptOutRegister::removalQuestion(number), MessageIcon::Question,
                                 MessageButtons::YesNo) != Answer::Yes)
        return;
    withRegister([&](OptOutRegister& optOut) { optOut.remove(number, context_.clock.now()); });
    reload();
}

void OptOutWindow::importFile()
{
    const QString path =
        context_.dialogs.openFile(QStringLiteral("Importa numeri esclusi"), context_.state.folder.root(),
                                  QStringLiteral("Elenchi di numeri (*.csv *.txt);;Tutti i file (*)"));
    if (path.isEmpty())
        return;
    const std::optional<QStringList> lines = OptOutRegister::readFile(path);
    if (!lines) {
        context_.dialogs.message(
            QStringLiteral("Il file \"%1\" non può essere letto: nessun numero importato.").arg(path),
            MessageIcon::Exclamation);
        return;
    }
    withRegister([&](OptOutRegister& optOut) {
        const OptOutRegister::ImportTally tally = optOut.import(*lines, path, context_.clock.now());
        context_.dialogs.message(OptOutRegister::importText(tally), tally.skipped.isEmpty()
                                                                        ? MessageIcon::Information
                                                                        : MessageIcon::Exclamation);
    });
    reload();
}

void OptOutWindow::saveLine()
{
    if (!OptOutLine::save(context_.state.folder, lineEdit_->text()))
        context_.dialogs.message(
            QStringLiteral("Il file \"%1\" non può essere scritto: la riga non è stata salvata.")
                .arg(OptOutLine::fileName()),
            MessageIcon::Exclamation);
    lineEdit_->setText(OptOutLine::load(context_.state.folder));
}

void excludeFromSending(AppContext context, const QString& book, const QStringList& numbers)
{
    if (numbers.isEmpty()) {
        context.dialogs.message(QStringLiteral("Spuntare o scegliere i contatti da escludere dagli invii."),
                                MessageIcon::Exclamation);
        return;
    }
    OptOutRegister::ImportTally tally;
    try {
        OptOutRegister optOut(*context.state.store, context.state.folder.bookList());
        const QString note = QStringLiteral("dalla rubrica \"%1\"").arg(book);
        for (const QString& number : numbers) {
            switch (optOut.add(number, OptOutRegister::Source::Typed, QString(), note, context.clock.now())) {
            case OptOutRegister::Added::NotANumber:
                tally.skipped << number;
                break;
            case OptOutRegister::Added::AlreadyThere:
                ++tally.alreadyThere;
                break;
            default:
                ++tally.added;
                break;
            }
        }
    } catch (const StoreError& error) {
        context.dialogs.message(error.message(), MessageIcon::Critical);
        return;
    }
    QString text = QStringLiteral("Numeri aggiunti al registro \"%1\": %2. Già presenti: %3.")
                       .arg(OptOutRegister::registerName())
                       .arg(tally.added)
                       .arg(tally.alreadyThere);
    if (!tally.skipped.isEmpty())
        text += QStringLiteral("\nNumeri non validi, non aggiunti: %1")
                    .arg(tally.skipped.join(QStringLiteral(", ")));
    context.dialogs.message(text,
                            tally.skipped.isEmpty() ? MessageIcon::Information : MessageIcon::Exclamation);
}

} // namespace parlix
