#pragma once

#include "app/core/appcontext.h"
#include "app/core/startupfiles.h"

#include <QMainWindow>

#include <vector>

class QLabel;
class QMdiArea;
class QSplitter;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace parlix {

// The program's frame "MDIForm1": toolbar, the tree panel with the archive
// tree and the credit and date labels, and the area that holds the archive
// list. It routes; the work is done by the forms and classes it calls.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(AppContext context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load: reads the configuration files, builds the tree and applies
    // the stored panel settings. Runs once, before the window is first shown.
    void load();
    // Rebuilds the archive tree from the book list.
    void aggio();

    QTreeWidget* tree() const { return tree_; }
    // The node with this 1-based index (the order of the tree), or null.
    QTreeWidgetItem* node(int index) const;
    // The 1-based index of a node, 0 when it is not one of ours.
    int nodeIndex(const QTreeWidgetItem* item) const;
    int nodeCount() const { return int(nodes_.size()); }
    static QString nodeKey(const QTreeWidgetItem* item);

    // Shows `credito` in the credit label.
    void showCredit();

    int panelWidthTwips() const;
    void setPanelWidthTwips(int twips);
    // 0: toolbar text below the images, 1: beside them.
    int toolbarTextAlignment() const;
    void setToolbarTextAlignment(int alignment);

    QToolBar* toolbar() const { return toolbar_; }
    QMdiArea* archiveArea() const { return archiveArea_; }
    QLabel* dateLabel() const { return dateLabel_; }

signals:
    // The window became the active one, after selecting the remembered node.
    void activated();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void applyPanelRules();

    AppContext context_;
    QToolBar* toolbar_;
    QSplitter* splitter_;
    QWidget* panel_;
    QTreeWidget* tree_;
    QLabel* creditLabel_;
    QLabel* dateLabel_;
    QMdiArea* archiveArea_;
    std::vector<QTreeWidgetItem*> nodes_;
};

} // namespace parlix
