#pragma once

// What the test page prints, as plain functions both programs use: the Windows test page
// appends these lines to its memo, `zir read` and `zir uid` print them.

#include "core/TIdCardRec.h"

#include <string>
#include <vector>

namespace zir::shell {

// The lines a successful full read appends: "##" + CardType, the fields of the card type in
// the page's order, Uid, the rule and an empty line.
std::vector<std::string> IdCardTestLines(const core::TIdCardRec& rec);

// The lines a UID read appends: "UidType: Uid" on success, ErrorMsg on failure; then the rule
// and an empty line.
std::vector<std::string> UidTestLines(bool succeeded, const core::TIdCardRec& rec);

// Empty when the bytes can be loaded as a bitmap, otherwise "位图文件无效".
std::string PhotoBitmapProblem(const std::string& bytes);

// Checks that the photo file can be loaded as a bitmap. Empty when it can; otherwise the reason,
// which the test page shows after "照片加载失败：".
std::string CheckPhotoBitmap(const std::string& path);

// The text shown when the photo cannot be loaded.
std::string PhotoLoadFailedMessage(const std::string& reason);

} // namespace zir::shell
