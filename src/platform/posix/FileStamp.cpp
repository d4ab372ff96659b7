#include "platform/FileStamp.h"

#include <sys/stat.h>

namespace zir::platform {

std::optional<FileStamp> ReadFileStamp(const std::string& utf8Path) {
    struct stat status {};
    if (::stat(utf8Path.c_str(), &status) != 0)
        return std::nullopt;
    FileStamp stamp;
    stamp.Size = static_cast<std::uint64_t>(status.st_size);
    stamp.Modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 +
                     status.st_mtim.tv_nsec;
    return stamp;
}

} // namespace zir::platform
