#include "ProgramRun.h"

#include <stdexcept>

namespace zir::test {

std::string SystemBase64(const std::string& path) {
    ProgramResult result = RunProgram("/usr/bin/base64", {"-w0", path});
    if (result.ExitCode != 0)
        throw std::runtime_error("base64 failed: " + result.Err);
    return result.Out;
}

} // namespace zir::test
