#pragma once

// The test page's photo: a bitmap file's bytes decoded by the system's image decoder into a
// picture of the file's own size, drawn from the top left corner of its box and clipped by it,
// never stretched.

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <windows.h>

namespace zir::win32 {

class PhotoBitmap {
  public:
    PhotoBitmap() = default;

    // Decodes on any thread (no window involved). On failure the result is empty and error holds
    // the decoder's reason.
    static PhotoBitmap Decode(std::string_view fileBytes, std::string& error);

    bool Empty() const { return bitmap_ == nullptr; }
    SIZE Size() const { return size_; }

    // Draws at the picture's own size with its top left corner at the box's; what lies outside
    // the box is cut off.
    void Draw(HDC dc, const RECT& box) const;

  private:
    std::shared_ptr<std::remove_pointer_t<HBITMAP>> bitmap_;
    SIZE size_{};
};

} // namespace zir::win32
