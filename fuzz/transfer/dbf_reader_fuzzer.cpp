// A DBF table from an Ericsoft folder may be damaged: opened from any bytes it either refuses or reads
// every record and field without crashing.
#include "transfer/dbftable.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clienti.dbf"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const auto table = parlix::DbfTable::open(path);
    if (!table)
        return 0;
    const int records = std::min(table->recordCount(), 1000);
    for (int record = 0; record < records; ++record) {
        (void)table->isDeleted(record);
        for (int field = 0; field < 8; ++field)
            (void)table->text(record, field);
    }
    (void)table->fieldIndex(QStringLiteral("NOME"));
    return 0;
}
