#include "shell/common/FormLayout.h"

#include <algorithm>
#include <cstdint>

namespace zir::shell {

int ScaleForDpi(int length, int dpi) {
    const int64_t product = static_cast<int64_t>(length) * dpi;
    const int64_t rounded = product >= 0 ? (product + 48) / 96 : (product - 48) / 96;
    return static_cast<int>(rounded);
}

TExtent ScaleForDpi(TExtent extent, int dpi) {
    return {ScaleForDpi(extent.Width, dpi), ScaleForDpi(extent.Height, dpi)};
}

namespace {

// One axis: the start and length in a parent that grew by `growth` pixels beyond its design.
void Follow(bool first, bool second, int growth, int& start, int& length) {
    if (first && second)
        length = std::max(0, length + growth);
    else if (second)
        start += growth;
}

} // namespace

TBounds PlaceControl(const TPlacement& placement, TExtent designParent, TExtent parent, int dpi) {
    TBounds bounds{ScaleForDpi(placement.Bounds.Left, dpi), ScaleForDpi(placement.Bounds.Top, dpi),
                   ScaleForDpi(placement.Bounds.Width, dpi),
                   ScaleForDpi(placement.Bounds.Height, dpi)};
    const TExtent design = ScaleForDpi(designParent, dpi);
    const unsigned anchors = placement.Anchors;
    Follow((anchors & akLeft) != 0, (anchors & akRight) != 0, parent.Width - design.Width,
           bounds.Left, bounds.Width);
    Follow((anchors & akTop) != 0, (anchors & akBottom) != 0, parent.Height - design.Height,
           bounds.Top, bounds.Height);
    return bounds;
}

TBounds KeepInWorkArea(int left, int top, TExtent size, TWorkArea area) {
    left = std::max(area.Left, std::min(left, area.Right - size.Width));
    top = std::max(area.Top, std::min(top, area.Bottom - size.Height));
    return {left, top, size.Width, size.Height};
}

} // namespace zir::shell
