#include "line_file.h"

namespace qwirl::sandbox {

LineFile::LineFile(const std::string& path)
{
    if (!path.empty()) {
        file_ = std::fopen(path.c_str(), "a");
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
