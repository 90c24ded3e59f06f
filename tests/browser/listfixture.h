#pragma once

#include "browser/archivelist.h"
#include "core/programstate.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QSignalSpy>

namespace parlix::test {

// An archive list on a temporary data folder, with the tree's selected node
// played by `node`, as a tree click would leave it.
class ListFixture
{
public:
    ListFixture() : list(home.context(), [this] { return node; }) { list.resize(800, 400); }

    // What the tree click does, then the reload it schedules.
    void show(const QString& key, const QString& book)
    {
        node = {key, book};
        list.clear();
        list.allowReload();
        list.scheduleReload();
        runReload();
    }

    void runReload()
    {
        for (int i = 0; i < 50 && list.reloadPending(); ++i)
            QApplication::processEvents();
    }

    QStringList column(int cell) const
    {
        QStringList values;
        for (int i = 0; i < list.rowCount(); ++i)
            values << list.row(i).cells[size_t(cell)];
        return values;
    }

    TestHome home;
    SelectedNode node;
    ArchiveList list;
};

} // namespace parlix::test
