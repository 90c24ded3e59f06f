#include "powercut.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace parlix::test {

namespace {

struct Undo
{
    long long offset;
    std::string before; // the bytes there before, as far as the file went
    long long sizeBefore;
};

// The writes to one file since its last sync, and a descriptor of its own
// that follows the file through renames.
struct Log
{
    int fd = -1;
    std::vector<Undo> undos;
};

struct State
{
    sqlite3_vfs* lower = nullptr;
    sqlite3_vfs vfs = {};
    std::map<std::string, Log> unsynced;
    int syncs = 0, target = 0;
    bool cut = false, tear = false;
    unsigned seed = 1;
} state;

struct File
{
    sqlite3_file base;
    sqlite3_file* real;
    std::string* name; // empty for temporary files
};

sqlite3_file* real(sqlite3_file* f)
{
    return reinterpret_cast<File*>(f)->real;
}

const std::string& nameOf(sqlite3_file* f)
{
    return *reinterpret_cast<File*>(f)->name;
}

void forget(const std::string& name)
{
    if (const auto log = state.unsynced.find(name); log != state.unsynced.end()) {
        if (log->second.fd >= 0)
            ::close(log->second.fd);
        state.unsynced.erase(log);
    }
}

// Keeps what lies in [offset, end) before it changes.
void remember(sqlite3_file* f, long long offset, long long end)
{
    sqlite3_int64 size = 0;
    real(f)->pMethods->xFileSize(real(f), &size);
    std::string before(size_t(std::max(0LL, std::min<long long>(end, size) - offset)), '\0');
    if (!before.empty())
        real(f)->pMethods->xRead(real(f), before.data(), int(before.size()), offset);
    if (nameOf(f).empty())
        return;
    Log& log = state.unsynced[nameOf(f)];
    if (log.fd < 0)
        log.fd = ::open(nameOf(f).c_str(), O_WRONLY | O_CLOEXEC);
    log.undos.push_back({offset, std::move(before), size});
}

// What the disk holds when the power goes: each file as at its last sync,
// with (torn) some sectors of the later writes.
void play()
{
    state.cut = true;
    std::mt19937 random(state.seed);
    for (auto& [name, log] : state.unsynced) {
        for (auto undo = log.undos.rbegin(); undo != log.undos.rend() && log.fd >= 0; ++undo) {
            for (size_t at = 0; at < undo->before.size(); at += 512) {
                const size_t length = std::min<size_t>(512, undo->before.size() - at);
                if (!state.tear || random() % 2 == 0) {
                    EXPECT_EQ(::pwrite(log.fd, undo->before.data() + at, length, off_t(undo->offset + at)),
                              ssize_t(length));
                }
            }
        }
        if (!state.tear && log.fd >= 0) {
            EXPECT_EQ(::ftruncate(log.fd, off_t(log.undos.front().sizeBefore)), 0);
        }
    }
}

// Version 1: no shared memory and no memory mapping, so every change comes
// through xWrite (the program uses rollback journals).
const sqlite3_io_methods methods = [] {
    sqlite3_io_methods m = {};
    m.iVersion = 1;
    m.xClose = [](sqlite3_file* f) {
        delete reinterpret_cast<File*>(f)->name;
        return real(f)->pMethods->xClose(real(f));
    };
    m.xRead = [](sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
        return real(f)->pMethods->xRead(real(f), data, amount, offset);
    };
    m.xWrite = [](sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
        if (state.cut)
            return SQLITE_IOERR_WRITE;
        remember(f, offset, offset + amount);
        return real(f)->pMethods->xWrite(real(f), data, amount, offset);
    };
    m.xTruncate = [](sqlite3_file* f, sqlite3_int64 size) {
        if (state.cut)
            return SQLITE_IOERR_TRUNCATE;
        remember(f, size, std::numeric_limits<long long>::max());
        return real(f)->pMethods->xTruncate(real(f), size);
    };
    m.xSync = [](sqlite3_file* f, int flags) {
        if (state.cut || ++state.syncs == state.target) {
            if (!state.cut)
                play();
            return SQLITE_IOERR_FSYNC;
        }
        const int rc = real(f)->pMethods->xSync(real(f), flags);
        if (rc == SQLITE_OK)
            forget(nameOf(f));
        return rc;
    };
    m.xFileSize = [](sqlite3_file* f, sqlite3_int64* size) {
        return real(f)->pMethods->xFileSize(real(f), size);
    };
    m.xLock = [](sqlite3_file* f, int level) { return real(f)->pMethods->xLock(real(f), level); };
    m.xUnlock = [](sqlite3_file* f, int level) { return real(f)->pMethods->xUnlock(real(f), level); };
    m.xCheckReservedLock = [](sqlite3_file* f, int* out) {
        return real(f)->pMethods->xCheckReservedLock(real(f), out);
    };
    m.xFileControl = [](sqlite3_file* f, int op, void* arg) {
        return real(f)->pMethods->xFileControl(real(f), op, arg);
    };
    m.xSectorSize = [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); };
    m.xDeviceCharacteristics = [](sqlite3_file* f) {
        return real(f)->pMethods->xDeviceCharacteristics(real(f));
    };
    return m;
}();

int openFile(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* own = reinterpret_cast<File*>(file);
    own->real = reinterpret_cast<sqlite3_file*>(own + 1);
    own->base.pMethods = nullptr;
    const int rc = state.lower->xOpen(state.lower, name, own->real, flags, outFlags);
    if (rc == SQLITE_OK) {
        own->name = new std::string(name ? name : "");
        own->base.pMethods = &methods;
    }
    return rc;
}

int deleteFile(sqlite3_vfs*, const char* name, int syncDir)
{
    if (state.cut)
        return SQLITE_IOERR_DELETE;
    forget(name);
    return state.lower->xDelete(state.lower, name, syncDir);
}

void restore()
{
    state.cut = false;
    state.target = 0;
    while (!state.unsynced.empty())
        forget(state.unsynced.begin()->first);
}

} // namespace

PowerCut::PowerCut()
{
    state.lower = sqlite3_vfs_find(nullptr);
    state.vfs = *state.lower;
    state.vfs.zName = "powercut";
    state.vfs.szOsFile = int(sizeof(File)) + state.lower->szOsFile;
    state.vfs.xOpen = openFile;
    state.vfs.xDelete = deleteFile;
    state.vfs.pNext = nullptr;
    sqlite3_vfs_register(&state.vfs, 1);
}

PowerCut::~PowerCut()
{
    restore();
    sqlite3_vfs_unregister(&state.vfs);
    sqlite3_vfs_register(state.lower, 1);
}

int PowerCut::everySync(const std::function<void()>& fresh, const std::function<void()>& scenario,
                        const std::function<void()>& check)
{
    fresh();
    restore();
    state.syncs = 0;
    scenario();
    const int total = state.syncs;
    int played = 0;
    for (const bool tear : {false, true}) {
        for (int sync = 1; sync <= total; ++sync, ++played) {
            SCOPED_TRACE(testing::Message()
                         << "cut at sync " << sync << " of " << total << (tear ? ", torn" : ""));
            fresh();
            restore();
            state.syncs = 0;
            state.target = sync;
            state.tear = tear;
            state.seed = unsigned(sync);
            try {
                scenario();
            } catch (const std::exception&) {
            }
            EXPECT_TRUE(state.cut);
            restore();
            check();
        }
    }
    return played;
}

} // namespace parlix::test
