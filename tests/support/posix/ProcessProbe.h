#pragma once

// What a running program holds, read from outside (Linux: /proc), and the descriptor limit of
// the test itself, for tests that open a thousand connections.

#include <cstddef>
#include <optional>

namespace zir::test {

// Threads and open descriptors of a process, or nullopt when it cannot be read.
std::optional<std::size_t> ProcessThreadCount(long pid);
std::optional<std::size_t> ProcessDescriptorCount(long pid);
// Resident memory now, and the most it has been, in bytes.
std::optional<std::size_t> ProcessResidentBytes(long pid);
std::optional<std::size_t> ProcessPeakResidentBytes(long pid);

// Raises this process's limit of open descriptors to at least count where the hard limit lets
// it; programs started afterwards inherit it. True when the limit is now at least count.
bool RaiseOpenFileLimit(std::size_t count);

} // namespace zir::test
