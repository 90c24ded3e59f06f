#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace qwirl::sandbox {

// A file that lines are appended to from several threads, each line written whole and flushed at once so
// that readers see it as soon as the request is answered. A new file is made readable by its owner only.
// An empty path makes a file that writes nothing.
class LineFile
{
public:
    explicit LineFile(const std::string& path);
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    void append(std::string_view line);

private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

} // namespace qwirl::sandbox
