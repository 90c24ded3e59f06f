#include "statisticswindow.h"

#include "core/clock.h"
#include "core/dialogs.h"
#include "core/ownthread.h"
#include "core/programstate.h"
#include "core/storechoice.h"
#include "core/textfile.h"
#include "messaging/statisticschart.h"
#include "sending/statisticstable.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace parlix {

namespace {

// What a reading on the worker thread gives back.
struct Reading
{
    std::optional<SendStatistics> stats;
    QString error;
};

QDateEdit* dateEdit(const char* name, QWidget* parent)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

QString summary(const SmsCounts& total)
{
    const QString rate = acceptanceRateText(total);
    return QStringLiteral("SMS accettati %1, rifiutati %2, esito incerto %3. Credito speso %1. "
                          "Tasso di accettazione: %4.")
        .arg(total.accepted)
        .arg(total.refused)
        .arg(total.inDoubt)
        .arg(rate.isEmpty() ? QStringLiteral("nessun SMS") : rate);
}

// Adds `suffix` to a chosen name that has none.
QString withSuffix(const QString& path, const QString& suffix)
{
    return QFileInfo(path).suffix().isEmpty() ? path + u'.' + suffix : path;
}

} // namespace

StatisticsWindow::StatisticsWindow(AppContext context, QWidget* parent) : QDialog(parent), context_(context)
{
    setObjectName(QStringLiteral("Statistiche"));
    setWindowTitle(QStringLiteral("Statistiche"));
    fromEdit_ = dateEdit("dal", this);
    toEdit_ = dateEdit("al", this);
    stepBox_ = new QComboBox(this);
    stepBox_->setObjectName(QStringLiteral("per"));
    stepBox_->addItem(QStringLiteral("Giorno"), int(StatisticsStep::Day));
    stepBox_->addItem(QStringLiteral("Settimana"), int(StatisticsStep::Week));
    stepBox_->addItem(QStringLiteral("Mese"), int(StatisticsStep::Month));
    pngButton_ = new QPushButton(QStringLiteral("Esporta &PNG"), this);
    pngButton_->setObjectName(QStringLiteral("esportaPng"));
    csvButton_ = new QPushButton(QStringLiteral("Esporta &CSV"), this);
    csvButton_->setObjectName(QStringLiteral("esportaCsv"));
    auto* closeButton = new QPushButton(QStringLiteral("C&hiudi"), this);

    auto* controls = new QHBoxLayout;
    const auto addLabelled = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        controls->addWidget(label);
        controls->addWidget(field);
    };
    addLabelled(QStringLiteral("&Dal"), fromEdit_);
    addLabelled(QStringLiteral("&Al"), toEdit_);
    addLabelled(QStringLiteral("P&er"), stepBox_);
    controls->addStretch();
    controls->addWidget(pngButton_);
    controls->addWidget(csvButton_);
    controls->addWidget(closeButton);

    chartView_ = new QChartView(this);
    chartView_->setObjectName(QStringLiteral("grafico"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumHeight(320);
    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("riepilogo"));
    forecastLabel_ = new QLabel(this);
    forecastLabel_->setObjectName(QStringLiteral("previsione"));
    forecastLabel_->setWordWrap(true);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("tabella"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->setMaximumHeight(180);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(chartView_, 1);
    layout->addWidget(summaryLabel_);
    layout->addWidget(forecastLabel_);
    layout->addWidget(table_);
    resize(960, 720);

    // Changes made in a row (typing a date) start one reading.
    auto* settle = new QTimer(this);
    settle->setSingleShot(true);
    settle->setInterval(250);
    connect(settle, &QTimer::timeout, this, &StatisticsWindow::reload);
    connect(fromEdit_, &QDateEdit::dateChanged, settle, qOverload<>(&QTimer::start));
    connect(toEdit_, &QDateEdit::dateChanged, settle, qOverload<>(&QTimer::start));
    connect(stepBox_, &QComboBox::currentIndexChanged, settle, qOverload<>(&QTimer::start));
    connect(pngButton_, &QPushButton::clicked, this, &StatisticsWindow::exportChart);
    connect(csvButton_, &QPushButton::clicked, this, &StatisticsWindow::exportTable);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    const QDate today = context_.clock.now().date();
    setControls(defaultPeriodStart(today, StatisticsStep::Month), today, StatisticsStep::Month);
    // Read once the window is up, unless another period was asked for first.
    QTimer::singleShot(0, this, [this] {
        if (request_ == 0)
            reload();
    });
}

void StatisticsWindow::showPeriod(const QDate& from, const QDate& to, StatisticsStep step)
{
    setControls(from, to, step);
    reload();
}

void StatisticsWindow::setControls(const QDate& from, const QDate& to, StatisticsStep step)
{
    for (QObject* control : std::initializer_list<QObject*>{fromEdit_, toEdit_, stepBox_})
        control->blockSignals(true);
    fromEdit_->setDate(from);
    toEdit_->setDate(to);
    stepBox_->setCurrentIndex(stepBox_->findData(int(step)));
    for (QObject* control : std::initializer_list<QObject*>{fromEdit_, toEdit_, stepBox_})
        control->blockSignals(false);
}

void StatisticsWindow::reload()
{
    const int request = ++request_;
    if (fromEdit_->date() > toEdit_->date()) {
        summaryLabel_->setText(QStringLiteral("La data iniziale è successiva a quella finale."));
        return;
    }
    summaryLabel_->setText(QStringLiteral("Lettura delle statistiche in corso..."));
    pngButton_->setEnabled(false);
    csvButton_->setEnabled(false);
    const StatisticsRequest wanted{fromEdit_->date(), toEdit_->date(),
                                   StatisticsStep(stepBox_->currentData().toInt()),
                                   context_.clock.now().date()};
    auto* watcher = new QFutureWatcher<Reading>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        if (request != request_)
            return; // the user asked for another period meanwhile
        const Reading reading = watcher->result();
        if (reading.stats)
            draw(*reading.stats);
        else
            summaryLabel_->setText(QStringLiteral("Impossibile leggere le statistiche: ") + reading.error);
    });
    watcher->setFuture(runOnOwnThread<Reading>([folder = context_.state.folder, wanted] {
        Reading reading;
        try {
            // A store of this thread's own: the window's connection is not for other threads.
            reading.stats = readSendStatistics(*chooseStore(folder), folder, wanted);
        } catch (const StoreError& error) {
            reading.error = error.message();
        }
        return reading;
    }));
}

