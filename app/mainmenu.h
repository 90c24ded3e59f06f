#pragma once

#include <QString>

#include <map>

class QAction;
class QMainWindow;
class QToolBar;

namespace parlix {

// The main window's menu bar and toolbar. Every entry is a QAction named as
// the program names it ("fil", "exru", ... "inform"); the top-level menus are
// reached by their names too. Toolbar buttons 1 to 6 are the actions of
// "Cerca Contatto", "Gestione Rubriche", "Inserisci Contatto", "Invia SMS
// Singoli", "Invia SMS Multipli" and "Cancella Spuntati"; button 7
// ("programma") opens the reseller programme page.
//
// Entries that are switched off for good: "Importa da Ericsoft", "Imposta
// Archivi Ericsoft", "Permessi Utente". Entries whose forms are wired in by
// the program's set-up start switched off as well, until it enables them:
// "Esporta Rubrica", "Importa file csv", "Nuovi Prefissi", "Gestione
// Rubriche", "Inserisci Contatto", "Cerca Contatto", "Invia SMS Singoli",
// "Invia SMS Multipli", "Dati Account".
class MainMenu
{
public:
    MainMenu(QMainWindow& window, QToolBar& toolbar);

    // The action with this name, or null.
    QAction* action(const QString& name) const;

private:
    QAction* add(QMainWindow& window, const QString& name, const QString& caption, bool enabled = true);

    std::map<QString, QAction*> actions_;
};

} // namespace parlix
