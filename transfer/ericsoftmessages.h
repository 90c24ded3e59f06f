#pragma once

#include "transfer/ericsoftimport.h"

#include <QString>

namespace parlix::ericsoft {

// The texts the Ericsoft import tells the user, the same in the window and on
// the console.
QString folderNotSetText(); // no folder chosen yet
QString completedText();    // the import ended normally, every customer placed
// The customers left out because their market code can name no book, when
// there are any: the import did not complete.
QString unplacedText(const EricsoftImportResult& result);
QString unreadableText();   // the folder or table cannot be opened or read
QString tableMissingText(); // the folder holds no table "Anagrafiche"
// The text for an outcome that is not Done (nor FolderNotSet): one of the
// above, or the missing field, or the store's message.
QString failureText(const EricsoftImportResult& result);

} // namespace parlix::ericsoft
