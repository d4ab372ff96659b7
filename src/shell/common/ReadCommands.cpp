#include "shell/common/Commands.h"

#include "platform/Utf8Codec.h"
#include "shell/common/ProgramStart.h"
#include "shell/common/TestRead.h"

#include <string>
#include <vector>

namespace zir::shell {

namespace {

void PrintLines(const TCommandOutput& output, const std::vector<std::string>& lines) {
    std::string text;
    // The UID is shown as the reader delivered it; the output still gets UTF-8.
    for (const std::string& line : lines)
        text += platform::RepairUtf8(line) + "\n";
    output.Out(text);
}

// Beside the running service the reader is its own: no call, and the user is told where to ask.
int RefuseBesideService(const std::string& command, const TCommandOutput& output) {
    output.Err("zir " + command + ": the service is running and may be using the reader, so " +
               "nothing was read; read the card through it: " + RunningServiceUrl() +
               " (on Windows also its test page 解码测试)\n");
    return 1;
}

} // namespace

// The test page's full read: the card's lines on stdout, the photo left in zp.bmp; what the page
// shows in a box goes to stderr.
int RunReadCommand(const CommandLine&, const TCommandOutput& output, core::TCardOperations* cards) {
    if (!cards)
        return RefuseBesideService("read", output);
    const TIdCardTestRead page = RunIdCardTestRead(*cards);
    PrintLines(output, page.Lines);
    if (!page.Message.empty())
        output.Err(page.Message + "\n");
    return page.Succeeded ? 0 : 1;
}

// The test page's UID read: one line, the rule and an empty line, also when it fails.
int RunUidCommand(const CommandLine&, const TCommandOutput& output, core::TCardOperations* cards) {
    if (!cards)
        return RefuseBesideService("uid", output);
    const TUidTestRead page = RunUidTestRead(*cards);
    PrintLines(output, page.Lines);
    return page.Succeeded ? 0 : 1;
}

} // namespace zir::shell
