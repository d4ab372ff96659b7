#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace zir::test {

TempDir::TempDir() {
    // mkdtemp: a new folder only its owner may enter.
    std::string pattern = (std::filesystem::temp_directory_path() / "zir-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

} // namespace zir::test
