#include "shell/common/TestPageLines.h"

#include "platform/SharedFileRead.h"

#include <cstdint>
#include <exception>

namespace zir::shell {

namespace {

const char* const kRule = "==================";

uint32_t Le(const std::string& bytes, std::size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

} // namespace

// The checks a bitmap loader makes before it trusts the file: the signature, a known header,
// a sane size and depth, and pixel rows that are really there.
std::string PhotoBitmapProblem(const std::string& bytes) {
    const char* invalid = "位图文件无效";
    if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return invalid;
    uint32_t pixelOffset = Le(bytes, 10, 4);
    uint32_t headerSize = Le(bytes, 14, 4);
    int64_t width, height;
    uint32_t bitCount, compression = 0;
    if (headerSize == 12) {
        width = Le(bytes, 18, 2);
        height = static_cast<int16_t>(Le(bytes, 20, 2));
        bitCount = Le(bytes, 24, 2);
    } else if (headerSize >= 40 && bytes.size() >= 14 + 40) {
        width = static_cast<int32_t>(Le(bytes, 18, 4));
        height = static_cast<int32_t>(Le(bytes, 22, 4));
        bitCount = Le(bytes, 28, 2);
        compression = Le(bytes, 30, 4);
    } else {
        return invalid;
    }
    if (width <= 0 || height == 0 || width > 65535 || height > 65535 || height < -65535)
        return invalid;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return invalid;
    // Uncompressed rows must all be in the file; compressed ones are only checked for a start.
    int64_t rows = height < 0 ? -height : height;
    int64_t rowBytes = (width * bitCount + 31) / 32 * 4;
    bool uncompressed = compression == 0 || compression == 3;
    int64_t needed = static_cast<int64_t>(pixelOffset) + (uncompressed ? rowBytes * rows : 1);
    if (pixelOffset < 14 + headerSize || needed > static_cast<int64_t>(bytes.size()))
        return invalid;
    return {};
}

std::vector<std::string> IdCardTestLines(const core::TIdCardRec& rec) {
    std::vector<std::string> lines{"##" + rec.CardType};
    switch (rec.CardTypeCode) {
    case 1:
        lines.insert(lines.end(), {rec.Name, rec.SexDesc, rec.NationDesc, rec.Birthday, rec.Address,
                                   rec.IdNum, rec.Company, rec.BeginDate, rec.EndDate});
        break;
    case 2:
        lines.insert(lines.end(), {rec.Name, rec.SexDesc, rec.Birthday, rec.Address, rec.IdNum,
                                   rec.PassNum, rec.Company, rec.BeginDate, rec.EndDate});
        break;
    case 3:
    case 4:
        lines.insert(lines.end(),
                     {rec.Name, rec.EName, rec.SexDesc, rec.Country, rec.CountryCode, rec.Birthday,
                      rec.IdNum, rec.Company, rec.BeginDate, rec.EndDate});
        break;
    default:
        lines.push_back("其他证件");
        break;
    }
    lines.insert(lines.end(), {rec.Uid, kRule, ""});
    return lines;
}

std::vector<std::string> UidTestLines(bool succeeded, const core::TIdCardRec& rec) {
    return {succeeded ? rec.UidType + ": " + rec.Uid : rec.ErrorMsg, kRule, ""};
}

std::string CheckPhotoBitmap(const std::string& path) {
    std::string bytes;
    try {
        bytes = platform::ReadWholeFileShared(path);
    } catch (const std::exception& e) {
        return e.what();
    }
    return PhotoBitmapProblem(bytes);
}

std::string PhotoLoadFailedMessage(const std::string& reason) {
    return "照片加载失败：" + reason;
}

} // namespace zir::shell
