#include "mainwindow.h"

#include "app/aboutbox.h"
#include "app/archiveicons.h"
#include "app/creditrefresh.h"
#include "app/ericsoftfolderdialog.h"
#include "app/headerdialog.h"
#include "app/mainmenu.h"
#include "app/menuentries.h"
#include "app/storefollower.h"
#include "app/treerouting.h"
#include "app/windowrules.h"
#include "browser/archivelist.h"
#include "contacts/bookcatalog.h"
#include "core/archivetree.h"
#include "core/clock.h"
#include "core/dialogs.h"
#include "core/numbers.h"
#include "core/ownthread.h"
#include "core/programstate.h"
#include "core/startupfiles.h"
#include "sending/creditquery.h"
#include "store/database.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "ui/mnemonics.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QEvent>
#include <QFutureWatcher>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
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
constexpr int maximumNormalWidthTwips = 18200;
// Room for the window manager's frame around the window.
constexpr int screenFrameAllowance = 16;

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

int ceilPixels(int twips)
{
    return int(std::ceil(double(twips) / twipsPerPixel));
}

// The frame of the archive list. A sub-window keeps Tab among its own
// controls; this one passes it on along the main window's chain, so the
// keyboard reaches the tree as well as the list.
class ListSubWindow : public QMdiSubWindow
{
protected:
    bool focusNextPrevChild(bool next) override
    {
        QWidget* from = QApplication::focusWidget();
        if (!from)
            return QMdiSubWindow::focusNextPrevChild(next);
        for (QWidget* to = next ? from->nextInFocusChain() : from->previousInFocusChain(); to != from;
             to = next ? to->nextInFocusChain() : to->previousInFocusChain()) {
            const bool reachable = to->window() == window() && to->isVisible() && to->isEnabled() &&
                                   (to->focusPolicy() & Qt::TabFocus) && !to->focusProxy() &&
                                   !qobject_cast<QMdiSubWindow*>(to) && !qobject_cast<QMdiArea*>(to);
            if (reachable) {
                to->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        return false;
    }
};

} // namespace

MainWindow::MainWindow(AppContext context, QWidget* parent)
    : QMainWindow(parent), context_(context), openUrl_(desktopUrlOpener())
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Parlix"));

