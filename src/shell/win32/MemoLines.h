#pragma once

// A memo that lines are appended to in batches: the service log mmo1 (its newest lines kept)
// and the test page's mmoIdCard. Lines handed over on the UI thread wait until Flush appends
// them all with one edit, so that a burst of log lines costs one change of the control.

#include <cstddef>
#include <string>
#include <vector>
#include <windows.h>

namespace zir::win32 {

class MemoLines {
  public:
    static constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);

    // Keeps at most maxLines lines, dropping the oldest.
    explicit MemoLines(std::size_t maxLines);

    void Attach(HWND edit);

    // UI thread: the line waits for the next Flush.
    void Add(std::string utf8Line);

    // Appends the waiting lines with one edit and drops the oldest lines beyond the limit.
    void Flush();

  private:
    void DropOldestLines();

    HWND edit_ = nullptr;
    std::vector<std::string> pending_;
    std::size_t maxLines_;
};

} // namespace zir::win32
