#include "ProcessProbe.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace zir::test {

namespace {

std::optional<std::size_t> CountEntries(const std::string& folder) {
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        ++count;
    if (error)
        return std::nullopt;
    return count;
}

// A "Name:   1234 kB" line of /proc/PID/status.
std::optional<std::size_t> StatusKilobytes(long pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0)
            return std::stoull(line.substr(name.size() + 1)) * 1024;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::size_t> ProcessThreadCount(long pid) {
    return CountEntries("/proc/" + std::to_string(pid) + "/task");
}

std::optional<std::size_t> ProcessDescriptorCount(long pid) {
    return CountEntries("/proc/" + std::to_string(pid) + "/fd");
}

std::optional<std::size_t> ProcessResidentBytes(long pid) {
    return StatusKilobytes(pid, "VmRSS");
}

std::optional<std::size_t> ProcessPeakResidentBytes(long pid) {
    return StatusKilobytes(pid, "VmHWM");
}

bool RaiseOpenFileLimit(std::size_t count) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    if (limit.rlim_cur >= count)
        return true;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY || limit.rlim_max >= count
                         ? static_cast<rlim_t>(count)
                         : limit.rlim_max;
    return setrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur >= count;
}

} // namespace zir::test
