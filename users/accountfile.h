#pragma once

#include "core/datafolder.h"
#include "users/useraccount.h"

#include <QByteArrayList>

#include <vector>

namespace parlix {

// The account file "tempaccesso" of the data folder: one scrambled record per
// line, CR LF after each, in list order; an empty file holds no accounts. It
// holds passwords, so it is readable by its owner only, and it is replaced
// whole and atomically: a failed write leaves the previous file as it was.
class AccountFile
{
public:
    enum class Status { Read, Missing, Unreadable };

    // An account as read, with the line it came from, which is written back
    // unchanged while the account is.
    struct Entry
    {
        UserAccount account;
        QByteArray line;
    };

    struct Contents
    {
        Status status = Status::Missing;
        std::vector<Entry> entries;
        // Lines that do not unscramble to a record, kept to be written back.
        QByteArrayList damaged;
    };

    explicit AccountFile(const DataFolder& folder);

    const QString& path() const { return path_; }
    // Blank lines are skipped; CR LF, CR and LF all end a line.
    Contents read() const;
    // Replaces the file with these stored lines. False when it could not be
    // written, with the reason in `error` when given.
    bool write(const QByteArrayList& lines, QString* error = nullptr) const;

private:
    QString path_;
};

} // namespace parlix
