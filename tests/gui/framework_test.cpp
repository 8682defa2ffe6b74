// The framework layer: message maps and their chaining, default handling, exceptions, CString,
// data exchange and modal dialogs.
#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/afxwin.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"

namespace {

constexpr UINT WM_TEST_PING = WM_USER + 7;
constexpr UINT WM_TEST_THROW = WM_USER + 8;

class CBaseTestWnd : public CWnd {
public:
    int baseTimer = 0;
    int moves = 0;

protected:
    void OnTimer(UINT_PTR) { ++baseTimer; }
    void OnMove(int, int) { ++moves; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTestWnd, CWnd)
    ON_WM_TIMER()
    ON_WM_MOVE()
END_MESSAGE_MAP()

class CDerivedTestWnd : public CBaseTestWnd {
public:
    int pings = 0;
    WPARAM lastW = 0;
    LPARAM lastL = 0;
    CPoint lastDown;
    UINT lastFlags = 0;
    int commands = 0;
    int derivedTimer = 0;
    bool overrideTimer = false;

    BOOL CreateTest(HWND parent) {
        CWnd host;
        host.AttachHandle(parent);
        const BOOL ok = CreateEx(0, AfxRegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW)), "", WS_CHILD | WS_VISIBLE,
                                 CRect(0, 0, 50, 50), &host, 77);
        host.AttachHandle(nullptr);
        return ok;
    }

protected:
    LRESULT OnPing(WPARAM w, LPARAM l) {
        ++pings;
        lastW = w;
        lastL = l;
        return 1234;
    }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    void OnLButtonDown(UINT flags, CPoint pt) {
        lastFlags = flags;
        lastDown = pt;
    }
    void OnCommand42() { ++commands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTestWnd, CBaseTestWnd)
    ON_MESSAGE(WM_TEST_PING, &CDerivedTestWnd::OnPing)
    ON_MESSAGE(WM_TEST_THROW, &CDerivedTestWnd::OnThrow)
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(42, &CDerivedTestWnd::OnCommand42)
END_MESSAGE_MAP()

TEST(MessageMap, TypedHandlersAndChainingToTheBase) {
    guitest::HostWindow host(200, 200);
    CDerivedTestWnd wnd;
    ASSERT_TRUE(wnd.CreateTest(host.hwnd()));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(GetDlgCtrlID(wnd.m_hWnd), 77);

    EXPECT_EQ(wnd.SendMessage(WM_TEST_PING, 5, 6), 1234);
    EXPECT_EQ(wnd.pings, 1);
    EXPECT_EQ(wnd.lastW, 5u);
    EXPECT_EQ(wnd.lastL, 6);

    guitest::SendMouse(wnd.m_hWnd, WM_LBUTTONDOWN, -3, 17, MK_LBUTTON);  // negative coordinates unpacked signed
    EXPECT_EQ(wnd.lastDown.x, -3);
    EXPECT_EQ(wnd.lastDown.y, 17);
    EXPECT_EQ(wnd.lastFlags, static_cast<UINT>(MK_LBUTTON));

    wnd.SendMessage(WM_TIMER, 1, 0);  // handled by the base class's map
    EXPECT_EQ(wnd.baseTimer, 1);
    wnd.MoveWindow(3, 4, 20, 20);
    EXPECT_GE(wnd.moves, 1);

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42, BN_CLICKED), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(42, EN_CHANGE), 0);  // another notification: not this entry
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(43, BN_CLICKED), 0);
    EXPECT_EQ(wnd.commands, 1);

    // Unhandled messages take the default path.
    wnd.SetWindowText("abc");
    EXPECT_EQ(std::string(wnd.GetWindowText()), "abc");
}

TEST(MessageMap, ExceptionsNeverCrossTheWindowProcedure) {
    guitest::HostWindow host(100, 100);
    CDerivedTestWnd wnd;
    ASSERT_TRUE(wnd.CreateTest(host.hwnd()));
    EXPECT_EQ(wnd.SendMessage(WM_TEST_THROW), 0);
    EXPECT_EQ(wnd.SendMessage(WM_TEST_PING), 1234);  // still working
}

TEST(MessageMap, DestroyingTheObjectDestroysItsWindow) {
    guitest::HostWindow host(100, 100);
    HWND hwnd;
    {
        CDerivedTestWnd wnd;
        ASSERT_TRUE(wnd.CreateTest(host.hwnd()));
        hwnd = wnd.m_hWnd;
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST(CString, FormatTrimAndConversions) {
    CString s;
    s.Format("%d年%02d月", 2017, 3);
    EXPECT_EQ(std::string(s), "2017年03月");
    EXPECT_EQ(s.GetLength(), 10);
    CString t("  \t 记事 ");
    t.TrimLeft();
    EXPECT_EQ(std::string(t), "记事 ");
    CString blanks("   ");
    blanks.TrimLeft();
    EXPECT_TRUE(blanks.IsEmpty());
    CString joined = CString("a") + "b";
    joined += "c";
    EXPECT_TRUE(joined == CString("abc"));
    const char* p = joined;
    EXPECT_STREQ(p, "abc");
    EXPECT_EQ(CString(nullptr).GetLength(), 0);
}

// A dialog on the weekly-note template: DDX between edit 1049 and a member.
class CTextDlg : public CDialog {
public:
    CTextDlg() : CDialog(IDD_WEEKLY_NOTE) {}
    CString m_text;
    bool initCalled = false;
    BOOL OnInitDialog() override {
        initCalled = true;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_WEEK_TEXT, m_text); }
};

TEST(Dialog, ModalWithDataExchangeBothWays) {
    CTextDlg dlg;
    dlg.m_text = "旧的";
    std::string shown;
    guitest::OnNextDialog([&](HWND d) {
        shown = guitest::ItemText(d, IDC_WEEK_TEXT);
        SetDlgItemTextA(d, IDC_WEEK_TEXT, "新的提示");
        guitest::ClickButton(d, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(dlg.initCalled);
    EXPECT_EQ(shown, "旧的");
    EXPECT_EQ(std::string(dlg.m_text), "新的提示");
}

TEST(Dialog, CancelKeepsTheMembers) {
    CTextDlg dlg;
    dlg.m_text = "keep";
    guitest::OnNextDialog([](HWND d) {
        SetDlgItemTextA(d, IDC_WEEK_TEXT, "discard");
        guitest::ClickButton(d, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(std::string(dlg.m_text), "keep");
}

TEST(ComboBox, Wrapper) {
    CDialog dlg(IDD_MAIN);
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    CComboBox months;
    months.AttachHandle(dlg.GetDlgItem(IDC_MONTH_BOX));
    for (int m = 1; m <= 12; ++m) {
        CString s;
        s.Format("%d月", m);
        months.AddString(s);
    }
    EXPECT_EQ(months.GetCount(), 12);
    months.SetCurSel(2);
    EXPECT_EQ(months.GetCurSel(), 2);
    EXPECT_EQ(std::string(months.GetLBText(11)), "12月");
    dlg.DestroyWindow();
}

TEST(Font, PointFontHeightFollowsTheScreen) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(110, "宋体"));
    LOGFONTA lf{};
    GetObjectA(font.GetSafeHandle(), sizeof lf, &lf);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfHeight, -MulDiv(110, dpi, 720));
    EXPECT_STREQ(lf.lfFaceName, "宋体");
}

}  // namespace
