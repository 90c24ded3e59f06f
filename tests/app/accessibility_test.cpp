// Every control of every window can be named by a screen reader.
#include "access/accountform.h"
#include "access/loginform.h"
#include "app/aboutbox.h"
#include "app/disclaimerdialog.h"
#include "app/ericsoftfolderdialog.h"
#include "app/headerdialog.h"
#include "app/mainwindow.h"
#include "books/bookmanager.h"
#include "books/contacteditor.h"
#include "books/prefixeditor.h"
#include "browser/actionspanel.h"
#include "browser/contactsearchform.h"
#include "messaging/accountdialog.h"
#include "messaging/composer.h"
#include "messaging/proxycredentialsdialog.h"
#include "messaging/scheduledbatcheswindow.h"
#include "tests/messaging/batchsupport.h"
#include "users/loginsession.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace parlix;

namespace {

// The controls a user can reach and work that Qt's accessibility cannot name
// (by accessible name, text, or label buddy); parts of another control aside.
QString unnamedControls(QWidget& window)
{
    const auto control = [](const QWidget* w) {
        return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
               qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QComboBox*>(w) ||
               qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w);
    };
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        bool part = false;
        for (const QWidget* up = widget->parentWidget(); up && up != &window; up = up->parentWidget())
            part = part || control(up);
        if (!control(widget) || part || widget->isHidden() || widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << widget->objectName();
    }
    return unnamed.join(u',');
}

TEST(Accessibility, EveryControlOfEveryWindowHasAName)
{
    test::SandboxHome box;
    const AppContext c = box.home.context();
    const QString book = QStringLiteral("Principale");
    MainWindow main(c);
    main.load();
    LoginSession session;
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> windows[] = {
        {"main window", [] { return nullptr; }},
        {"header", [&] { return std::make_unique<HeaderDialog>(c); }},
        {"Ericsoft folder", [&] { return std::make_unique<EricsoftFolderDialog>(c); }},
        {"disclaimer", [&] { return std::make_unique<DisclaimerDialog>(box.home.state.folder, c.dialogs); }},
        {"about", [&] { return std::make_unique<AboutBox>(); }},
        {"book manager", [&] { return std::make_unique<BookManager>(c); }},
        {"contact editor", [&] { return std::make_unique<ContactEditor>(c, book); }},
        {"prefixes", [&] { return std::make_unique<PrefixEditor>(c); }},
        {"contact search", [&] { return std::make_unique<ContactSearchForm>(c, book); }},
        {"actions panel",
         [&] { return std::make_unique<ActionsPanel>(c, *main.archiveList(), PanelHooks{}); }},
        {"account", [&] { return std::make_unique<AccountDialog>(c); }},
        {"scheduled batches", [&] { return std::make_unique<ScheduledBatchesWindow>(c); }},
        {"proxy login", [&] { return std::make_unique<ProxyCredentialsDialog>(QStringLiteral("utente")); }},
        {"composer",
         [&] {
             auto composer = std::make_unique<Composer>(c, GatewayFactory{}, ArchiveNode{});
             composer->preset(ComposerPreset::single(QStringLiteral("333"), QStringLiteral("Rossi")));
             return composer;
         }},
        {"login", [&] { return std::make_unique<LoginForm>(c, session); }},
        {"user accounts", [&] { return std::make_unique<AccountForm>(c, session); }},
    };
    for (const auto& [name, make] : windows) {
        const std::unique_ptr<QWidget> window = make();
        EXPECT_EQ(unnamedControls(window ? *window : main).toStdString(), "") << name;
    }
}

} // namespace
