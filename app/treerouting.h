#pragma once

#include <QString>

#include <optional>

namespace parlix {

// The picture (1 contacts, 3 saved, 4 sent, 5 deleted) and the title the
// list shows for a clicked tree node.
struct ArchiveCaption
{
    int image = 0;
    QString title;

    bool operator==(const ArchiveCaption&) const = default;
};

// Four tests on the node's key and text, in this order, each on its own, the
// last match winning (case-sensitive): key "r" or text beginning "R"
// (contacts); key "s" or fifth character "S" (saved); key "i" or fifth
// character "I" (sent); key "c" or fifth character "C" (deleted). The text
// tests are what give the group nodes ("SMS Inviati"...) their captions; they
// apply to books too, so a book "Casa" under "SMS Inviati" shows "SMS Inviati"
// while a book whose fifth letter is "C" shows "SMS Cancellati" anywhere.
// Nothing when no test matches.
std::optional<ArchiveCaption> archiveCaption(const QString& key, const QString& text);

// A node that names an archive of a book (not one of the four group nodes).
bool isBookNode(const QString& key);

} // namespace parlix
