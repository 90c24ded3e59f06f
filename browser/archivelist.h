#pragma once

#include "contacts/archiverow.h"
#include "core/appcontext.h"
#include "store/archivekind.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QStackedWidget;
class QTreeView;

namespace parlix {

class ArchiveModel;
class ArchiveWatch;

// The tree node whose archive the list shows: its key ("r2", "a1") and text.
struct SelectedNode
{
    QString key;
    QString text;
};

// The archive list "seri": the rows of the archive picked in the main
// window's tree, a check box on every row, "Seleziona Tutto", the captions set
// by the tree click. The kind and the book are read afresh from the tree's
// selected node each time (through the provider); the list keeps no copy.
// On a store shared by several seats the list watches the archive it shows
// and reads it again when another seat changes it, keeping ticks, selection
// and scroll position of the rows still there.
class ArchiveList : public QWidget
{
    Q_OBJECT

public:
    using NodeProvider = std::function<SelectedNode()>;

    ArchiveList(AppContext context, NodeProvider selectedNode, QWidget* parent = nullptr);
    ~ArchiveList() override;

    // Schedules one reload for the next idle moment; calls made before it
    // runs are merged into that one reload.
    void scheduleReload();
    bool reloadPending() const { return reloadTimer_.isActive(); }
    // A node of the tree was clicked: from now on a reload fills the list.
    void allowReload();
    // Reads the archive shown afresh now, keeping ticks, selection and scroll
    // position of the rows still there; said when it cannot be read (for
    // instance once the store answers again after an outage).
    void reload();

    // What the tree click sets: the archive caption (" " + node text), the
    // kind's picture and title; and clearing rows and columns.
    void setArchiveCaption(const QString& caption);
    QString archiveCaption() const;
    void setKindCaption(const QIcon& picture, const QString& title);
    QString kindCaption() const;
    void clear();

    std::optional<ArchiveKind> currentKind() const;
    QString currentBook() const;

    int rowCount() const;
    ArchiveRow row(int index) const;
    bool isTicked(int index) const;
    void setTicked(int index, bool ticked);
    // The ticked rows' values, in the order the list shows them; none, and
    // the store's message said, when they cannot be read.
    std::vector<RowSelection> tickedRows() const;
    // Each ticked row in the order the list shows, read from the store a page
    // at a time, until `each` says false. Throws StoreError.
    void forEachTicked(const std::function<bool(const ArchiveRow&)>& each) const;
    // How many rows are ticked, by the tick rule (rows gone since the list
    // was read may still count).
    int tickedCount() const;
    // Why the archive shown could not be read; empty when it was.
    QString failure() const;
    // Makes a row the current, selected one (-1: none).
    void selectRow(int index);
    int currentRow() const;
    // The values of the selected row; nothing without one.
    std::optional<RowSelection> selection() const;

    // "Seleziona Tutto" / "Deseleziona Tutto".
    void setSelectAll(bool ticked);
    bool selectAll() const;

    // Asks about deleting the selected row and deletes it (the Delete key).
    void deleteSelected();

    QTreeView* view() const { return view_; }
    ArchiveModel* model() const { return model_; }

signals:
    // A double click on a contact or a saved message (not on sent or deleted
    // messages).
    void rowDoubleClicked(ArchiveKind kind, const RowSelection& row);
    // The right mouse button was released over the list, at this position
    // of the list's own area.
    void rightButtonReleased(const QPoint& position);
    // A reload has run (also when it found nothing to load).
    void reloaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A reload a command asked for tells why an archive cannot be read; a
    // refresh no command asked for leaves the list as it is.
    enum class Failure { Report, Ignore };

    void load(ArchiveKind kind, Failure failure = Failure::Report);
    void showFailure(const QString& message);
    void watchArchive(ArchiveKind kind, const QString& book);
    // Another seat changed the archive shown: read it again in place.
    void refresh();
    void onSelectAllToggled(bool ticked);
    void onDoubleClicked(const QModelIndex& index);
    void fitColumns(ArchiveKind kind);
    void sortByColumn(int column);

    AppContext context_;
    NodeProvider selectedNode_;
    QString loadedBook_;
    QString reportedFailure_; // the archive whose failure to load was last reported
    QTimer reloadTimer_;
    std::unique_ptr<ArchiveWatch> watch_;
    QString watched_; // book and kind letter of the archive watched
    QTimer refreshRetry_;
    QTimer storeRetry_;          // reads again an archive that could not be read
    bool reloadAllowed_ = false; // aggiornalista
    int sortedColumn_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    ArchiveModel* model_;
    QTreeView* view_;
    QLabel* failureText_;
    QStackedWidget* rowsArea_;
    QCheckBox* selectAll_;
    QLabel* archiveCaption_;
    QLabel* kindCaption_;
    QLabel* kindPicture_;
};

} // namespace parlix
