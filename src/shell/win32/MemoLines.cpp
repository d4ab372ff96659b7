#include "shell/win32/MemoLines.h"

#include "platform/Text.h"

namespace zir::win32 {

MemoLines::MemoLines(std::size_t maxLines) : limit_(maxLines) {}

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
    std::vector<std::wstring> lines;
    std::vector<std::size_t> lengths;
    lines.reserve(pending_.size());
    lengths.reserve(pending_.size());
    for (const std::string& line : pending_) {
        lines.push_back(platform::Utf8ToWide(line) + L"\r\n");
        lengths.push_back(lines.back().size());
    }
    pending_.clear();
    if (edit_ == nullptr)
        return;

    const shell::ServiceLogLimit::Trim trim = limit_.Append(lengths);
    std::wstring text;
    for (std::size_t i = trim.FirstLine; i < lines.size(); ++i)
        text += lines[i];

    SendMessageW(edit_, WM_SETREDRAW, FALSE, 0);
    if (trim.DropLength > 0) {
        SendMessageW(edit_, EM_SETSEL, 0, static_cast<LPARAM>(trim.DropLength));
        SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    }
    int length = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, length, length);
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    length = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, length, length);
    SendMessageW(edit_, WM_SETREDRAW, TRUE, 0);
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
    InvalidateRect(edit_, nullptr, TRUE);
}

} // namespace zir::win32
