// The harness that runs the program under test: a program that leaves a process of its own behind
// holding its output (as Wine's first program leaves the services it started) must not hold up
// the test that ran it.

#include "ProgramRun.h"
#include "ServiceProcess.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace zir::test;
using namespace std::chrono_literals;

namespace {

// Prints, leaves a sleeper behind with the same standard streams, and ends.
const std::vector<std::string> kLeavesASleeperBehind = {
    "-c", "sleep 20 & echo started; echo warned >&2; exit 3"};

} // namespace

TEST(ChildOutput, ARunEndsWithTheProgramNotWithWhatItLeftBehind) {
    const auto start = std::chrono::steady_clock::now();
    ProgramResult result = RunProgram("/bin/sh", kLeavesASleeperBehind, "", 60);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(result.ExitCode, 3);
    EXPECT_EQ(result.Out, "started\n");
    EXPECT_EQ(result.Err, "warned\n");
}

TEST(ChildOutput, AServiceIsWaitedForWithAllItsLinesButNotForWhatItLeftBehind) {
    const auto start = std::chrono::steady_clock::now();
    ServiceProcess process("/bin/sh", kLeavesASleeperBehind);
    EXPECT_EQ(process.Wait(10s), 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(process.Lines(), std::vector<std::string>{"started"});
    EXPECT_EQ(process.Stderr(), "warned\n");
    EXPECT_FALSE(process.WaitForLine("more", 0, 1s));
}
