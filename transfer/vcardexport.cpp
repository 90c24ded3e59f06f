#include "vcardexport.h"

#include "contacts/bookcatalog.h"
#include "core/textfile.h"
#include "store/storeerror.h"
#include "transfer/bookrows.h"
#include "transfer/vcardwriter.h"

namespace parlix {

namespace {

constexpr qsizetype blockSize = 64 * 1024;

// Gathers cards into blocks for the sink.
class Blocks
{
public:
    explicit Blocks(const VcardSink& sink) : sink_(sink) {}

    bool add(const Contact& contact)
    {
        block_ += vcard::cardText(contact);
        if (block_.size() < blockSize)
            return true;
        return flush();
    }
    bool flush()
    {
        const bool ok = block_.isEmpty() || sink_(block_);
        block_.clear();
        return ok;
    }

private:
    const VcardSink& sink_;
    QByteArray block_;
};

VcardExportResult writeFailed()
{
    VcardExportResult result;
    result.status = VcardExportResult::Status::WriteFailed;
    return result;
}

} // namespace

VcardExportResult writeVcardBook(ProgramState& state, const QString& book, const VcardSink& sink)
{
    VcardExportResult result;
    Blocks blocks(sink);
    try {
        if (book.isEmpty() || !BookCatalog(state).isStored(book)) {
            result.status = VcardExportResult::Status::BookMissing;
            return result;
        }
        bool written = true;
        forEachBookContact(state, book, [&](const Contact& contact) {
            written = blocks.add(contact);
            if (written)
                ++result.exported;
            return written;
        });
        if (!written)
            return writeFailed();
    } catch (const StoreError& error) {
        result = {};
        result.status = VcardExportResult::Status::StoreFailed;
        result.detail = error.message();
        return result;
    }
    return blocks.flush() ? result : writeFailed();
}

VcardExportResult writeVcardContacts(const std::vector<Contact>& contacts, const VcardSink& sink)
{
    Blocks blocks(sink);
    for (const Contact& contact : contacts)
        if (!blocks.add(contact))
            return writeFailed();
    if (!blocks.flush())
        return writeFailed();
    VcardExportResult result;
    result.exported = int(contacts.size());
    return result;
}

VcardExportResult writeVcardFile(const QString& path,
                                 const std::function<VcardExportResult(const VcardSink&)>& write)
{
    textfile::ReplacingFile file(path);
    VcardExportResult result = write([&file](const QByteArray& block) { return file.write(block); });
    if (result.status == VcardExportResult::Status::WriteFailed ||
        (result.status == VcardExportResult::Status::Done && !file.commit())) {
        result = writeFailed();
        result.detail = file.error();
    }
    return result;
}

} // namespace parlix
