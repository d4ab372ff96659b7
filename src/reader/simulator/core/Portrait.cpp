#include "reader/simulator/core/Portrait.h"

#include <cstdint>

namespace zir::reader::simulator {

namespace {

void PutLe(std::string& out, std::size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
    double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

std::string MakePortrait() {
    constexpr int rowBytes = (kPhotoWidth * 3 + 3) / 4 * 4;
    constexpr int pixelBytes = rowBytes * kPhotoHeight;
    constexpr int headerBytes = 14 + 40;
    std::string bmp(static_cast<std::size_t>(headerBytes + pixelBytes), '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe(bmp, 2, headerBytes + pixelBytes, 4);
    PutLe(bmp, 10, headerBytes, 4);
    PutLe(bmp, 14, 40, 4);
    PutLe(bmp, 18, kPhotoWidth, 4);
    PutLe(bmp, 22, kPhotoHeight, 4); // positive height: bottom-up rows
    PutLe(bmp, 26, 1, 2);
    PutLe(bmp, 28, 24, 2);
    PutLe(bmp, 34, pixelBytes, 4);
    PutLe(bmp, 38, 3780, 4); // 96 dpi
    PutLe(bmp, 42, 3780, 4);

    for (int top = 0; top < kPhotoHeight; ++top) {
        int row = kPhotoHeight - 1 - top;
        for (int x = 0; x < kPhotoWidth; ++x) {
            double px = x + 0.5, py = top + 0.5;
            // Background: the pale blue of an identity photo, a little lighter towards the top.
            int r = 196 + top / 8, g = 220 + top / 16, b = 240;
            bool head = InEllipse(px, py, 51, 48, 21, 26);
            bool neck = px > 42 && px < 60 && py > 66 && py < 92;
            bool shoulders = InEllipse(px, py, 51, 142, 49, 52);
            if (head || neck || shoulders) {
                r = 118, g = 126, b = 138;
                // A slightly darker rim keeps the outline readable on any screen.
                bool rim = !InEllipse(px, py, 51, 48, 19.5, 24.5) && head && !shoulders && !neck;
                if (rim)
                    r = 92, g = 100, b = 112;
            }
            std::size_t at = static_cast<std::size_t>(headerBytes + row * rowBytes + x * 3);
            bmp[at] = static_cast<char>(b);
            bmp[at + 1] = static_cast<char>(g);
            bmp[at + 2] = static_cast<char>(r);
        }
    }
    return bmp;
}

} // namespace

const std::string& PlaceholderPortraitBmp() {
    static const std::string bmp = MakePortrait();
    return bmp;
}

} // namespace zir::reader::simulator
