#pragma once

// The test page's two reads as the page shows them, for the Windows test page and for
// `zir read` / `zir uid`. Each takes the card-operation lock and waits for a read in progress:
// the Windows page runs them on a worker with its test buttons disabled.

#include "core/CardOperations.h"

#include <string>
#include <vector>

namespace zir::shell {

// The full read, straight from the reader (not through the decode cache or the service).
struct TIdCardTestRead {
    bool Succeeded = false;
    // The lines for the test memo; none when the read failed.
    std::vector<std::string> Lines;
    // Shown in a plain message box (after the lines): the read's ErrorMsg when it failed,
    // "照片加载失败：" and the reason when the photo cannot be shown; empty: no box.
    std::string Message;
    // The picture is cleared when the read starts; it shows PhotoBitmap only when this read
    // decoded a photo that loads as a bitmap. A photo file left by an earlier card is never
    // shown under this card's lines.
    bool ShowPhoto = false;
    std::string PhotoBitmap; // zp.bmp as this read left it, taken while the lock was held
};
TIdCardTestRead RunIdCardTestRead(core::TCardOperations& cards);

// The UID read: the line (UID or ErrorMsg), the rule and an empty line either way; no box.
struct TUidTestRead {
    bool Succeeded = false;
    std::vector<std::string> Lines;
};
TUidTestRead RunUidTestRead(core::TCardOperations& cards);

// The reason given when the read succeeded without decoding a photo of its own.
inline constexpr const char* kNoPhotoDecodedReason = "本次读卡未解码照片";

} // namespace zir::shell
