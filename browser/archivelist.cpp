#include "archivelist.h"

#include "browser/archivemodel.h"
#include "browser/elidedlabel.h"
#include "contacts/archivecolumns.h"
#include "contacts/archivedeletion.h"
#include "contacts/archiveloader.h"
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
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace parlix {

namespace {

constexpr int twipsPerPixel = 15;
constexpr int refreshRetryMs = 300;

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
    view_->header()->setSectionsMovable(false);
    // A click on a column title sorts by it; a second click reverses.
    view_->header()->setSectionsClickable(true);
    view_->header()->setSortIndicatorShown(true);
    connect(view_->header(), &QHeaderView::sectionClicked, this, &ArchiveList::sortByColumn);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    connect(view_, &QTreeView::doubleClicked, this, &ArchiveList::onDoubleClicked);

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
    layout->addWidget(view_, 1);
}

ArchiveList::~ArchiveList() = default;

void ArchiveList::sceglivisua()
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

void ArchiveList::visualizza()
{
    load(ArchiveKind::Contacts);
}

void ArchiveList::visualizzasalvati()
{
    load(ArchiveKind::Saved);
}

void ArchiveList::visualizzainviati()
{
    load(ArchiveKind::Sent);
}

void ArchiveList::visualizzacance()
{
    load(ArchiveKind::Deleted);
}

void ArchiveList::load(ArchiveKind kind, Failure onFailure)
{
    const QString book = currentBook();
    std::vector<ArchiveRow> rows;
    std::optional<StoreError> failure;
    try {
        rows = readArchive(context_.state, kind, book);
    } catch (const StoreError& error) {
        // A refresh that cannot read leaves the list as it is; the next
        // reload says why.
        if (onFailure == Failure::Ignore)
            return;
        failure = error;
    }
    view_->setUpdatesEnabled(false);
    // Reloading the archive already shown keeps the ticks of the rows that
    // are still there: the window's activation reloads, and the user's
    // choice must not vanish because a box was shown and closed.
    std::vector<ArchiveRow> ticked;
    const bool sameArchive = model_->kind() == kind && loadedBook_ == book;
    if (sameArchive) {
        for (const int index : model_->tickedIndices())
            ticked.push_back(model_->row(index));
    }
    loadedBook_ = book;
    if (!failure) {
        model_->setRows(kind, std::move(rows));
        if (!ticked.empty())
            model_->tickMatching(std::move(ticked));
        watchArchive(kind, book);
    } else {
        model_->setEmpty(kind);
        watch_.reset();
        view_->setUpdatesEnabled(true);
        // Said once per archive: closing the box reactivates the main window,
        // which reloads the list, which would fail and say it again forever.
        const QString failed = book + u'\n' + archiveLetter(kind);
        if (failed != reportedFailure_) {
            reportedFailure_ = failed;
            context_.dialogs.message(failure->message(), MessageIcon::Critical);
        }
    }
    // The loader gives the rows sorted by surname; an archive shown again
    // keeps the order the user chose by its column titles.
    if (sameArchive && sortedColumn_ > 0) {
        model_->sort(sortedColumn_, sortOrder_);
    } else {
        sortedColumn_ = sortCell(kind) + 1;
        sortOrder_ = Qt::AscendingOrder;
    }
    view_->header()->setSortIndicator(sortedColumn_, sortOrder_);
    fitColumns(kind);
    view_->setUpdatesEnabled(true);
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
    const int current = currentRow();
    const std::optional<ArchiveRow> selected =
        current >= 0 ? std::optional<ArchiveRow>(model_->row(current)) : std::nullopt;
    const int scrolled = view_->verticalScrollBar()->value();
    load(*kind, Failure::Ignore);
    // The row is highlighted again as it was.
    if (selected) {
        if (const int again = model_->find(*selected); again >= 0) {
            selectRow(again);
        }
    }
    view_->verticalScrollBar()->setValue(scrolled);
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
    model_->sort(sortedColumn_, sortOrder_);
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

const ArchiveRow& ArchiveList::row(int index) const
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
    if (!model_->kind())
        return rows;
    for (const int index : model_->tickedIndices())
        rows.push_back(rowSelection(*model_->kind(), model_->row(index)));
    return rows;
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
    sceglivisua();
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
