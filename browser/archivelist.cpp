#include "archivelist.h"

#include "browser/archivemodel.h"
#include "browser/elidedlabel.h"
#include "contacts/archivecolumns.h"
#include "contacts/archivedeletion.h"
#include "contacts/archivepages.h"
#include "contacts/bookfile.h"
#include "core/dialogs.h"
#include "core/programstate.h"
#include "store/archivewatch.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace parlix {

namespace {

constexpr int twipsPerPixel = 15;
constexpr int refreshRetryMs = 300;
// How often an archive that could not be read is tried again.
constexpr int storeRetryMs = 5000;

int pixels(int twips)
{
    return int(std::lround(double(twips) / twipsPerPixel));
}

QLabel* makeLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

ArchiveList::ArchiveList(AppContext context, NodeProvider selectedNode, QWidget* parent)
    : QWidget(parent), context_(context), selectedNode_(std::move(selectedNode))
{
    setObjectName(QStringLiteral("seri"));
    setWindowTitle(QStringLiteral("Archivio"));

    reloadTimer_.setSingleShot(true);
    reloadTimer_.setInterval(0);
    reloadTimer_.setObjectName(QStringLiteral("Timer3"));
    connect(&reloadTimer_, &QTimer::timeout, this, &ArchiveList::reload);
    refreshRetry_.setSingleShot(true);
    refreshRetry_.setInterval(refreshRetryMs);
    connect(&refreshRetry_, &QTimer::timeout, this, &ArchiveList::refresh);
    storeRetry_.setInterval(storeRetryMs);
    connect(&storeRetry_, &QTimer::timeout, this, [this] {
        if (const auto kind = currentKind(); kind && reloadAllowed_ && !QApplication::activeModalWidget())
            load(*kind, Failure::Ignore);
    });

    kindPicture_ = makeLabel(QStringLiteral("Picture3"), this);
    kindPicture_->setFixedSize(32, 32);
    kindCaption_ = makeLabel(QStringLiteral("Label2"), this);
    QFont bold = kindCaption_->font();
    bold.setBold(true);
    kindCaption_->setFont(bold);
    // A long book name is cut short with "…" rather than pushing "Seleziona Tutto" away.
    archiveCaption_ = new ElidedLabel(this);
    archiveCaption_->setObjectName(QStringLiteral("Label6"));
    selectAll_ = new QCheckBox(QStringLiteral("Seleziona Tutto"), this);
    selectAll_->setObjectName(QStringLiteral("Check1"));
    connect(selectAll_, &QCheckBox::toggled, this, &ArchiveList::onSelectAllToggled);

    model_ = new ArchiveModel(this);
    view_ = new QTreeView(this);
    view_->setObjectName(QStringLiteral("lvw1"));
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->header()->setStretchLastSection(false);
    // Columns widen to the texts of the rows in view only (see fitColumns):
    // a book may hold a million rows.
    view_->header()->setResizeContentsPrecision(0);
    view_->header()->setSectionsMovable(false);
    // A click on a column title sorts by it; a second click reverses.
    view_->header()->setSectionsClickable(true);
    view_->header()->setSortIndicatorShown(true);
    connect(view_->header(), &QHeaderView::sectionClicked, this, &ArchiveList::sortByColumn);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    connect(view_, &QTreeView::doubleClicked, this, &ArchiveList::onDoubleClicked);
    connect(model_, &ArchiveModel::readFailed, this, &ArchiveList::showFailure);
    // An archive that cannot be read says so where its rows would be, never
    // showing the book as empty.
    failureText_ = makeLabel(QStringLiteral("lblNonLeggibile"), this);
    failureText_->setAlignment(Qt::AlignCenter);
    failureText_->setWordWrap(true);
    rowsArea_ = new QStackedWidget(this);
    rowsArea_->addWidget(view_);
    rowsArea_->addWidget(failureText_);

    auto* captions = new QHBoxLayout;
    captions->addWidget(kindPicture_);
    auto* titles = new QVBoxLayout;
    titles->addWidget(kindCaption_);
    titles->addWidget(archiveCaption_);
    captions->addLayout(titles, 1);
    captions->addWidget(selectAll_, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(captions);
    layout->addWidget(rowsArea_, 1);
}

ArchiveList::~ArchiveList() = default;

void ArchiveList::scheduleReload()
{
    reloadTimer_.start();
}

void ArchiveList::allowReload()
{
    reloadAllowed_ = true;
}

void ArchiveList::reload()
{
    reloadTimer_.stop();
    if (reloadAllowed_) {
        if (const auto kind = currentKind())
            load(*kind);
    }
    emit reloaded();
}

void ArchiveList::load(ArchiveKind kind, Failure onFailure)
{
    const QString book = currentBook();
    // The archive already shown keeps its ticks, its order, the selected row
    // and the scroll position: the window's activation reloads, and the
    // user's choice must not vanish because a box was shown and closed.
    const bool sameArchive = model_->kind() == kind && loadedBook_ == book;
    const ArchiveOrder order = sameArchive && sortedColumn_ > 0
                                   ? ArchiveOrder{sortedColumn_ - 1, sortOrder_ == Qt::DescendingOrder}
                                   : ArchiveOrder{sortCell(kind), false};
    const int current = sameArchive ? currentRow() : -1;
    const long long selected = current >= 0 ? model_->row(current).rowid : 0;
    const int scrolled = sameArchive ? view_->verticalScrollBar()->value() : 0;
    std::unique_ptr<ArchivePages> pages;
    std::optional<StoreError> failure;
    try {
        pages = std::make_unique<ArchivePages>(
            context_.state.store->open(bookFile(context_.state.folder, book)), kind, order);
        pages->count();
    } catch (const StoreError& error) {
        // A refresh that cannot read leaves the list as it is; the next
        // reload says why.
        if (onFailure == Failure::Ignore)
            return;
        failure = error;
    }
    view_->setUpdatesEnabled(false);
    loadedBook_ = book;
    sortedColumn_ = order.cell + 1;
    sortOrder_ = order.descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    if (!failure) {
        model_->show(std::move(pages), sameArchive);
        rowsArea_->setCurrentWidget(view_);
        storeRetry_.stop();
        reportedFailure_.clear();
        watchArchive(kind, book);
    } else {
        watch_.reset();
        watched_.clear();
        showFailure(failure->message());
        model_->setFailed(kind, failure->message());
    }
    view_->header()->setSortIndicator(sortedColumn_, sortOrder_);
    fitColumns(kind);
    if (selected != 0)
        selectRow(model_->find(selected));
    view_->verticalScrollBar()->setValue(scrolled);
    view_->setUpdatesEnabled(true);
    if (failure) {
        // Said once per archive: closing the box reactivates the main window,
        // which reloads the list, which would fail and say it again forever.
        const QString failed = book + u'\n' + archiveLetter(kind);
        if (failed != reportedFailure_) {
            reportedFailure_ = failed;
            context_.dialogs.message(failure->message(), MessageIcon::Critical);
        }
    }
}

void ArchiveList::showFailure(const QString& message)
{
    failureText_->setText(QStringLiteral("Non è stato possibile leggere questo archivio:\n%1\n\n"
                                         "L'elenco sarà letto di nuovo appena l'archivio risponderà.")
                              .arg(message));
    rowsArea_->setCurrentWidget(failureText_);
    storeRetry_.start();
}

void ArchiveList::watchArchive(ArchiveKind kind, const QString& book)
{
    const QString archive = book + u'\n' + archiveLetter(kind);
    if (watch_ && watched_ == archive)
        return;
    watch_.reset();
    watched_ = archive;
    try {
        watch_ = context_.state.store->watch(bookFile(context_.state.folder, book), archiveTable(kind));
        connect(watch_.get(), &ArchiveWatch::changed, this, &ArchiveList::refresh);
    } catch (const StoreError&) {
        // Without a watch the list is read again when a command asks, as on
        // a store of one seat.
    }
}

void ArchiveList::refresh()
{
    // Not while a box or form is open over the window: the user is answering
    // about the rows as they are shown. Tried again a moment later.
    if (QApplication::activeModalWidget()) {
        refreshRetry_.start();
        return;
    }
    const auto kind = currentKind();
    // A reload that is due reads the archive anyway; another archive shown
    // meanwhile is not this watch's business.
    if (!reloadAllowed_ || reloadTimer_.isActive() || !kind || model_->kind() != kind ||
        loadedBook_ != currentBook())
        return;
    load(*kind, Failure::Ignore);
    emit reloaded();
}

void ArchiveList::fitColumns(ArchiveKind kind)
{
    // Each column starts at its designed width and widens to its texts (as
    // far as the rows in view show them), up to a limit, so that dates and
    // messages can be read without the list growing beyond the window.
    const auto columns = archiveColumns(kind);
    view_->header()->resizeSection(0, pixels(columns[0].widthTwips));
    for (int i = 1; i < int(columns.size()); ++i) {
        const int designed = pixels(columns[size_t(i)].widthTwips);
        const int limit = designed * 2;
        view_->resizeColumnToContents(i);
        view_->header()->resizeSection(i, std::clamp(view_->header()->sectionSize(i), designed, limit));
    }
}

void ArchiveList::sortByColumn(int column)
{
    if (column < 1)
        return;
    // A click on the sorted column reverses it, a click elsewhere sorts ascending.
    sortOrder_ = column == sortedColumn_ && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                             : Qt::AscendingOrder;
    sortedColumn_ = column;
    view_->header()->setSortIndicator(sortedColumn_, sortOrder_);
    // The selected row stays selected wherever the new order puts it.
    const int current = currentRow();
    const long long selected = current >= 0 ? model_->row(current).rowid : 0;
    model_->sort(sortedColumn_, sortOrder_);
    if (selected != 0)
        selectRow(model_->find(selected));
}

void ArchiveList::setArchiveCaption(const QString& caption)
{
    archiveCaption_->setText(caption);
}

QString ArchiveList::archiveCaption() const
{
    return archiveCaption_->text();
}

void ArchiveList::setKindCaption(const QIcon& picture, const QString& title)
{
    kindPicture_->setPixmap(picture.pixmap(32, 32));
    kindCaption_->setText(title);
}

QString ArchiveList::kindCaption() const
{
    return kindCaption_->text();
}

void ArchiveList::clear()
{
    model_->clear();
    rowsArea_->setCurrentWidget(view_);
    storeRetry_.stop();
    watch_.reset();
    watched_.clear();
    loadedBook_.clear();
    reportedFailure_.clear();
}

std::optional<ArchiveKind> ArchiveList::currentKind() const
{
    return archiveKindFromKey(selectedNode_().key);
}

QString ArchiveList::currentBook() const
{
    return selectedNode_().text;
}

int ArchiveList::rowCount() const
{
    return model_->rowCount();
}

ArchiveRow ArchiveList::row(int index) const
{
    return model_->row(index);
}

bool ArchiveList::isTicked(int index) const
{
    return model_->isTicked(index);
}

void ArchiveList::setTicked(int index, bool ticked)
{
    model_->setTicked(index, ticked);
}

std::vector<RowSelection> ArchiveList::tickedRows() const
{
    std::vector<RowSelection> rows;
    const auto kind = model_->kind();
    if (!kind)
        return rows;
    try {
        forEachTicked([&](const ArchiveRow& row) {
            rows.push_back(rowSelection(*kind, row));
            return true;
        });
    } catch (const StoreError& error) {
        // Part of the ticked rows is no choice the user made.
        context_.dialogs.message(error.message(), MessageIcon::Critical);
        rows.clear();
    }
    return rows;
}

void ArchiveList::forEachTicked(const std::function<bool(const ArchiveRow&)>& each) const
{
    model_->forEachTicked(each);
}

int ArchiveList::tickedCount() const
{
    const TickRule& ticks = model_->ticks();
    const int exceptions = int(ticks.exceptions().size());
    return ticks.all() ? std::max(0, rowCount() - exceptions) : exceptions;
}

QString ArchiveList::failure() const
{
    return model_->failure();
}

void ArchiveList::selectRow(int index)
{
    if (index < 0 || index >= rowCount()) {
        view_->selectionModel()->clear();
        return;
    }
    view_->setCurrentIndex(model_->index(index, 0));
}

int ArchiveList::currentRow() const
{
    const QModelIndex current = view_->currentIndex();
    return current.isValid() && view_->selectionModel()->isRowSelected(current.row()) ? current.row() : -1;
}

std::optional<RowSelection> ArchiveList::selection() const
{
    const int index = currentRow();
    const auto kind = model_->kind();
    if (index < 0 || !kind)
        return std::nullopt;
    return rowSelection(*kind, model_->row(index));
}

void ArchiveList::setSelectAll(bool ticked)
{
    selectAll_->setChecked(ticked);
}

bool ArchiveList::selectAll() const
{
    return selectAll_->isChecked();
}

void ArchiveList::onSelectAllToggled(bool ticked)
{
    selectAll_->setText(ticked ? QStringLiteral("Deseleziona Tutto") : QStringLiteral("Seleziona Tutto"));
    model_->setAllTicked(ticked);
}

void ArchiveList::deleteSelected()
{
    const auto kind = currentKind();
    // Without a row clicked there is nothing to delete: the question would
    // name no number and the deletion would hit whatever row has none.
    if (!kind || currentRow() < 0)
        return;
    // The highlighted row itself goes, not the first one sharing its number.
    const RowSelection row = rowSelection(*kind, model_->row(currentRow()));
    const QString question =
        QStringLiteral("Si desidera Cancellare la voce ") + row.cellulare + QStringLiteral(" ?");
    if (context_.dialogs.message(question, MessageIcon::None, MessageButtons::YesNoDefaultNo) != Answer::Yes)
        return;
    try {
        ArchiveDeletion(context_.state, *kind, currentBook()).deleteRow(row);
    } catch (const StoreError& error) {
        context_.dialogs.message(error.message(), MessageIcon::Critical);
    }
    scheduleReload();
}

void ArchiveList::onDoubleClicked(const QModelIndex& index)
{
    const auto kind = currentKind();
    if (!index.isValid() || !kind || (*kind != ArchiveKind::Contacts && *kind != ArchiveKind::Saved))
        return;
    emit rowDoubleClicked(*kind, rowSelection(*kind, model_->row(index.row())));
}

bool ArchiveList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            deleteSelected();
            return true;
        }
    } else if (watched == view_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton)
            emit rightButtonReleased(mouse->position().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace parlix
