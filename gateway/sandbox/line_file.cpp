#include "line_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace qwirl::sandbox {

LineFile::LineFile(const std::string& path)
{
    if (path.empty()) {
        return;
    }
    // Readable by its owner only: it holds the messages and, for a trace, whole requests.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    file_ = ::fdopen(fd, "a");
    if (file_ == nullptr) {
        ::close(fd);
    }
}

LineFile::~LineFile()
{
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void LineFile::append(std::string_view line)
{
    if (file_ == nullptr) {
        return;
    }
    const std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

} // namespace qwirl::sandbox
