#pragma once

#include <string>

namespace zir::reader::simulator {

// The photo size of a resident identity card.
inline constexpr int kPhotoWidth = 102;
inline constexpr int kPhotoHeight = 126;

// The default photo: a 102 x 126, 24-bit, bottom-up BMP file of a grey head-and-shoulders
// silhouette on a pale blue background, plainly a placeholder portrait.
const std::string& PlaceholderPortraitBmp();

} // namespace zir::reader::simulator
