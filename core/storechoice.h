#pragma once

#include <QString>

#include <memory>

namespace parlix {

class DataFolder;
class Store;

// The store a data folder uses: the PostgreSQL database named by the one-line
// file "archivio" (a libpq connection string or URI), else the folder's own
// SQLite files.
std::shared_ptr<Store> chooseStore(const DataFolder& folder);
// The connection string of "archivio"; empty when the folder has none.
QString sharedStoreAddress(const DataFolder& folder);

} // namespace parlix
