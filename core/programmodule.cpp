#include "programmodule.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace parlix {

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

} // namespace

ProgramModule loadProgramModule(const char* file, std::initializer_list<const char*> symbols)
{
    ProgramModule module;
    const std::string path = (moduleFolder() / file).string();
    if (void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        for (const char* symbol : symbols)
            module.symbols.push_back(dlsym(handle, symbol));
        if (std::none_of(module.symbols.begin(), module.symbols.end(), [](void* s) { return s == nullptr; }))
            return module;
    }
    // The loader's reason names the file first: it is named once.
    QString reason = QString::fromLocal8Bit(dlerror());
    const QString name = QString::fromStdString(path);
    if (reason.startsWith(name + QStringLiteral(": ")))
        reason.remove(0, name.size() + 2);
    module = {};
    module.problem = QStringLiteral("manca il modulo %1 (%2)").arg(name, reason);
    return module;
}

} // namespace parlix
