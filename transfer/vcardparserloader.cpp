#include "vcardparserloader.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace parlix::vcard {

namespace {

namespace fs = std::filesystem;

fs::path moduleFolder()
{
    std::error_code error;
    const fs::path program = fs::canonical("/proc/self/exe", error);
    const fs::path build = fs::weakly_canonical(PARLIX_BUILD_DIR, error);
    if (!program.empty() && !build.empty() &&
        std::mismatch(build.begin(), build.end(), program.begin(), program.end()).first == build.end())
        return build / "lib";
    return PARLIX_MODULE_DIR;
}

ParserModule load()
{
    ParserModule module;
    const std::string path = (moduleFolder() / PARLIX_VCARD_PARSER_FILE).string();
    if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        module.read = reinterpret_cast<ParlixVcardRead>(dlsym(handle, PARLIX_VCARD_READ_SYMBOL));
        module.splitName =
            reinterpret_cast<ParlixVcardSplitName>(dlsym(handle, PARLIX_VCARD_SPLIT_NAME_SYMBOL));
        if (module.read && module.splitName)
            return module; // never unloaded
    }
    // The loader's reason names the file first: it is named once.
    QString reason = QString::fromLocal8Bit(dlerror());
    const QString file = QString::fromStdString(path);
    if (reason.startsWith(file + QStringLiteral(": ")))
        reason.remove(0, file.size() + 2);
    module = {};
    module.problem = QStringLiteral("manca il modulo %1 (%2)").arg(file, reason);
    return module;
}

} // namespace

const ParserModule& parserModule()
{
    static const ParserModule module = load();
    return module;
}

} // namespace parlix::vcard
