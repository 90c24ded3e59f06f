#include "scheduledbatcheswindow.h"

#include "core/dialogs.h"
#include "core/programstate.h"
#include "sending/scheduleddispatcher.h"
#include "sending/scheduledstore.h"
#include "sending/waitingbatches.h"
#include "store/storeerror.h"
#include "ui/mnemonics.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace parlix {

ScheduledBatchesWindow::ScheduledBatchesWindow(AppContext context, QWidget* parent)
    : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("scheduledBatches"));
    setWindowTitle(QStringLiteral("Invii programmati"));
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(0, 5, this);
    table_->setObjectName(QStringLiteral("scheduledList"));
    table_->setAccessibleName(windowTitle());
    table_->setHorizontalHeaderLabels({QStringLiteral("Rubrica"), QStringLiteral("Ora"),
                                       QStringLiteral("Destinatari"), QStringLiteral("SMS"),
                                       QStringLiteral("Testo")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    layout->addWidget(table_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cancelButton_ = new QPushButton(QStringLiteral("Annulla invio"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelScheduled"));
    auto* closeButton = new QPushButton(QStringLiteral("Chiudi"), this);
    closeButton->setObjectName(QStringLiteral("closeScheduled"));
    buttons->addWidget(cancelButton_);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);

    connect(cancelButton_, &QPushButton::clicked, this, &ScheduledBatchesWindow::cancelSelected);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    resize(720, 320);
    reload();
    mnemonics::assign(*this);
}

int ScheduledBatchesWindow::rowCount() const
{
    return table_->rowCount();
}

void ScheduledBatchesWindow::follow(const ScheduledDispatcher& dispatcher)
{
    connect(&dispatcher, &ScheduledDispatcher::batchFinished, this, &ScheduledBatchesWindow::reload);
    connect(&dispatcher, &ScheduledDispatcher::roundFinished, this, &ScheduledBatchesWindow::reload);
}

void ScheduledBatchesWindow::reload()
{
    // The row picked stays picked while others come and go.
    const int current = table_->currentRow();
    const std::optional<Row> picked =
        current >= 0 && current < rows_.size() ? std::optional<Row>(rows_.at(current)) : std::nullopt;
    rows_.clear();
    table_->setRowCount(0);
    QList<BookBatch> batches;
    try {
        batches = waitingBatches(*context_.state.store, context_.state.folder);
    } catch (const StoreError&) {
    }
    int select = 0;
    for (const auto& [book, batch] : batches) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        const QString cells[] = {book, batch.due.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                                 QString::number(batch.recipients), QString::number(batch.sms), batch.text};
        for (int column = 0; column < 5; ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
        if (picked && picked->book == book && picked->id == batch.id)
            select = row;
        rows_.append({book, batch.id});
    }
    // Columns fit their contents but never shrink below a typical row, so an
    // emptied list keeps its shape.
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    const QStringList typical = {QStringLiteral("Principale"), QStringLiteral("00/00/0000 00:00"),
                                 QStringLiteral("Destinatari"), QStringLiteral("0000")};
    for (int column = 0; column < int(typical.size()); ++column)
        table_->setColumnWidth(column,
                               std::max(table_->columnWidth(column),
                                        table_->fontMetrics().horizontalAdvance(typical.at(column)) + 24));
    if (table_->rowCount() > 0)
        table_->selectRow(select);
    cancelButton_->setEnabled(table_->rowCount() > 0);
}

void ScheduledBatchesWindow::cancelSelected()
{
    const int row = table_->currentRow();
    if (row < 0 || row >= rows_.size())
        return;
    const Row& chosen = rows_.at(row);
    try {
        if (!ScheduledStore(*context_.state.store, context_.state.folder.bookPath(chosen.book))
                 .cancel(chosen.id))
            context_.dialogs.message(QStringLiteral("L'invio è già partito: non si può più annullare."),
                                     MessageIcon::Exclamation);
    } catch (const StoreError& error) {
        context_.dialogs.message(error.message(), MessageIcon::Critical);
    }
    reload();
}

} // namespace parlix
