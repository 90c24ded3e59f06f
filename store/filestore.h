#pragma once

#include "store/bookfiles.h"
#include "store/store.h"

namespace parlix {

// The SQLite files of a data folder: "elenco.mdb", "rubrica_base.mdb" and one
// file per book under "rubriche", a copy of the template (see BookFiles).
class FileStore : public Store
{
public:
    explicit FileStore(QString root) : root_(std::move(root)), books_(root_) {}

    std::shared_ptr<Database> open(const QString& path) override;
    // Each seat has its own files: nobody else changes them.
    std::unique_ptr<ArchiveWatch> watch(const QString&, const QString&) override;
    BookStorage& books() override { return books_; }
    QString description() const override;
    QString probe() override { return {}; }
    void prepare() override;

private:
    QString root_;
    BookFiles books_;
};

} // namespace parlix
