#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace parlix {

struct ProgramState;

// One node of the archive tree. Four group nodes ("a1".."a4"), each followed
// at once by one child per address book ("r1".."rN", "s1"..., "i1"..., "c1"...),
// so with N books the group nodes have the 1-based indices 1, N+2, 2N+3, 3N+4.
struct ArchiveNode
{
    QString key;
    QString text;
    int image = 0;       // 1 contacts, 3 saved, 4 sent, 5 deleted
    int parentIndex = 0; // 1-based index of the group node; 0 for a group node
};

std::vector<ArchiveNode> archiveNodes(const QStringList& books);

// The names of the address books, in stored order, read through the program's
// shared handles (they are left on the book list). An unreadable or missing
// book list gives no books.
QStringList readBookNames(const ProgramState& state);
// The same, with nothing when the book list cannot be read (a shared store
// out of reach): not the same as a list without books.
std::optional<QStringList> tryReadBookNames(const ProgramState& state);

} // namespace parlix
