// Colour label and click label under Wine: fitting, pixels, hover and its end, click messages.
#include <gtest/gtest.h>

#include "tests/support/gui_test.h"
#include "widgets/click_label.h"
#include "widgets/color_label.h"
#include "widgets/user_messages.h"
#include "tests/support/wide_test.h"

namespace {

constexpr COLORREF kBack = RGB(50, 80, 90);
constexpr COLORREF kText = RGB(189, 183, 107);

// A host window wrapped as the labels' parent.
struct Host {
    guitest::HostWindow window{400, 200};
    CWnd wnd;
    Host() { wnd.AttachHandle(window.hwnd()); }
    ~Host() { wnd.AttachHandle(nullptr); }
};


RECT WindowRectIn(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Width and height of text in a point font, measured independently of the label.
SIZE Measure(int pointSize, const char* face, const char* text) {
    CFont font;
    font.CreatePointFont(pointSize, face);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.GetSafeHandle());
    SIZE s{}, a{};
    s = widetest::ExtentGbk(dc, text);
    GetTextExtentPoint32A(dc, "a", 1, &a);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{s.cx, a.cy};
}

TEST(ColorLabel, StaysHiddenWithoutText) {
    Host host;
    CColorLabel label;
    ASSERT_TRUE(label.Create(CRect(10, 10, 110, 40), &host.wnd, 500, kBack, kText, 100, "宋体"));
    guitest::PumpPending();
    EXPECT_FALSE(IsWindowVisible(label.GetSafeHwnd()));
    label.SetText("hidden", 0);
    guitest::PumpPending();
    EXPECT_FALSE(IsWindowVisible(label.GetSafeHwnd()));
    EXPECT_EQ(std::string(label.Text()), "hidden");
}

TEST(ColorLabel, FitsItsWindowToTheText) {
    Host host;
    CColorLabel label;
    ASSERT_TRUE(label.Create(CRect(20, 30, 300, 150), &host.wnd, 501, kBack, kText, 200, "宋体"));
    label.SetText("■", 1);
    label.UpdateWindow();
    guitest::PumpPending();
    const SIZE glyph = Measure(200, "宋体", "■");
    RECT r = WindowRectIn(host.window.hwnd(), label.GetSafeHwnd());
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, glyph.cx);
    EXPECT_EQ(r.bottom - r.top, glyph.cy);
    EXPECT_LT(r.right - r.left, 280);  // shrank

    label.SetText("ab\r\nabcdefgh", 1);
    label.UpdateWindow();
    guitest::PumpPending();
    r = WindowRectIn(host.window.hwnd(), label.GetSafeHwnd());
    EXPECT_EQ(r.right - r.left, Measure(200, "宋体", "abcdefgh").cx);  // the wider line
    EXPECT_EQ(r.bottom - r.top, 2 * Measure(200, "宋体", "a").cy);     // twice the height of "a"
    EXPECT_EQ(label.Rect().right, 20 + (r.right - r.left));
}

TEST(ColorLabel, PixelsAreItsBackgroundAndTextColours) {
    Host host;
    CColorLabel label;
    ASSERT_TRUE(label.Create(CRect(10, 10, 200, 100), &host.wnd, 502, kBack, kText, 240, "宋体"));
    label.SetText("■", 1);
    label.UpdateWindow();
    const guitest::Bitmap shot = guitest::Render(label.GetSafeHwnd());
    guitest::SavePng(shot, "color_label");
    ASSERT_GT(shot.width, 0);
    EXPECT_GT(shot.Count(kBack), 0);
    EXPECT_GT(shot.Count(kText), 0);
    // Every pixel is one of the two colours or a blend of them (antialiased edges).
    EXPECT_GT(shot.Count(kBack) + shot.Count(kText), shot.width * shot.height / 2);

    label.SetTextColor(RGB(0, 0, 255));
    guitest::PumpPending();
    const guitest::Bitmap blue = guitest::Render(label.GetSafeHwnd());
    EXPECT_EQ(blue.Count(kText), 0);
    EXPECT_GT(blue.Count(RGB(0, 0, 255)), 0);
    EXPECT_EQ(blue.width, shot.width);  // the size of its text is kept
}

struct Clickable {
    Host host;
    CClickLabel a, b;
    Clickable() {
        a.Create(CRect(10, 10, 60, 30), &host.wnd, 1044, kBack, kText, 100, "宋体");
        a.SetText("上月", 1);
        a.UpdateWindow();
        RECT ra = WindowRectIn(host.window.hwnd(), a.GetSafeHwnd());
        b.Create(CRect(ra.right, 10, ra.right + 50, 30), &host.wnd, 1045, kBack, kText, 100, "宋体");
        b.SetText("下月", 1);
        b.UpdateWindow();
        guitest::PumpPending();
    }
};

