#pragma once

#include "store/bookstorage.h"
#include "store/store.h"

namespace parlix {

// The SQLite files of a data folder: "elenco.mdb", "rubrica_base.mdb" and one
// file per book under "rubriche", a copy of the template.
class FileStore : public Store, private BookStorage
{
public:
    explicit FileStore(QString root) : root_(std::move(root)) {}

    std::shared_ptr<Database> open(const QString& path) override;
    // Each seat has its own files: nobody else changes them.
    std::unique_ptr<ArchiveWatch> watch(const QString&, const QString&) override;
    BookStorage& books() override { return *this; }
    QString description() const override;
    QString probe() override { return {}; }
    void prepare() override;

private:
    bool exists(const QString& name) override;
    void create(const QString& name) override;
    void rename(const QString& from, const QString& to) override;
    void drop(const QString& name) override;
    std::optional<QString> nameProblem(const QString&) const override { return std::nullopt; }
    bool transactional() const override { return false; }

    // `name` in `dir`, as it is spelt on disk when only the case differs.
    static QString child(const QString& dir, const QString& name);
    QString bookFile(const QString& name) const;

    QString root_;
};

} // namespace parlix
