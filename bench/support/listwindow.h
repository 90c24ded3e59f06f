#pragma once

#include "app/mainwindow.h"
#include "bench/support/silentdialogs.h"
#include "browser/archivelist.h"
#include "core/clock.h"
#include "core/programstate.h"

#include <QApplication>

namespace parlix::bench {

// The main window of a data folder as the list benchmarks measure it:
// 1100 x 700, loaded, shown and its list settled.
class ListWindow
{
public:
    explicit ListWindow(ProgramState& state) : window_(AppContext{state, dialogs_, clock_})
    {
        window_.resize(1100, 700);
        window_.load();
        window_.show();
        settle();
    }

    // Tree click to the book: the group node "SMS Salvati" (the list
    // empties), then "Principale" under "Rubriche", each settled.
    void clickToBook()
    {
        window_.clickNode(3);
        settle();
        window_.clickNode(2);
        settle();
    }
    int rows() const { return window_.archiveList()->rowCount(); }

private:
    // Until the list has reloaded and painted its rows.
    void settle()
    {
        ArchiveList& list = *window_.archiveList();
        while (list.reloadPending())
            QApplication::processEvents();
        list.repaint();
        QApplication::processEvents();
    }

    SilentDialogs dialogs_;
    Clock clock_;
    MainWindow window_;
};

} // namespace parlix::bench