    toolbar_ = new QToolBar(QStringLiteral("Strumenti"), this);
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    menu_ = std::make_unique<MainMenu>(*this, *toolbar_);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);

    panel_ = new QWidget(splitter_);
    panel_->setObjectName(QStringLiteral("Picture1"));
    panel_->setMinimumWidth(ceilPixels(minimumPanelTwips));
    panel_->installEventFilter(this);
    auto* panelLayout = new QVBoxLayout(panel_);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    QLabel* treeCaption = makeLabel(QStringLiteral("Label2"), QStringLiteral("Elenco Archivi"), panel_);
    panelLayout->addWidget(treeCaption);
    tree_ = new QTreeWidget(panel_);
    tree_->setObjectName(QStringLiteral("TreeView1"));
    treeCaption->setBuddy(tree_);
    tree_->setAccessibleName(treeCaption->text());
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

    list_ = new ArchiveList(context_, [this] {
        const QTreeWidgetItem* item = tree_->currentItem();
        return item ? SelectedNode{nodeKey(item), item->text(0)} : SelectedNode{};
    });
    // The list lives in the area from the start (so the window owns it) and
    // is shown by the load.
    auto* listWindow = new ListSubWindow;
    listWindow->setWidget(list_);
    listWindow_ = archiveArea_->addSubWindow(listWindow, Qt::FramelessWindowHint);
    listWindow_->setObjectName(QStringLiteral("seriWindow"));
    list_->view()->setAccessibleName(QStringLiteral("Elenco"));
    listWindow_->hide();
    connect(list_, &ArchiveList::rightButtonReleased, this,
            [this](const QPoint& position) { showActionsPanel(position); });

    layoutTimer_.setObjectName(QStringLiteral("Timer1"));
    layoutTimer_.setSingleShot(true);
    layoutTimer_.setInterval(0);
    connect(&layoutTimer_, &QTimer::timeout, this, &MainWindow::applyLayout);

    // A click routes even on the node already selected; moving with the
    // keyboard routes too, so the list always shows the highlighted node.
    connect(tree_, &QTreeWidget::itemClicked, this, [this] { treeClick(); });
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (current && !selectingNode_ && QApplication::mouseButtons() == Qt::NoButton)
            treeClick();
    });

    connect(action(menuentry::header), &QAction::triggered, this, &MainWindow::showHeaderDialog);
    connect(action(menuentry::ericsoftFolders), &QAction::triggered, this,
            &MainWindow::showEricsoftFolderDialog);
    connect(action(menuentry::quit), &QAction::triggered, this, &QWidget::close);
    connect(action(menuentry::deleteTicked), &QAction::triggered, this, &MainWindow::deleteTickedContacts);
    connect(action(menuentry::buyCredit), &QAction::triggered, this,
            [this] { openVendorPage(VendorPage::Purchase); });
    connect(action(menuentry::resellerProgramme), &QAction::triggered, this,
            [this] { openVendorPage(VendorPage::ResellerProgramme); });
    connect(action(menuentry::partners), &QAction::triggered, this,
            [this] { openVendorPage(VendorPage::Partners); });
    connect(action(menuentry::refreshCredit), &QAction::triggered, this, &MainWindow::refreshCredit);
    connect(action(menuentry::help), &QAction::triggered, this, &MainWindow::help);
    connect(action(menuentry::about), &QAction::triggered, this, &MainWindow::showAbout);
    action(menuentry::refreshCredit)->setEnabled(false);

    follower_ = std::make_unique<StoreFollower>(context_.state, *this);
    connect(follower_.get(), &StoreFollower::booksChanged, this, &MainWindow::followBooks);
    // Back from an outage: the list is read again, whether it was shown or
    // could not be read meanwhile.
    connect(follower_.get(), &StoreFollower::storeBack, list_, &ArchiveList::scheduleReload);
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::action(const QString& name) const
{
    return menu_->action(name);
}

void MainWindow::setCreditQuery(CreditQuery query)
{
    creditQuery_ = std::move(query);
    action(menuentry::refreshCredit)->setEnabled(bool(creditQuery_));
}

void MainWindow::setUrlOpener(UrlOpener opener)
{
    openUrl_ = std::move(opener);
}

void MainWindow::setPanelHooks(PanelHooks hooks)
{
    panelHooks_ = std::move(hooks);
}

void MainWindow::load()
{
    loadStartupFiles(context_.state);
    showCredit();
    selectedNode_ = 1;
    checkBookList();
    rebuildTree();
    follower_->start();
    showArchiveList();
    const PanelSettings settings = parlix::applyPanelRules(readPanelSettings(context_.state.folder));
    setToolbarTextAlignment(settings.textAlignment);
    if (!isVisible())
        fitToolbar();
    setPanelWidthTwips(settings.panelWidthTwips);
    // Alt and a letter for the window's own buttons, apart from the menus'.
    QString menuLetters;
    for (const QAction* top : menuBar()->actions())
        menuLetters += mnemonics::letterOf(top->text());
    mnemonics::assign(*this, menuLetters);
}

void MainWindow::fitToolbar()
{
    // Opens wide enough for the whole toolbar (no overflow menu hiding the
    // last buttons), within the widest normal window the size rules allow. On
    // a small screen the pictures get smaller first; the program then keeps
    // every window within the screen (ScreenFit).
    const int widest = maximumNormalWidthTwips / twipsPerPixel;
    const int room = screen()->availableGeometry().width() - screenFrameAllowance;
    const auto toolbarWidth = [this] {
        int total = 2 * toolbar_->style()->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, toolbar_) +
                    2 * toolbar_->style()->pixelMetric(QStyle::PM_ToolBarHandleExtent, nullptr, toolbar_) +
                    24;
        for (QAction* entry : toolbar_->actions()) {
            if (const QWidget* button = toolbar_->widgetForAction(entry))
                total += button->sizeHint().width() +
                         toolbar_->style()->pixelMetric(QStyle::PM_ToolBarItemSpacing, nullptr, toolbar_);
        }
        return total;
    };
    if (toolbarWidth() > room) {
        const int small = toolbar_->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, toolbar_);
        toolbar_->setIconSize(QSize(small, small));
    }
    resize(std::clamp(toolbarWidth(), 900, widest), 620);
}

