#include "TestSupport.h"

#include "platform/Paths.h"
#include "reader/ReaderLoader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zir::test {

// TempDir::TempDir() is the system's own: posix/TempDir.cpp, win32/TempDir.cpp.

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(platform::PathFromUtf8(path_), ignored);
}

std::string TempDir::File(const std::string& name) const {
    return path_ + platform::PathSeparator() + name;
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::string path = File(name);
    WriteFileBytes(path, bytes);
    return path;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(platform::PathFromUtf8(path), std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(platform::PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) {
    return std::filesystem::exists(platform::PathFromUtf8(path));
}

std::string ZirPath() {
    const char* other = std::getenv("ZIR_PROGRAM");
    return other != nullptr && *other != '\0' ? other : std::string(ZIR_BIN_DIR) + "/zir";
}

std::string SimulatorDir() {
    return ZIR_SIMULATOR_DIR;
}

std::string SimulatedReaderLibrary() {
    return SimulatorDir() + "/" + reader::ReaderLibraryFileName();
}

std::string SimulatedDecoderLibrary() {
    return SimulatorDir() + "/" + reader::DecoderLibraryFileName();
}

bool IsWindowsProgram(const std::string& program) {
    return program.size() > 4 && program.compare(program.size() - 4, 4, ".exe") == 0;
}

bool TestingWindowsProgram() {
    return IsWindowsProgram(ZirPath());
}

} // namespace zir::test
