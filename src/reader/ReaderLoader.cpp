// Placeholder until the loader lands.
#include "reader/ReaderLoader.h"

namespace zir::reader {

std::string ReaderLibraryFileName() { return "libSDTAPI.so"; }
std::string DecoderLibraryFileName() { return "libDLL_File.so"; }

TReaderApi LoadReaderLibraries(const std::string& folder) {
    TReaderApi api;
    api.Missing = "reader loader not built yet: " + folder;
    return api;
}

} // namespace zir::reader
