// The note popup: size, placement, ownership of its text, pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "grid/note_popup.h"
#include "tests/support/gui_test.h"

namespace {

std::unique_ptr<char[]> Text(const char* s) {
    std::unique_ptr<char[]> p(new char[strlen(s) + 1]);
    strcpy(p.get(), s);
    return p;
}

// Extent of text in the popup's font, measured independently.
SIZE Measure(const char* text) {
    HFONT font = CreateFontA(15, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "宋体");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{}, a{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &s);
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

TEST(PopupOrigin, HangsTwelvePixelsBelowAndCentred) {
    const POINT p = PopupOrigin(POINT{100, 50}, 41);
    EXPECT_EQ(p.x, 82);  // 100 - 20 + 2
    EXPECT_EQ(p.y, 62);
    EXPECT_EQ(PopupOrigin(POINT{0, 0}, 3).x, 1);
}

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
