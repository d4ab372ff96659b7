#pragma once

// A reader library played by the test: each function's result and the bytes it delivers, and a
// log of every call, with the in-process card operations on it. One at a time: the library's
// functions are plain functions.

#include "core/InProcessCardOperations.h"
#include "reader/ReaderApi.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zir::test {

class ScriptedVendor {
  public:
    ScriptedVendor();
    ~ScriptedVendor();
    ScriptedVendor(const ScriptedVendor&) = delete;
    ScriptedVendor& operator=(const ScriptedVendor&) = delete;

    // Every function bound, as the loader binds a complete pair of libraries.
    static reader::TReaderApi Api();
    // The card operations on Api(), or on the table last installed.
    core::TCardOperations& Cards() { return cards_; }
    // The card operations on another table of the script's functions (e.g. Api() with some
    // left out); the same object, so that whoever holds Cards() gets the new table.
    void Install(const reader::TReaderApi& api);
    // Every field function's bytes "v-" and its name, e.g. "v-GetNewPeopleName".
    void NameEveryField();
    // The results and deliveries as new, the field bytes kept; the log emptied.
    void Rescript();

    // Results.
    int32_t Sam = 144, Select = 144, CardType = 1, PhotoRaw = 1, Unpack = 1, Uid = 1;
    int32_t UidCardType = 16;
    // Bytes delivered: by field function name (none: the buffer stays zero), and the UID.
    std::map<std::string, std::string> Fields;
    std::string UidBytes = "0123456789ABCDEF";
    // When not empty, each UID call takes the next one: the holder swapping cards mid-read.
    std::vector<std::string> UidSequence;
    // What a successful unpack leaves in zp.bmp (in the current folder), when WritesPhoto.
    std::string PhotoBytes = "BM-photo";
    bool WritesPhoto = true;
    // How long each UID call stays inside the library, and whether one is inside now.
    std::atomic<int> UidDelayMs{0};
    std::atomic<bool> UidInside{false};
    // Beeps then throw, as a call of a stop's thread can fail with more than the server's errors.
    std::atomic<bool> BeepThrows{false};

    // The log: function names in call order, the ports given, the beeps and whether a UID call
    // was inside the library when each came.
    std::vector<std::string> Calls;
    std::vector<int32_t> Ports;
    std::vector<int32_t> Beeps;
    std::vector<bool> BeepOverlapped;

    int Count(const std::string& name) const;

  private:
    core::InProcessCardOperations cards_{Api()};
};

// The calls of a successful full read of a resident card up to the UID, in order.
extern const std::vector<std::string> kFullReadCommonCalls;

} // namespace zir::test
