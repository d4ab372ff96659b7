#pragma once

// Ports for a service under test. A port the system hands out for bind(0) comes from its
// ephemeral range, from which every outgoing connection of a test running beside this one takes
// its local port too: between the probe and the service's own bind, one of them may take it.
// Candidates below those ranges (Linux from 32768, Windows from 49152) are never taken that way.

#include <cstdint>
#include <random>

namespace zir::test {

inline std::uint16_t CandidateServicePort() {
    static std::mt19937 random{std::random_device{}()};
    return static_cast<std::uint16_t>(std::uniform_int_distribution<int>(20000, 32000)(random));
}

} // namespace zir::test