void StatisticsWindow::draw(const SendStatistics& stats)
{
    QChart* previous = chartView_->chart();
    chartView_->setChart(statisticsChart(stats));
    delete previous;

    const QList<QStringList> rows = statisticsTable(stats);
    table_->clear();
    table_->setColumnCount(int(rows.constFirst().size()));
    table_->setRowCount(int(rows.size() - 1));
    table_->setHorizontalHeaderLabels(rows.constFirst());
    for (qsizetype r = 1; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < rows[r].size(); ++c)
            table_->setItem(int(r - 1), int(c), new QTableWidgetItem(rows[r][c]));
    }
    table_->resizeColumnsToContents();

    QString text = summary(stats.total);
    if (!stats.unreadable.isEmpty())
        text +=
            QStringLiteral("\nRubriche non lette, escluse: ") + stats.unreadable.join(QStringLiteral("; "));
    summaryLabel_->setText(text);
    forecastLabel_->setText(forecastText(stats));
    shown_ = stats;
    pngButton_->setEnabled(true);
    csvButton_->setEnabled(true);
    emit drawn();
}

void StatisticsWindow::exportChart()
{
    const QString chosen = context_.dialogs.saveFile(QStringLiteral("Esporta grafico"), QDir::homePath(),
                                                     QStringLiteral("Immagini PNG (*.png)"));
    if (chosen.isEmpty())
        return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    chartView_->grab().save(&buffer, "PNG");
    save(withSuffix(chosen, QStringLiteral("png")), bytes);
}

void StatisticsWindow::exportTable()
{
    const QString chosen = context_.dialogs.saveFile(QStringLiteral("Esporta tabella"), QDir::homePath(),
                                                     QStringLiteral("File CSV (*.csv)"));
    if (!chosen.isEmpty() && shown_)
        save(withSuffix(chosen, QStringLiteral("csv")), statisticsCsv(*shown_));
}

bool StatisticsWindow::save(const QString& path, const QByteArray& bytes)
{
    QString error;
    if (textfile::writeWhole(path, bytes, textfile::Access::Normal, &error))
        return true;
    context_.dialogs.message(QStringLiteral("Impossibile salvare il file \"%1\": %2").arg(path, error),
                             MessageIcon::Critical);
    return false;
}

} // namespace parlix
