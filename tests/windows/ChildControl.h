#pragma once

// A control by its ID anywhere below a window (on whichever tab page it sits), for the programs
// that drive zir's windows from outside.

#include <windows.h>

namespace zir::test {

namespace detail {

struct ChildControlSearch {
    int Id;
    HWND Found;
};

inline BOOL CALLBACK MatchChildControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ChildControlSearch*>(data);
    if (GetDlgCtrlID(child) != search->Id)
        return TRUE;
    search->Found = child;
    return FALSE;
}

} // namespace detail

inline HWND ChildControl(HWND top, int id) {
    detail::ChildControlSearch search{id, nullptr};
    EnumChildWindows(top, detail::MatchChildControl, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

} // namespace zir::test
