#pragma once

#include "contacts/contact.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace parlix {

struct ProgramState;

struct VcardExportResult
{
    enum class Status {
        Done,
        BookMissing, // nothing written
        StoreFailed, // the book could not be read
        WriteFailed, // the file could not be written: it is left as it was
    };

    Status status = Status::Done;
    int exported = 0;
    QString detail; // the store's or the system's message
};

// Where the cards go, a block at a time; false when the writing failed.
using VcardSink = std::function<bool(const QByteArray& block)>;

// Every contact of a book, in stored order, as vCard 3.0 cards (see
// vcardwriter.h). The book is read a block of rows at a time, never whole.
VcardExportResult writeVcardBook(ProgramState& state, const QString& book, const VcardSink& sink);
// The contacts given, in that order.
VcardExportResult writeVcardContacts(const std::vector<Contact>& contacts, const VcardSink& sink);

// Runs `write` into a file that replaces `path` whole, or leaves it as it was
// when the writing fails.
VcardExportResult writeVcardFile(const QString& path,
                                 const std::function<VcardExportResult(const VcardSink&)>& write);

} // namespace parlix
