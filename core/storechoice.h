#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace parlix {

class DataFolder;
class Store;

// The store a data folder uses: the PostgreSQL database named by the one-line
// file "archivio" (a libpq connection string or URI), else the folder's own
// SQLite files. Throws StoreError when "archivio" exists but cannot be read:
// the folder's own files are no stand-in for the shared database.
std::shared_ptr<Store> chooseStore(const DataFolder& folder);
// The connection string of "archivio"; empty when the folder has none.
// Throws StoreError as chooseStore() does.
QString sharedStoreAddress(const DataFolder& folder);
// Why "archivio" cannot be used although it exists (not a regular file, not
// readable, larger than a configuration file may be), for the user; nothing
// when it is absent or readable. Both front-ends stop on it before anything
// else touches the folder.
std::optional<QString> storeChoiceProblem(const DataFolder& folder);

} // namespace parlix