void MainWindow::checkBookList()
{
    // A book change cut short by a crash is completed or undone before the
    // list is shown; a list that cannot be read is said, not shown as empty.
    try {
        BookCatalog(context_.state).repair();
    } catch (const StoreError& error) {
        // A shared database has no file to name: its own error says which server.
        const QString text =
            context_.state.store->link()
                ? QStringLiteral("Impossibile leggere l'elenco delle rubriche: %1").arg(error.message())
                : QStringLiteral("Impossibile leggere l'elenco delle rubriche \"%1\": %2")
                      .arg(context_.state.folder.bookList(), error.message());
        context_.dialogs.message(text, MessageIcon::Critical);
    }
}

void MainWindow::showArchiveList()
{
    listWindow_->show();
    // The list's own start: today's date beside the tree, then the first book.
    dateLabel_->setText(context_.clock.now().date().toString(QStringLiteral("dd/MM/yyyy")));
    clickNode(2);
    scheduleLayout();
}

void MainWindow::rebuildTree()
{
    buildTree(readBookNames(context_.state));
}

void MainWindow::followBooks(const QStringList& books)
{
    const QTreeWidgetItem* shown = tree_->currentItem();
    const QString shownKey = nodeKey(shown);
    const QString shownText = shown ? shown->text(0) : QString();
    buildTree(books);
    if (isBookNode(shownKey) && !findNode(shownKey.front(), shownText))
        follower_->say(StoreError::bookGone(shownText).message());
}

void MainWindow::buildTree(const QStringList& books)
{
    const QTreeWidgetItem* shown = tree_->currentItem();
    const QString shownKey = nodeKey(shown);
    const QString shownText = shown ? shown->text(0) : QString();
    follower_->setBooks(books);
    const std::vector<ArchiveNode> wanted = archiveNodes(books);

    selectingNode_ = true;
    tree_->clear();
    nodes_.clear();
    nodes_.reserve(wanted.size());
    // Children are attached to their group before the group enters the tree,
    // so the view is told of each group once instead of once per node.
    QList<QTreeWidgetItem*> groups;
    for (const ArchiveNode& wantedNode : wanted) {
        auto* item = new QTreeWidgetItem(QStringList{wantedNode.text});
        item->setData(0, keyRole, wantedNode.key);
        item->setIcon(0, archiveIcon(wantedNode.image));
        if (wantedNode.parentIndex == 0)
            groups << item;
        else
            nodes_[size_t(wantedNode.parentIndex - 1)]->addChild(item);
        nodes_.push_back(item);
    }
    tree_->addTopLevelItems(groups);
    selectingNode_ = false;
    if (!shownKey.isEmpty())
        followShownNode(shownKey, shownText);
    renamedBooks_.clear();
}

void MainWindow::bookRenamed(const QString& from, const QString& to)
{
    for (QString& name : renamedBooks_) {
        if (name == from)
            name = to;
    }
    renamedBooks_.insert(from, to);
}

QTreeWidgetItem* MainWindow::findNode(QChar group, const QString& text) const
{
    for (QTreeWidgetItem* item : nodes_) {
        const QString key = nodeKey(item);
        if (!key.isEmpty() && key.front() == group && item->text(0) == text)
            return item;
    }
    return nullptr;
}

void MainWindow::followShownNode(const QString& key, const QString& text)
{
    if (!isBookNode(key)) {
        // A group node keeps its key whatever the books.
        for (QTreeWidgetItem* item : nodes_) {
            if (nodeKey(item) == key) {
                selectNode(item);
                selectedNode_ = nodeIndex(item);
                return;
            }
        }
        return;
    }
    const QString name = renamedBooks_.value(text, text);
    QTreeWidgetItem* item = findNode(key.front(), name);
    if (item && name == text) {
        // The same book: the list's caption and rows still belong to it.
        selectNode(item);
        selectedNode_ = nodeIndex(item);
        return;
    }
    if (!item)
        item = findNode(key.front(), QStringLiteral("Principale"));
    if (!item)
        item = node(2);
    if (!item)
        return;
    selectNode(item);
    treeClick();
}

