#pragma once

#include "app/core/appcontext.h"

#include <QObject>

namespace parlix {

class MainWindow;

// Opens the program's forms from the main window's menus, toolbar, list and
// panel, and connects what they tell back (the books changed, a contact was
// stored, a message should be written) to where it belongs. The main window
// routes to the actions; this decides which form each action shows.
class FormLauncher : public QObject
{
    Q_OBJECT

public:
    FormLauncher(MainWindow& window, AppContext context);

    // Switches on the menu entries, toolbar buttons and panel commands whose
    // forms exist, and connects them.
    void install();

    void openBookManager();     // "Gestione Rubriche"
    void openContactEditor();   // "Inserisci Contatto"
    void editSelectedContact(); // the panel's "Modifica Contatto"
    void openContactSearch();   // "Cerca Contatto"
    void openPrefixEditor();    // "Nuovi Prefissi"

private:
    void connectAction(const char* name, void (FormLauncher::*slot)());

    MainWindow& window_;
    AppContext context_;
};

} // namespace parlix
