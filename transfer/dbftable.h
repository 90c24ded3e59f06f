#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <memory>
#include <optional>

namespace parlix {

// A DBF table (dBase, FoxPro, Visual FoxPro) opened for reading through
// shapelib. The file's extension and a ".cpg" code page file beside it are
// found without regard to letter case; text is decoded from the code page the
// table declares (Windows-1252 when it declares none). shapelib's own error
// reports are kept quiet: failures show as results.
class DbfTable
{
public:
    // Nothing when the file cannot be opened or is not a DBF table.
    static std::unique_ptr<DbfTable> open(const QString& path);
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    int recordCount() const;
    // The field named `name` in any letter case, or -1.
    int fieldIndex(const QString& name) const;
    // Nothing when the record cannot be read (a damaged or truncated file).
    std::optional<bool> isDeleted(int record) const;
    // The field's text, blanks at either end removed; empty for a null value.
    // Nothing when the record cannot be read.
    std::optional<QString> text(int record, int field) const;
    // The decoder's name for the table's text.
    const QByteArray& codePage() const { return codePage_; }

private:
    struct Handle;
    explicit DbfTable(std::unique_ptr<Handle> handle);

    std::unique_ptr<Handle> handle_;
    QByteArray codePage_;
    mutable QStringDecoder decoder_;
};

} // namespace parlix
