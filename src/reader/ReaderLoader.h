#pragma once

#include "reader/ReaderApi.h"

#include <string>

namespace zir::reader {

// File names of the two libraries in a reader folder.
std::string ReaderLibraryFileName();  // SDTAPI.DLL on Windows, libSDTAPI.so elsewhere
std::string DecoderLibraryFileName(); // DLL_File.DLL on Windows, libDLL_File.so elsewhere

// Binds both libraries by name from one folder. Never throws: whatever cannot be loaded or
// bound stays null and is named in TReaderApi::Missing. Libraries stay loaded for the life of
// the process.
TReaderApi LoadReaderLibraries(const std::string& folder);

} // namespace zir::reader
