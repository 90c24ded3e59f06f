#pragma once

#include "core/appcontext.h"

#include <QDialog>
#include <QList>

class QPushButton;
class QTableWidget;

namespace parlix {

class ScheduledDispatcher;

// "Invii programmati": the batches of every book waiting for their time, one
// row each (book, time, recipients, SMS, text), and "Annulla invio" for the
// selected one, which works only while it has not left.
class ScheduledBatchesWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ScheduledBatchesWindow(AppContext context, QWidget* parent = nullptr);

    // Reads the batches again.
    void reload();
    // Reads them again whenever `dispatcher` has sent one, so the list shows
    // what is still to go.
    void follow(const ScheduledDispatcher& dispatcher);
    int rowCount() const;

private:
    struct Row
    {
        QString book;
        qint64 id;
    };

    void cancelSelected();

    AppContext context_;
    QTableWidget* table_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QList<Row> rows_;
};

} // namespace parlix
