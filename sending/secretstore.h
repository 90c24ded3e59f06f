#pragma once

#include <QString>

namespace parlix {

// A place for secrets outside the data folder: the desktop's keyring (the
// Secret Service of GNOME and KDE), or a stand-in in tests. Every call may
// fail, for instance when no keyring service is running; callers then keep
// the secret where it was.
class SecretStore
{
public:
    struct Lookup
    {
        enum class Status { Found, Missing, Failed };
        Status status = Status::Failed;
        QString secret;
    };

    virtual ~SecretStore() = default;

    virtual Lookup read(const QString& key) = 0;
    // True once the store holds `secret` under `key`.
    virtual bool write(const QString& key, const QString& secret) = 0;
    // True when nothing is left under `key` (also when nothing was there).
    virtual bool remove(const QString& key) = 0;
};

} // namespace parlix
