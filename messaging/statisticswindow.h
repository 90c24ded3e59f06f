#pragma once

#include "core/appcontext.h"
#include "sending/sendstatistics.h"

#include <QDialog>

#include <optional>

class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace parlix {

// "Statistiche": what the books sent over a period, as a chart (SMS accepted
// and refused per day, week or month, stacked by book; the credit spent) and
// as the table behind it, with the acceptance rate and the day the credit
// runs out at the pace of the last 30 days. The figures are read on a thread
// of their own, so the window never waits for the store; the chart can be
// saved as PNG and the table as CSV.
class StatisticsWindow : public QDialog
{
    Q_OBJECT
public:
    explicit StatisticsWindow(AppContext context, QWidget* parent = nullptr);

    // Reads the figures of this period again (the window starts with the last 12 months).
    void showPeriod(const QDate& from, const QDate& to, StatisticsStep step);
    // The figures drawn last; nothing while the first reading is under way.
    const std::optional<SendStatistics>& shown() const { return shown_; }

signals:
    // The figures of the latest request are drawn.
    void drawn();

private:
    void setControls(const QDate& from, const QDate& to, StatisticsStep step);
    void reload();
    void draw(const SendStatistics& stats);
    void exportChart();
    void exportTable();
    bool save(const QString& path, const QByteArray& bytes);

    AppContext context_;
    QDateEdit* fromEdit_ = nullptr;
    QDateEdit* toEdit_ = nullptr;
    QComboBox* stepBox_ = nullptr;
    QChartView* chartView_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QLabel* forecastLabel_ = nullptr;
    QPushButton* pngButton_ = nullptr;
    QPushButton* csvButton_ = nullptr;
    std::optional<SendStatistics> shown_;
    int request_ = 0; // readings started; only the latest one is drawn
};

} // namespace parlix
