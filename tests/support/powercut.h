#pragma once

#include <functional>

namespace parlix::test {

// A power cut for SQLite, after the model of SQLite's own crash tests: a VFS
// over the default one, made the default while this object lives, that keeps
// what each file held before every write since that file's last sync (also
// when the program renames the file). At the chosen sync the power goes: that
// sync never happens, the unsynced writes are thrown away (or torn: each
// 512-byte sector kept or lost at random), and every later write,
// truncation, sync and deletion fails, as on a machine that is off.
class PowerCut
{
public:
    PowerCut();
    ~PowerCut();
    PowerCut(const PowerCut&) = delete;
    PowerCut& operator=(const PowerCut&) = delete;

    // Cuts at every sync point of `scenario` in turn, dropping then tearing:
    // each run starts on what `fresh` makes and ends at the cut (by any
    // exception), then `check` looks at what is left, every connection of the
    // run closed. Returns the number of cuts played.
    int everySync(const std::function<void()>& fresh, const std::function<void()>& scenario,
                  const std::function<void()>& check);
};

} // namespace parlix::test
