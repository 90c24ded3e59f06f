#include "commitfiles.h"

#include "store/database.h"
#include "store/storeerror.h"

namespace parlix {

CommitFiles::~CommitFiles()
{
    keep(false);
}

void CommitFiles::keep(bool keep)
{
    if (keep == kept_)
        return;
    try {
        db_.keepCommitFiles(keep);
        kept_ = keep;
    } catch (const StoreError&) {
    }
}

} // namespace parlix
