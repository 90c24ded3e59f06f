#include "ericsoftregister.h"

#include "transfer/dbftable.h"

#include <QDir>
#include <QFileInfo>

#include <array>

namespace parlix {

namespace {

constexpr int progressStep = 512;

EricsoftRegister walkTable(const QString& path, const EricsoftCustomerSink& each, const Progress& progress);

using Walk = EricsoftRegister (*)(const QString&, const EricsoftCustomerSink&, const Progress&);

// What `walk` reads of `source`, its customers kept in a list.
EricsoftRegister collected(Walk walk, const QString& source, const Progress& progress)
{
    EricsoftRegister result;
    const EricsoftRegister walked = walk(
        source, [&result](const EricsoftCustomer& customer) { result.customers.push_back(customer); },
        progress);
    result.status = walked.status;
    result.missingField = walked.missingField;
    return result;
}

} // namespace

EricsoftRegister readEricsoftRegister(const QString& folder, const Progress& progress)
{
    return collected(walkEricsoftRegister, folder, progress);
}

EricsoftRegister readEricsoftTable(const QString& path, const Progress& progress)
{
    return collected(walkTable, path, progress);
}

EricsoftRegister walkEricsoftRegister(const QString& folder, const EricsoftCustomerSink& each,
                                      const Progress& progress)
{
    EricsoftRegister result;
    const QDir dir(folder);
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || !QFileInfo(folder).isReadable()) {
        result.status = EricsoftRegister::Status::Unreadable;
        return result;
    }
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(QStringLiteral("anagrafiche.dbf"), Qt::CaseInsensitive) == 0)
            return walkTable(dir.filePath(entry), each, progress);
    }
    result.status = EricsoftRegister::Status::TableMissing;
    return result;
}

namespace {

EricsoftRegister walkTable(const QString& path, const EricsoftCustomerSink& each, const Progress& progress)
{
    EricsoftRegister result;
    const auto table = DbfTable::open(path);
    if (!table) {
        result.status = EricsoftRegister::Status::Unreadable;
        return result;
    }
    const std::array<QString, 5> names = {QStringLiteral("RN_MER"), QStringLiteral("cognome"),
                                          QStringLiteral("Nome"), QStringLiteral("posta"),
                                          QStringLiteral("telefono_3")};
    std::array<int, 5> fields{};
    for (size_t i = 0; i < names.size(); ++i) {
        fields[i] = table->fieldIndex(names[i]);
        if (fields[i] < 0) {
            result.status = EricsoftRegister::Status::FieldMissing;
            result.missingField = names[i];
            return result;
        }
    }

    const int total = table->recordCount();
    for (int record = 0; record < total; ++record) {
        if (progress && record % progressStep == 0)
            progress(record, total);
        const auto deleted = table->isDeleted(record);
        if (!deleted) {
            result.status = EricsoftRegister::Status::Unreadable;
            return result;
        }
        if (*deleted)
            continue;
        std::array<QString, 5> values;
        for (size_t i = 0; i < fields.size(); ++i) {
            auto value = table->text(record, fields[i]);
            if (!value) {
                result.status = EricsoftRegister::Status::Unreadable;
                return result;
            }
            values[i] = std::move(*value);
        }
        each({values[0], values[1], values[2], values[3], values[4]});
    }
    if (progress)
        progress(total, total);
    return result;
}

} // namespace

} // namespace parlix
