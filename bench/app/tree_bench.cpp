// Building the archive tree for 1,000 books (4,004 nodes, rebuildTree) against
// filling a bare QTreeWidget with the same nodes, texts and icons.
#include "app/archiveicons.h"
#include "app/mainwindow.h"
#include "bench/support/timing.h"
#include "core/archivetree.h"
#include "tests/support/testhome.h"

#include <QApplication>
#include <QTreeWidget>

#include <map>

using namespace parlix;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    test::TestHome home;
    QStringList books;
    for (int i = 0; i < 1000; ++i)
        books << QStringLiteral("Rubrica %1").arg(i);
    home.setBooks(books);

    MainWindow window(home.context());
    window.load();
    window.show();
    const double ours = bench::medianMs(15, [&] { window.rebuildTree(); });
    if (window.nodeCount() != 4004) {
        std::printf("rebuildTree built %d nodes\n", window.nodeCount());
        return 1;
    }

    QTreeWidget bare;
    bare.show();
    const std::vector<ArchiveNode> nodes = archiveNodes(books);
    std::map<int, QIcon> icons;
    for (int image : {1, 3, 4, 5})
        icons[image] = archiveIcon(image);
    const double base = bench::medianMs(15, [&] {
        bare.clear();
        QTreeWidgetItem* group = nullptr;
        for (const ArchiveNode& node : nodes) {
            if (node.parentIndex == 0) {
                group = new QTreeWidgetItem(&bare, QStringList{node.text});
                group->setIcon(0, icons[node.image]);
            } else {
                auto* item = new QTreeWidgetItem(group, QStringList{node.text});
                item->setIcon(0, icons[node.image]);
            }
        }
    });
    bench::report("tree rebuild, 1000 books (4004 nodes)", ours, "bare QTreeWidget fill, same 4004 nodes",
                  base, 2.0);
    return 0;
}
