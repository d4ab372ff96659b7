#include "platform/FileStamp.h"

#include "platform/Text.h"

#include <windows.h>

namespace zir::platform {

std::optional<FileStamp> ReadFileStamp(const std::string& utf8Path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Utf8ToWide(utf8Path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileStamp stamp;
    stamp.Size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    // 100-nanosecond units.
    stamp.Modified = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime);
    return stamp;
}

} // namespace zir::platform
