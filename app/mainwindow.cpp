#include "mainwindow.h"

#include "app/archiveicons.h"
#include "app/core/archivetree.h"
#include "app/core/numbers.h"
#include "app/core/programstate.h"

#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QSplitter>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace parlix {

namespace {

constexpr int twipsPerPixel = 15;
constexpr int keyRole = Qt::UserRole;
constexpr int narrowPanelTwips = 2300;
constexpr int minimumPanelTwips = 1850;

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

MainWindow::MainWindow(AppContext context, QWidget* parent) : QMainWindow(parent), context_(context)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Parlix"));

    toolbar_ = new QToolBar(QStringLiteral("Strumenti"), this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    addToolBar(Qt::TopToolBarArea, toolbar_);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);

    panel_ = new QWidget(splitter_);
    panel_->setObjectName(QStringLiteral("Picture1"));
    panel_->setMinimumWidth(int(std::ceil(double(minimumPanelTwips) / twipsPerPixel)));
    panel_->installEventFilter(this);
    auto* panelLayout = new QVBoxLayout(panel_);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(makeLabel(QStringLiteral("Label2"), QStringLiteral("Elenco Archivi"), panel_));
    tree_ = new QTreeWidget(panel_);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    panelLayout->addWidget(tree_, 1);
    creditLabel_ = makeLabel(QStringLiteral("Label3"), QStringLiteral("Credito Residuo"), panel_);
    panelLayout->addWidget(creditLabel_);
    dateLabel_ = makeLabel(QStringLiteral("Label4"), QString(), panel_);
    panelLayout->addWidget(dateLabel_);

    archiveArea_ = new QMdiArea(splitter_);
    archiveArea_->setObjectName(QStringLiteral("archiveArea"));
    splitter_->addWidget(panel_);
    splitter_->addWidget(archiveArea_);
    splitter_->setStretchFactor(1, 1);
    setCentralWidget(splitter_);
}

MainWindow::~MainWindow() = default;

void MainWindow::load()
{
    loadStartupFiles(context_.state);
    showCredit();
    context_.state.nodoselezionato = 1;
    aggio();
    context_.state.testoiniziale = true;
    const PanelSettings settings = parlix::applyPanelRules(readPanelSettings(context_.state.folder));
    setToolbarTextAlignment(settings.textAlignment);
    setPanelWidthTwips(settings.panelWidthTwips);
}

void MainWindow::aggio()
{
    const QStringList books = readBookNames(context_.state);
    const std::vector<ArchiveNode> specs = archiveNodes(books);

    tree_->clear();
    nodes_.clear();
    nodes_.reserve(specs.size());
    // Children are attached to their group before the group enters the tree,
    // so the view is told of each group once instead of once per node.
    QList<QTreeWidgetItem*> groups;
    for (const ArchiveNode& spec : specs) {
        auto* item = new QTreeWidgetItem(QStringList{spec.text});
        item->setData(0, keyRole, spec.key);
        item->setIcon(0, archiveIcon(spec.image));
        if (spec.parentIndex == 0)
            groups << item;
        else
            nodes_[spec.parentIndex - 1]->addChild(item);
        nodes_.push_back(item);
    }
    tree_->addTopLevelItems(groups);
}

QTreeWidgetItem* MainWindow::node(int index) const
{
    if (index < 1 || index > int(nodes_.size()))
        return nullptr;
    return nodes_[index - 1];
}

int MainWindow::nodeIndex(const QTreeWidgetItem* item) const
{
    for (size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i] == item)
            return int(i) + 1;
    }
    return 0;
}

QString MainWindow::nodeKey(const QTreeWidgetItem* item)
{
    return item ? item->data(0, keyRole).toString() : QString();
}

void MainWindow::showCredit()
{
    creditLabel_->setText(QStringLiteral("Credito residuo ") + numbers::format(context_.state.credito));
}

int MainWindow::panelWidthTwips() const
{
    return panel_->width() * twipsPerPixel;
}

void MainWindow::setPanelWidthTwips(int twips)
{
    const int pixels = std::max(panel_->minimumWidth(), twips / twipsPerPixel);
    const int total = std::max(splitter_->width(), pixels + 200);
    splitter_->setSizes({pixels, total - pixels});
    panel_->resize(pixels, panel_->height());
    applyPanelRules();
}

int MainWindow::toolbarTextAlignment() const
{
    return toolbar_->toolButtonStyle() == Qt::ToolButtonTextBesideIcon ? 1 : 0;
}

void MainWindow::setToolbarTextAlignment(int alignment)
{
    toolbar_->setToolButtonStyle(alignment == 1 ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon);
}

void MainWindow::applyPanelRules()
{
    if (panelWidthTwips() < narrowPanelTwips)
        setToolbarTextAlignment(0);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panel_ && event->type() == QEvent::Resize)
        applyPanelRules();
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        activate();
    return handled;
}

void MainWindow::activate()
{
    if (QTreeWidgetItem* first = node(1))
        first->setExpanded(true);
    if (QTreeWidgetItem* selected = node(context_.state.nodoselezionato))
        tree_->setCurrentItem(selected);
    emit activated();
}

} // namespace parlix
