#include "mainmenu.h"

#include "app/menuentries.h"
#include "ui/mnemonics.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace parlix {

namespace {

struct Entry
{
    const char* name;
    const char* caption;
    bool enabled;
};

struct Menu
{
    const char* name;
    const char* caption;
    std::initializer_list<Entry> entries;
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

MainMenu::MainMenu(QMainWindow& window, QToolBar& toolbar)
{
    const Menu menus[] = {
        {"fil",
         "&File",
         {{"exru", "Esporta Rubrica", false},
          {"exvcard", "Esporta vCard", false},
          {"impcvs", "Importa file csv", false},
          {"impvcard", "Importa file vCard", false},
          {"imph3", "Importa da Ericsoft", false},
          {"iae", "Imposta Archivi Ericsoft", false},
          {"configu", "Configura", true},
          {"permut", "Permessi Utente", false},
          {"newpref", "Nuovi Prefissi", false},
          {"chiuso", "Chiudi", true}}},
        {"ru",
         "&Rubrica",
         {{"nr", "Gestione Rubriche", false},
          {"inru", "Inserisci Contatto", false},
          {"cececo", "Cerca Contatto", false}}},
        {"modi",
         "&SMS",
         {{"ismss", "Invia SMS Singoli", false},
          {"ismsm", "Invia SMS Multipli", false},
          {"invprog", "Invii Programmati", false},
          {"numesc", "Numeri esclusi", false},
          {"esinv", "Esito Invio", false},
          {"statistiche", "Statistiche", false},
          {"canse", "Cancella Spuntati", true}}},
        {"geac",
         "&Gestione Account",
         {{"acqs", "Acquista SMS", true},
          {"aaa", "Aggiorna Credito", true},
          {"datiaccount", "Dati Account", false}}},
        {"help", "&?", {{"he", "Help", true}, {"guad", "Guadagna con noi", true}, {"inform", "Info", true}}},
    };

    for (const Menu& group : menus) {
        QMenu* menu = window.menuBar()->addMenu(text(group.caption));
        menu->setObjectName(text(group.name));
        menu->menuAction()->setObjectName(text(group.name));
        actions_[text(group.name)] = menu->menuAction();
        for (const Entry& entry : group.entries)
            menu->addAction(add(window, text(entry.name), text(entry.caption), entry.enabled));
        mnemonics::assign(*menu);
    }

    // F10 reaches the menu bar, as in every desktop program.
    auto* menuKey = new QAction(&window);
    menuKey->setObjectName(QStringLiteral("menuKey"));
    menuKey->setShortcut(Qt::Key_F10);
    menuKey->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(menuKey, &QAction::triggered, &window, [&window] {
        QMenuBar* bar = window.menuBar();
        if (!bar->actions().isEmpty()) {
            bar->setFocus(Qt::MenuBarFocusReason);
            bar->setActiveAction(bar->actions().constFirst());
        }
    });
    window.addAction(menuKey);

    // F1 opens the help as well.
    action(menuentry::help)->setShortcut(QKeySequence::HelpContents);

    QStyle* style = QApplication::style();
    const std::pair<const char*, QStyle::StandardPixmap> buttons[] = {
        {"cececo", QStyle::SP_FileDialogContentsView}, {"nr", QStyle::SP_DirHomeIcon},
        {"inru", QStyle::SP_FileDialogNewFolder},      {"ismss", QStyle::SP_ArrowForward},
        {"ismsm", QStyle::SP_MediaSeekForward},        {"canse", QStyle::SP_TrashIcon},
    };
    for (const auto& [name, icon] : buttons) {
        QAction* entry = action(text(name));
        entry->setIcon(style->standardIcon(icon));
        toolbar.addAction(entry);
    }
    QAction* programme = add(window, QStringLiteral("programma"), QStringLiteral("Rivenditori"));
    programme->setIcon(style->standardIcon(QStyle::SP_DialogHelpButton));
    programme->setToolTip(QStringLiteral("Programma rivenditori"));
    toolbar.addAction(programme);
}

QAction* MainMenu::add(QMainWindow& window, const QString& name, const QString& caption, bool enabled)
{
    auto* entry = new QAction(caption, &window);
    entry->setObjectName(name);
    entry->setEnabled(enabled);
    actions_[name] = entry;
    return entry;
}

QAction* MainMenu::action(const QString& name) const
{
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

} // namespace parlix
