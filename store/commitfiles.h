#pragma once

namespace parlix {

class Database;

// Whether a connection keeps the book's rollback file between its commits
// while a run of small commits goes on (see Database::keepCommitFiles): making
// and removing the file for each commit costs a sync of the folder every time.
// Going back, or the end of this object, removes the file. A failure only
// costs speed, or leaves an empty rollback file that the engine ignores.
class CommitFiles
{
public:
    explicit CommitFiles(Database& db) : db_(db) {}
    ~CommitFiles();
    CommitFiles(const CommitFiles&) = delete;
    CommitFiles& operator=(const CommitFiles&) = delete;

    void keep(bool keep);

private:
    Database& db_;
    bool kept_ = false;
};

} // namespace parlix
