// Any "account" file reads as an account with a quality of 1, 2 or 3; what loads without a problem (no line
// break, no leading byte-order mark in a value) can be saved and reads back the same.
#include "core/datafolder.h"
#include "sending/account.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const parlix::DataFolder folder(dir.path());
    {
        QFile file(folder.path(parlix::Account::fileName()));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const parlix::Account account = parlix::Account::load(folder);
    if (account.quality < 1 || account.quality > 3)
        std::abort();
    if (!account.problem()) {
        if (!account.save(folder) || !(parlix::Account::load(folder) == account))
            std::abort();
    }
    return 0;
}
