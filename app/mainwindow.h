#pragma once

#include "app/vendorpages.h"
#include "browser/actionspanel.h"
#include "core/appcontext.h"
#include "sending/creditquery.h"
#include "ui/urlopener.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace parlix {

class AboutBox;
class ArchiveList;
class MainMenu;
class StoreFollower;

// The program's frame "MDIForm1": menus, toolbar, the tree panel with the
// archive tree and the credit and date labels, and the area that holds the
// archive list. It routes; the work is done by the forms and classes it calls.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Asked for the remaining credit as a decimal text, or an empty text and
    // why there is none. Runs on a worker thread, so it must not touch widgets
    // or show dialogs.
    using CreditQuery = std::function<CreditAnswer()>;

    explicit MainWindow(AppContext context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load: reads the configuration files, builds the tree, shows the
    // archive list (which selects the first book) and applies the stored
    // panel settings. Runs once, before the window is first shown.
    void load();
    // Rebuilds the archive tree from the book list. The list keeps showing
    // the node it showed (the same archive of the same book, under its new
    // name after a rename); when that book is gone it shows the same archive
    // of "Principale".
    void rebuildTree();
    // A book was renamed: the next rebuild finds the shown node under `to`.
    void bookRenamed(const QString& from, const QString& to);

    // The menu entry or toolbar action with this name ("exru", "canse",
    // "programma", ...), or null; the top-level menus by their names too.
    QAction* action(const QString& name) const;

    // Collaborators. The credit refresh is switched on by giving its query.
    void setCreditQuery(CreditQuery query);
    // Asked on the window's thread before each credit refresh; false stops the
    // refresh (it has told the user why, e.g. that no account is set).
    void setCreditPrecheck(std::function<bool()> precheck);
    // Asked before the window closes (and the program ends); false keeps it open.
    void setCloseCheck(std::function<bool()> check);
    void setUrlOpener(UrlOpener opener);
    // The panel's commands that open other forms (composer, contact editor).
    void setPanelHooks(PanelHooks hooks);
    const PanelHooks& panelHooks() const { return panelHooks_; }

    QTreeWidget* tree() const { return tree_; }
    // The node with this 1-based index (the order of the tree), or null.
    QTreeWidgetItem* node(int index) const;
    // The 1-based index of a node, 0 when it is not one of ours.
    int nodeIndex(const QTreeWidgetItem* item) const;
    int nodeCount() const { return int(nodes_.size()); }
    static QString nodeKey(const QTreeWidgetItem* item);
    // Makes a node the selected one (as a click would) and routes the click.
    void clickNode(int index);
    // 1-based index of the selected tree node (nodoselezionato).
    int selectedNodeIndex() const { return selectedNode_; }

    // The tree click: tells the archive list what to show and schedules its reload.
    void treeClick();
    // True when a book's archive is selected; otherwise tells the user
    // "selezionare un Archivio Valido" and gives false.
    bool checkValidArchive();

    // Menu commands.
    void deleteTickedContacts();
    void refreshCredit();
    void openVendorPage(VendorPage page);
    void help();
    void showHeaderDialog();
    void showEricsoftFolderDialog();
    void showAbout();
    // Opens the contact actions panel for a right-button release at this
    // position of the list.
    ActionsPanel* showActionsPanel(const QPoint& listPosition);

    // Shows `credito` in the credit label.
    void showCredit();
    QString creditText() const;

    int panelWidthTwips() const;
    void setPanelWidthTwips(int twips);
    // 0: toolbar text below the images, 1: beside them.
    int toolbarTextAlignment() const;
    void setToolbarTextAlignment(int alignment);
    // Asks for one layout of the archive list at the next idle moment;
    // requests made before it runs are merged.
    void scheduleLayout();

    QToolBar* toolbar() const { return toolbar_; }
    ArchiveList* archiveList() const { return list_; }
    QLabel* dateLabel() const { return dateLabel_; }
    StoreFollower& follower() const { return *follower_; }

signals:
    // The window became the active one, after selecting the remembered node.
    void activated();
    // The deferred layout of the archive list has run.
    void layoutApplied();
    // A credit refresh has finished, whatever its outcome.
    void creditRefreshFinished();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Opens wide enough for the whole toolbar in its text position (no overflow
    // menu hiding the last buttons), within the widest normal window.
    void fitToolbar();
    // Opens a page in the browser, or says that none could be started.
    void openPage(const QUrl& address);
    void activate();
    void applyPanelRules();
    void applyWindowSizeRules();
    void applyLayout();
    void finishCreditRefresh(const CreditAnswer& answer);
    void checkBookList();
    void showArchiveList();
    void buildTree(const QStringList& books);
    // Another seat changed the book list: the tree shows it as it is, and
    // says so when the book shown is gone.
    void followBooks(const QStringList& books);
    void selectNode(QTreeWidgetItem* item);
    // After a rebuild: selects the node that stands for the one shown before.
    void followShownNode(const QString& key, const QString& text);
    QTreeWidgetItem* findNode(QChar group, const QString& text) const;

    AppContext context_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<StoreFollower> follower_;
    QToolBar* toolbar_;
    QSplitter* splitter_;
    QWidget* panel_;
    QTreeWidget* tree_;
    QLabel* creditLabel_;
    QLabel* dateLabel_;
    QMdiArea* archiveArea_;
    QMdiSubWindow* listWindow_;
    ArchiveList* list_;
    std::vector<QTreeWidgetItem*> nodes_;
    QTimer layoutTimer_;
    CreditQuery creditQuery_;
    std::function<bool()> creditPrecheck_;
    std::function<bool()> closeCheck_;
    UrlOpener openUrl_;
    PanelHooks panelHooks_;
    int selectedNode_ = 1;
    QPointer<AboutBox> about_;
    bool selectingNode_ = false;
    QHash<QString, QString> renamedBooks_; // old name -> new name, until the next rebuild
};

} // namespace parlix
