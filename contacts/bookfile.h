#pragma once

#include <QString>

namespace parlix {

class DataFolder;

// The file of a book under "rubriche/". A book name is also a file name, so a
// name that would lead out of that folder ("..", one holding a slash) is
// refused with a StoreError instead of opening some other file.
QString bookFile(const DataFolder& folder, const QString& book);

} // namespace parlix
