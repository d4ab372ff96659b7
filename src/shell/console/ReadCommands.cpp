#include "shell/console/Commands.h"

#include "core/CardLock.h"
#include "core/ICH.h"
#include "platform/Paths.h"
#include "platform/UserMessage.h"
#include "platform/Utf8Codec.h"
#include "shell/common/TestPageLines.h"

#include <cstdio>
#include <string>
#include <vector>

namespace zir::console {

namespace {

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& raw : lines) {
        // The UID is shown as the reader delivered it; stdout still gets UTF-8.
        const std::string line = platform::RepairUtf8(raw);
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
}

} // namespace

// The test page's full read: the card's lines on stdout, the photo left in zp.bmp.
int RunRead(const shell::CommandLine&) {
    core::TIdCardRec rec;
    bool ok;
    {
        auto lock = core::LockCardOperation();
        ok = core::ReadIdCard(rec);
    }
    if (!ok) {
        platform::ShowUserMessage(rec.ErrorMsg);
        return 1;
    }
    PrintLines(shell::IdCardTestLines(rec));
    std::string photo = platform::CurrentDirectory() + platform::PathSeparator() + "zp.bmp";
    std::string problem = shell::CheckPhotoBitmap(photo);
    if (!problem.empty())
        platform::ShowUserMessage(shell::PhotoLoadFailedMessage(problem));
    return 0;
}

// The test page's UID read: one line, the rule and an empty line, also when it fails.
int RunUid(const shell::CommandLine&) {
    core::TIdCardRec rec;
    bool ok;
    {
        auto lock = core::LockCardOperation();
        ok = core::ReadCardUid(rec);
    }
    PrintLines(shell::UidTestLines(ok, rec));
    return ok ? 0 : 1;
}

} // namespace zir::console
