#pragma once

#include <csignal>
#include <sys/resource.h>

namespace parlix::test {

// Makes every file of this process stop growing at `bytes`, so writes past it
// fail with EFBIG as they would with ENOSPC on a full disk. Works without
// root and without a file system of its own; the old limit comes back at the
// end of the scope.
class FullDisk
{
public:
    explicit FullDisk(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit saved_ = {};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace parlix::test
