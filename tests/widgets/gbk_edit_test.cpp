// An edit kept to GBK takes what GBK holds and refuses, whole, typing or pasting of anything else.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "widgets/gbk_edit.h"
#include "tests/support/wide_test.h"

namespace {

std::string TextOf(HWND edit) {
    char text[256] = {};
    widetest::GetWindowTextGbk(edit, text, sizeof text);
    return text;
}

void PutOnClipboard(HWND owner, const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(data), text, bytes);
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
}

TEST(GbkEdit, TypingAndPastingOutsideGbkDoNotGoIn) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, 200, 50, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(edit, nullptr);
    KeepEditToGbk(edit);
    struct { const wchar_t* typed; bool paste; const char* after; } rows[] = {
        {L"a", false, "a"},
        {L"\u4e2d", false, "a中"},            // 中 is GBK
        {L"\ud55c", false, "a中"},            // Hangul 한 is not
        {L"\U0001F600", false, "a中"},      // an emoji: two surrogates in UTF-16
        {L"?", false, "a中?"},                // a real question mark still types
        {L"b\u6587c", true, "a中?b文c"},
        {L"x\U0001F600y", true, "a中?b文c"},  // refused whole
    };
    for (const auto& r : rows) {
        if (r.paste) {
            PutOnClipboard(edit, r.typed);
            SendMessageW(edit, WM_PASTE, 0, 0);
        } else {
            for (const wchar_t* c = r.typed; *c; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
        }
        EXPECT_EQ(TextOf(edit), r.after);
    }
    DestroyWindow(edit);
}

}  // namespace
