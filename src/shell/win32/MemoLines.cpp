#include "shell/win32/MemoLines.h"

#include "platform/Text.h"

namespace zir::win32 {

MemoLines::MemoLines(std::size_t maxLines) : maxLines_(maxLines) {}

void MemoLines::Attach(HWND edit) {
    edit_ = edit;
    // The default limit of a memo (about 32,000 characters) is far below 5,000 log lines.
    SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
}

void MemoLines::Add(std::string utf8Line) {
    pending_.push_back(std::move(utf8Line));
}

void MemoLines::Flush() {
    if (pending_.empty())
        return;
    // A batch longer than the log itself: only its last lines are worth appending.
    const std::size_t first = pending_.size() > maxLines_ ? pending_.size() - maxLines_ : 0;
    std::wstring text;
    for (std::size_t i = first; i < pending_.size(); ++i)
        text += platform::Utf8ToWide(pending_[i]) + L"\r\n";
    pending_.clear();
    if (edit_ == nullptr)
        return;

    SendMessageW(edit_, WM_SETREDRAW, FALSE, 0);
    int length = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, length, length);
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    DropOldestLines();
    length = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, length, length);
    SendMessageW(edit_, WM_SETREDRAW, TRUE, 0);
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    InvalidateRect(edit_, nullptr, TRUE);
}

void MemoLines::DropOldestLines() {
    if (maxLines_ == kUnlimited)
        return;
    // The control's own count and index, not a copy of its text kept here: whatever else
    // changed the text, the cut falls at the start of a line. The text ends with a line break,
    // after which the control counts one more, empty line.
    const auto count = static_cast<std::size_t>(SendMessageW(edit_, EM_GETLINECOUNT, 0, 0));
    const std::size_t lines = count > 0 ? count - 1 : 0;
    if (lines <= maxLines_)
        return;
    const LRESULT cut =
        SendMessageW(edit_, EM_LINEINDEX, static_cast<WPARAM>(lines - maxLines_), 0);
    if (cut <= 0)
        return;
    SendMessageW(edit_, EM_SETSEL, 0, cut);
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
}

} // namespace zir::win32
