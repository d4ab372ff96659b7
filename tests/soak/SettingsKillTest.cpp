// A settings save killed at any moment leaves the settings file whole: always exactly the old or
// the new lines, never a mix, a part, or nothing.

#include "SoakSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace zir::test;

namespace {

std::string SettingsLines(int port, int type) {
    return "WebPort=" + std::to_string(port) + "\r\nWebType=" + std::to_string(type) +
           "\r\nWebCache=1\r\nWebSound=1\r\n";
}

} // namespace

TEST(SettingsKill, ASaveKilledAtRandomMomentsLeavesExactlyTheOldOrTheNewLines) {
    const std::size_t kills = SoakCount(150, 1000);
    TempDir dir;
    const std::string file = dir.File("zir.INI");
    WriteFileBytes(file, SettingsLines(8000, 0));

    // How long a whole save takes here (the quickest of three): the kills fall anywhere in it.
    auto saveTime = std::chrono::microseconds::max();
    for (int port = 8001; port <= 8003; ++port) {
        auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(
            RunZir({"settings", "--config", file, "WebPort=" + std::to_string(port)}).ExitCode, 0);
        saveTime = std::min(saveTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now() - start));
    }
    WriteFileBytes(file, SettingsLines(8001, 0));

    std::mt19937 random(42);
    std::string current = SettingsLines(8001, 0);
    std::size_t killed = 0, oldKept = 0, newWritten = 0, broken = 0;
    std::size_t saves = 0;
    long long limit = saveTime.count();
    for (std::size_t i = 0; killed < kills && i < 3 * kills; ++i, ++saves) {
        const int port = 8002 + static_cast<int>(i % 1000);
        const int type = static_cast<int>(i % 3);
        const std::string next = SettingsLines(port, type);
        auto delay = std::chrono::microseconds(random() % (limit + 1));
        const bool wasKilled =
            RunProgramKilledAfter(ZirPath(),
                                  {"settings", "--config", file, "WebPort=" + std::to_string(port),
                                   "WebType=" + std::to_string(type)},
                                  delay);
        killed += wasKilled;
        std::string now = ReadFileBytes(file);
        // The machine's load changes how long a save takes: the range of delays follows it, wider
        // while kills come before the write, narrower while saves finish before the kill.
        if (!wasKilled)
            limit = limit * 9 / 10;
        else if (now == current)
            limit = limit * 21 / 20 + 1;
        if (now == current) {
            ++oldKept;
        } else if (now == next) {
            ++newWritten;
            current = next;
        } else {
            ++broken;
            ADD_FAILURE() << "after a kill at " << delay.count() << " us: " << now;
            current = now;
        }
    }
    std::printf("settings kill: %zu saves, %zu killed, %zu left the old lines, %zu the new, "
                "%zu broken (a save takes %lld us)\n",
                saves, killed, oldKept, newWritten, broken,
                static_cast<long long>(saveTime.count()));
    EXPECT_EQ(broken, 0u);
    EXPECT_EQ(killed, kills);
    EXPECT_GT(newWritten, 0u);
}