// The hover lasts while the pointer is over the label: the system, asked at its start, reports the
// pointer gone (to anywhere, however fast), and hiding or disabling the label ends it too.
TEST(ClickLabel, HoverTurnsTheTextLightRedAndLeavingRestoresIt) {
    Clickable t;
    RECT ra;
    GetWindowRect(t.a.GetSafeHwnd(), &ra);
    SetCursorPos(ra.left + 2, ra.top + 2);
    guitest::SendMouse(t.a.GetSafeHwnd(), WM_MOUSEMOVE, 2, 2);
    EXPECT_TRUE(t.a.IsHot());
    EXPECT_EQ(t.a.TextColor(), kHotTextColor);
    TRACKMOUSEEVENT asked{};
    asked.cbSize = sizeof asked;
    asked.dwFlags = TME_QUERY;
    ASSERT_TRUE(TrackMouseEvent(&asked));
    EXPECT_EQ(asked.hwndTrack, t.a.GetSafeHwnd());
    EXPECT_TRUE(asked.dwFlags & TME_LEAVE);
    t.a.UpdateWindow();
    const guitest::Bitmap hot = guitest::Render(t.a.GetSafeHwnd());
    guitest::SavePng(hot, "click_label_hot");
    EXPECT_GT(hot.Count(kHotTextColor), 0);

    SetCursorPos(ra.left + 600, ra.top + 500);  // off the host window, with no move sent to the label
    EXPECT_TRUE(guitest::PumpUntil([&] { return !t.a.IsHot(); }, 3000));
    EXPECT_EQ(t.a.TextColor(), kText);
    t.a.UpdateWindow();
    const guitest::Bitmap left = guitest::Render(t.a.GetSafeHwnd());
    guitest::SavePng(left, "click_label_left");
    EXPECT_EQ(left.Count(kHotTextColor), 0);
    EXPECT_GT(left.Count(kText), 0);

    for (int end = 0; end < 2; ++end) {  // hidden, then disabled
        guitest::SendMouse(t.b.GetSafeHwnd(), WM_MOUSEMOVE, 3, 3);
        ASSERT_TRUE(t.b.IsHot());
        end == 0 ? ShowWindow(t.b.GetSafeHwnd(), SW_HIDE) : EnableWindow(t.b.GetSafeHwnd(), FALSE);
        EXPECT_FALSE(t.b.IsHot()) << end;
        EXPECT_EQ(t.b.TextColor(), kText) << end;
        t.b.ShowWindow(SW_SHOW);
    }
}

TEST(ClickLabel, ColourSetWhileHotIsReplacedByTheSavedColour) {
    Clickable t;
    t.a.SetTextColor(RGB(1, 2, 3));  // while normal: the new colour returns after a hover
    guitest::SendMouse(t.a.GetSafeHwnd(), WM_MOUSEMOVE, 2, 2);
    SendMessageA(t.a.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(t.a.TextColor(), RGB(1, 2, 3));

    guitest::SendMouse(t.a.GetSafeHwnd(), WM_MOUSEMOVE, 2, 2);
    t.a.SetTextColor(RGB(9, 9, 9));  // while hot: lost when the hover ends
    SendMessageA(t.a.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(t.a.TextColor(), RGB(1, 2, 3));
}

// A click keeps the hover (the pointer is still there) until the pointer leaves.
TEST(ClickLabel, ReleasePostsExactlyOneClickWithItsId) {
    Clickable t;
    guitest::SendMouse(t.b.GetSafeHwnd(), WM_MOUSEMOVE, 3, 3);
    guitest::SendMouse(t.b.GetSafeHwnd(), WM_LBUTTONDOWN, 3, 3, MK_LBUTTON);
    guitest::SendMouse(t.b.GetSafeHwnd(), WM_LBUTTONUP, 3, 3);
    guitest::PumpPending();
    ASSERT_EQ(t.host.window.posted.size(), 1u);
    EXPECT_EQ(t.host.window.posted[0].message, WM_LABEL_CLICKED);
    EXPECT_EQ(t.host.window.posted[0].message, 0x0465u);
    EXPECT_EQ(t.host.window.posted[0].wParam, 1045u);
    EXPECT_EQ(t.host.window.posted[0].lParam, 0);
    EXPECT_TRUE(t.b.IsHot());
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageA(t.b.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(t.b.TextColor(), kText);
}

}  // namespace
