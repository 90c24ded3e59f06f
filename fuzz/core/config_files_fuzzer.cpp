// The data folder's small configuration files may hold anything (copied from another machine, damaged,
// edited by hand): read as "intestazione", "progra", "residui.txt", "persorso" and "tbta", any bytes give
// values or their defaults, a credit that is a finite number and panel settings within their rules.
#include "core/datafolder.h"
#include "core/programstate.h"
#include "core/startupfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* name : {"intestazione", "progra", "residui.txt", "persorso", "tbta"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    parlix::ProgramState state{parlix::DataFolder(dir.path())};
    parlix::loadStartupFiles(state);
    if (!std::isfinite(state.credito))
        std::abort();
    const parlix::PanelSettings panel = parlix::applyPanelRules(parlix::readPanelSettings(state.folder));
    if (panel.panelWidthTwips < 1850 || (panel.panelWidthTwips < 2300 && panel.textAlignment != 0))
        std::abort();
    return 0;
}
