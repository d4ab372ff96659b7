#include "reader/simulator/core/SimulatedDecoder.h"

#include "platform/Paths.h"
#include "platform/SharedFileRead.h"
#include "reader/simulator/core/CardSource.h"
#include "reader/simulator/core/Portrait.h"
#include "reader/simulator/core/RawPhoto.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>

namespace zir::reader::simulator {

namespace {
constexpr std::size_t kBitmapBytes = 38556; // 102 x 126 pixels x 3 bytes
constexpr std::size_t kBmpHeaderBytes = 54;
} // namespace

namespace {

// Overwrites the file in place and cuts what is left of a longer one. Emptying it first would
// make the file system write it to disk at once on close (its guard against empty files after a
// crash), which costs a full read from the cache-less service more than everything else.
bool WritePhotoFile(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ignored;
    const bool exists = std::filesystem::is_regular_file(path, ignored);
    std::ofstream out(path, exists ? std::ios::binary | std::ios::in | std::ios::out
                                   : std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        return false;
    std::error_code error;
    if (exists && std::filesystem::file_size(path, error) > bytes.size())
        std::filesystem::resize_file(path, bytes.size(), error);
    return !error;
}

} // namespace

SimulatedDecoder& TheSimulatedDecoder() {
    static SimulatedDecoder decoder;
    return decoder;
}

int32_t SimulatedDecoder::Unpack(const unsigned char* raw, unsigned char* bitmap38556,
                                 int32_t /*one*/) {
    CallGuard::Entry entry(guard_, "unpack");
    if (!entry.Admitted())
        return kOverlapResult;
    auto photo = raw ? ReadRawPhoto(raw) : std::nullopt;
    if (!photo)
        return kUnpackNotARawPhoto;
    ImitateReaderDelay(photo->DelayMs);
    if (photo->UnpackResult != 1)
        return photo->UnpackResult;

    std::string bytes;
    if (photo->Photo.empty()) {
        bytes = PlaceholderPortraitBmp();
    } else {
        try {
            bytes = platform::ReadWholeFileShared(photo->Photo);
        } catch (const std::exception& e) {
            WarnLine(std::string("unpack: Photo not readable: ") + e.what());
            return kUnpackPhotoUnreadable;
        }
    }

    std::string target = platform::CurrentDirectory() + platform::PathSeparator() + "zp.bmp";
    if (!WritePhotoFile(platform::PathFromUtf8(target), bytes)) {
        WarnLine("unpack: cannot write " + target);
        return kUnpackCannotWrite;
    }
    // The pixel rows behind the header, as far as they go; the service relies on the file.
    if (bitmap38556 && bytes.size() > kBmpHeaderBytes)
        std::memcpy(bitmap38556, bytes.data() + kBmpHeaderBytes,
                    std::min(bytes.size() - kBmpHeaderBytes, kBitmapBytes));
    return 1;
}

} // namespace zir::reader::simulator