QTreeWidgetItem* MainWindow::node(int index) const
{
    if (index < 1 || index > int(nodes_.size()))
        return nullptr;
    return nodes_[size_t(index - 1)];
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

void MainWindow::selectNode(QTreeWidgetItem* item)
{
    selectingNode_ = true;
    tree_->setCurrentItem(item);
    selectingNode_ = false;
}

void MainWindow::clickNode(int index)
{
    if (QTreeWidgetItem* item = node(index)) {
        selectNode(item);
        treeClick();
    }
}

void MainWindow::treeClick()
{
    const QTreeWidgetItem* item = tree_->currentItem();
    if (!item)
        return;
    list_->setSelectAll(false);
    selectedNode_ = nodeIndex(item);
    list_->clear();
    const QString key = nodeKey(item);
    const QString text = item->text(0);
    list_->setArchiveCaption(u' ' + text);
    if (const auto caption = archiveCaption(key, text))
        list_->setKindCaption(archiveIcon(caption->image), caption->title);
    list_->allowReload();
    list_->scheduleReload();
}

bool MainWindow::checkValidArchive()
{
    if (isBookNode(nodeKey(tree_->currentItem())))
        return true;
    context_.dialogs.message(QStringLiteral("selezionare un Archivio Valido"), MessageIcon::Critical);
    return false;
}

void MainWindow::deleteTickedContacts()
{
    if (checkValidArchive())
        ActionsPanel::deleteTicked(context_, *list_);
}

ActionsPanel* MainWindow::showActionsPanel(const QPoint& listPosition)
{
    PanelHooks hooks = panelHooks_;
    hooks.openUrl = openUrl_;
    auto* panel = new ActionsPanel(context_, *list_, std::move(hooks), this);
    panel->placeAt(list_->view()->viewport()->mapToGlobal(listPosition));
    panel->show();
    panel->activateWindow();
    return panel;
}

void MainWindow::setCreditPrecheck(std::function<bool()> precheck)
{
    creditPrecheck_ = std::move(precheck);
}

void MainWindow::refreshCredit()
{
    if (!creditQuery_ || !action(menuentry::refreshCredit)->isEnabled())
        return;
    if (creditPrecheck_ && !creditPrecheck_())
        return;
    action(menuentry::refreshCredit)->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The query talks to the gateway; the window keeps repainting meanwhile.
    auto* watcher = new QFutureWatcher<CreditAnswer>(this);
    connect(watcher, &QFutureWatcher<CreditAnswer>::finished, this, [this, watcher] {
        watcher->deleteLater();
        QApplication::restoreOverrideCursor();
        action(menuentry::refreshCredit)->setEnabled(true);
        finishCreditRefresh(watcher->result());
        emit creditRefreshFinished();
    });
    watcher->setFuture(runOnOwnThread<CreditAnswer>(creditQuery_));
}

void MainWindow::finishCreditRefresh(const CreditAnswer& reply)
{
    const QString& answer = reply.credit;
    switch (storeCreditAnswer(context_.state, answer)) {
    case CreditOutcome::NoAnswer:
        // A refused account is no matter of the Internet connection.
        context_.dialogs.message(creditFailureText(reply.failure), MessageIcon::Exclamation);
        return;
    case CreditOutcome::NotSaved:
        creditLabel_->setText(QStringLiteral("Credito residuo ") + answer);
        context_.dialogs.message(QStringLiteral("Credito aggiornato, ma il file \"residui.txt\" non può "
                                                "essere scritto: al prossimo avvio verrà mostrato il credito "
                                                "precedente."),
                                 MessageIcon::Exclamation);
        return;
    case CreditOutcome::Updated:
        creditLabel_->setText(QStringLiteral("Credito residuo ") + answer);
        context_.dialogs.message(QStringLiteral("Credito Aggiornato"), MessageIcon::Information);
        return;
    }
}

void MainWindow::openVendorPage(VendorPage page)
{
    openPage(vendorPageUrl(page, vendorSite(), context_.state.codicirivenditore));
}

void MainWindow::openPage(const QUrl& address)
{
    if (!openUrl_ || openUrl_(address))
        return;
    context_.dialogs.message(QStringLiteral("Impossibile avviare un browser per aprire la pagina ") +
                                 address.toDisplayString() + u'.',
                             MessageIcon::Exclamation);
}

void MainWindow::help()
{
    openPage(QUrl::fromLocalFile(context_.state.folder.path(QStringLiteral("parlix.html"))));
}

void MainWindow::showHeaderDialog()
{
    HeaderDialog dialog(context_, this);
    dialog.exec();
}

void MainWindow::showEricsoftFolderDialog()
{
    EricsoftFolderDialog dialog(context_, this);
    dialog.exec();
}

void MainWindow::showAbout()
{
    if (!about_)
        about_ = new AboutBox(this);
    about_->show();
    about_->raise();
}

void MainWindow::showCredit()
{
    creditLabel_->setText(QStringLiteral("Credito residuo ") + numbers::format(context_.state.credito));
}

QString MainWindow::creditText() const
{
    return creditLabel_->text();
}

int MainWindow::panelWidthTwips() const
{
    return panel_->width() * twipsPerPixel;
}

void MainWindow::setPanelWidthTwips(int twips)
{
    // Rounded up, so the width read back is never below the one asked for:
    // 2300 twips must not become 2295 and put the text below the images.
    const int pixels = std::max(panel_->minimumWidth(), ceilPixels(twips));
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
    scheduleLayout();
}

void MainWindow::scheduleLayout()
{
    layoutTimer_.start();
}

void MainWindow::applyLayout()
{
    layoutTimer_.stop();
    const auto geometry = listGeometry(toolbar_->width() * twipsPerPixel, panelWidthTwips(),
                                       width() * twipsPerPixel, height() * twipsPerPixel, isMinimized());
    if (geometry) {
        // The list never spills out of its area, whatever the frame around it takes.
        const QSize room = archiveArea_->viewport()->size();
        const int left = geometry->leftTwips / twipsPerPixel;
        QRect rect = listWindow_->geometry();
        rect.moveTopLeft(QPoint(left, geometry->topTwips / twipsPerPixel));
        if (geometry->widthTwips)
            rect.setWidth(
                std::clamp(*geometry->widthTwips / twipsPerPixel, 1, std::max(1, room.width() - left)));
        if (geometry->heightTwips)
            rect.setHeight(std::clamp(*geometry->heightTwips / twipsPerPixel, 1, std::max(1, room.height())));
        listWindow_->setGeometry(rect);
    }
    emit layoutApplied();
}

void MainWindow::applyWindowSizeRules()
{
    const int widthTwips = width() * twipsPerPixel;
    const WindowSizeFix fix = windowSizeFix(isMaximized(), isMinimized(), widthTwips);
    if (!fix.widthTwips)
        return;
    if (fix.restoreNormal)
        showNormal();
    const int pixels =
        *fix.widthTwips > widthTwips ? ceilPixels(*fix.widthTwips) : *fix.widthTwips / twipsPerPixel;
    resize(pixels, height());
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // Corrected once the resize is over, not from inside it.
    QTimer::singleShot(0, this, &MainWindow::applyWindowSizeRules);
    scheduleLayout();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        QTimer::singleShot(0, this, &MainWindow::applyWindowSizeRules);
}

void MainWindow::setCloseCheck(std::function<bool()> check)
{
    closeCheck_ = std::move(check);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closeCheck_ && !closeCheck_()) {
        event->ignore();
        return;
    }
    // Everything is saved as it changes: closing ends the program at once.
    event->accept();
    QCoreApplication::quit();
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
    if (QTreeWidgetItem* selected = node(selectedNode_))
        selectNode(selected);
    list_->scheduleReload();
    emit activated();
}

} // namespace parlix
