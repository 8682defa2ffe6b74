// The note popup: size, placement inside the work area, long notes, z-order, ownership of its
// text, pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "grid/note_popup.h"
#include "tests/support/gui_test.h"
#include "tests/support/wide_test.h"

namespace {

std::unique_ptr<char[]> Text(const char* s) {
    std::unique_ptr<char[]> p(new char[strlen(s) + 1]);
    strcpy(p.get(), s);
    return p;
}

// Extent of text in the popup's font, measured independently.
SIZE Measure(const char* text) {
    HFONT font = CreateFontW(15, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, L"宋体");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{}, a{};
    s = widetest::ExtentGbk(dc, text);
    GetTextExtentPoint32A(dc, "a", 1, &a);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return SIZE{s.cx, a.cy};
}

struct PopupFixture : ::testing::Test {
    guitest::HostWindow host{300, 200};
    CWnd owner;
    CNotePopup popup;
    void SetUp() override {
        owner.AttachHandle(host.hwnd());
        ASSERT_TRUE(popup.Create(&owner));
        EXPECT_FALSE(IsWindowVisible(popup.GetSafeHwnd()));
    }
    void TearDown() override { owner.AttachHandle(nullptr); }
    RECT Window() const {
        RECT r;
        GetWindowRect(popup.GetSafeHwnd(), &r);
        return r;
    }
};

TEST_F(PopupFixture, OneLineIsAsWideAsTheTextAndOneLineHigh) {
    const char* text = "记事一";
    popup.SetText(Text(text), static_cast<int>(strlen(text)), POINT{100, 50});
    const SIZE want = Measure(text);
    const RECT r = Window();
    EXPECT_EQ(r.right - r.left, want.cx);
    EXPECT_EQ(r.bottom - r.top, want.cy);
    EXPECT_EQ(r.left, 100 - want.cx / 2 + 2);
    EXPECT_EQ(r.top, 62);
}

TEST_F(PopupFixture, ThreeNotesAreThreeLinesHighAndAsWideAsTheLongest) {
    const char* text = "周一\r\n一年一度的记事\r\n农历";
    popup.SetText(Text(text), static_cast<int>(strlen(text)), POINT{200, 100});
    const RECT r = Window();
    EXPECT_EQ(r.right - r.left, Measure("一年一度的记事").cx);
    EXPECT_EQ(r.bottom - r.top, 3 * Measure("a").cy);
    EXPECT_EQ(popup.TextLength(), static_cast<int>(strlen(text)));

    const char* trailing = "a\r\n";  // a text ending in CR LF counts an empty last line
    popup.SetText(Text(trailing), 3, POINT{200, 100});
    EXPECT_EQ(popup.TextHeight(), 2 * Measure("a").cy);
}

// Long notes near the screen's edges: a popup at most 40 Chinese characters wide, whole inside the
// work area, the 32,767-character one cut with "…"; shown, it is topmost and leaves the focus alone.
TEST_F(PopupFixture, LongNotesStayWholeOnTheScreen) {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int wide = Measure("中").cx, line = Measure("a").cy;
    SetFocus(host.hwnd());
    for (int chars : {3000, 32767}) {
        std::string text;
        for (int i = 0; i < chars; ++i) text += i % 50 == 49 ? "。" : "记";
        for (POINT pt : {POINT{work.left + 5, work.top + 5}, POINT{work.right - 5, work.bottom - 5}}) {
            popup.SetText(Text(text.c_str()), static_cast<int>(text.size()), pt);
            popup.Show();
            const RECT r = Window();
            EXPECT_TRUE(IsWindowVisible(popup.GetSafeHwnd())) << chars;
            EXPECT_LE(r.right - r.left, 40 * wide) << chars;
            EXPECT_GE(r.right - r.left, 39 * wide) << chars;
            EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
                << chars << " at " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
            EXPECT_GT(r.bottom - r.top, (work.bottom - work.top) - 2 * line) << chars;  // as tall as the screen allows
            const std::string& shown = popup.ShownText();
            EXPECT_EQ(shown.substr(shown.size() - 2), "…") << chars;
            EXPECT_TRUE(GetWindowLongA(popup.GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_EQ(GetFocus(), host.hwnd());
        }
    }
    guitest::SavePng(guitest::CaptureWindow(popup.GetSafeHwnd()), "note_popup_long");
    popup.ShowWindow(SW_HIDE);
}

TEST_F(PopupFixture, NullTextHoldsTheEmptyString) {
    popup.SetText(Text("x"), 1, POINT{10, 10});
    popup.SetText(nullptr, 0, POINT{10, 10});
    EXPECT_STREQ(popup.Text(), "");
    EXPECT_EQ(popup.TextLength(), 0);
    popup.SetText(nullptr, 0, POINT{10, 10});  // and frees nothing the next time
    EXPECT_STREQ(popup.Text(), "");
}

TEST_F(PopupFixture, PaintsYellowWithRedText) {
    const char* text = "■■ 记事";
    popup.SetText(Text(text), static_cast<int>(strlen(text)), POINT{150, 80});
    popup.ShowWindow(SW_SHOWNOACTIVATE);
    popup.UpdateWindow();
    const guitest::Bitmap shot = guitest::Render(popup.GetSafeHwnd());
    guitest::SavePng(shot, "note_popup");
    EXPECT_EQ(shot.width, popup.TextWidth());
    EXPECT_GT(shot.Count(RGB(255, 255, 0)), shot.width * shot.height / 3);
    EXPECT_GT(shot.Count(RGB(255, 0, 0)), 0);
    popup.ShowWindow(SW_HIDE);
}

TEST_F(PopupFixture, NewTextsFreeTheOldOnes) {
    const size_t before = guitest::PrivateBytes();
    for (int i = 0; i < 10000; ++i) {
        std::unique_ptr<char[]> text(new char[2001]);
        memset(text.get(), 'x', 2000);
        text[2000] = '\0';
        popup.SetText(std::move(text), 2000, POINT{10, 10});
    }
    const size_t after = guitest::PrivateBytes();
    // 10,000 texts of 2,000 bytes would hold 20 MB if none were freed.
    EXPECT_LT(after - std::min(after, before), 4u * 1024u * 1024u);
}

}  // namespace
