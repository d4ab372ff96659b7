#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zir::platform {

// What tells that a file was rewritten: its size and its last write time at the file system's
// full resolution. (The C runtime's stat gives whole seconds on Windows, which misses a rewrite
// to the same size within the same second.)
struct FileStamp {
    std::uint64_t Size = 0;
    std::int64_t Modified = 0; // in the system's own units
    bool operator==(const FileStamp&) const = default;
};

// The file's stamp, or nothing when it does not exist or cannot be examined.
std::optional<FileStamp> ReadFileStamp(const std::string& utf8Path);

} // namespace zir::platform
