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
        const BOOL ok = CreateEx(0, AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW)), "", WS_CHILD | WS_VISIBLE,
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
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.GetSafeHwnd()), &wnd);
    EXPECT_EQ(GetDlgCtrlID(wnd.GetSafeHwnd()), 77);

    EXPECT_EQ(wnd.SendMessage(WM_TEST_PING, 5, 6), 1234);
    EXPECT_EQ(wnd.pings, 1);
    EXPECT_EQ(wnd.lastW, 5u);
    EXPECT_EQ(wnd.lastL, 6);

    guitest::SendMouse(wnd.GetSafeHwnd(), WM_LBUTTONDOWN, -3, 17, MK_LBUTTON);  // negative coordinates unpacked signed
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
        hwnd = wnd.GetSafeHwnd();
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
    int m_editId = IDC_WEEK_TEXT;
    bool initCalled = false;
    BOOL OnInitDialog() override {
        initCalled = true;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, m_editId, m_text); }
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

// An exchange with a control that is not there fails: "确定" leaves the dialog open.
TEST(Dialog, AFailedExchangeKeepsTheDialogOpen) {
    CTextDlg dlg;
    dlg.m_editId = 4321;
    bool stillOpen = false;
    guitest::OnNextDialog([&](HWND d) {
        guitest::ClickButton(d, IDOK);
        stillOpen = IsWindow(d) != FALSE;
        guitest::ClickButton(d, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillOpen);
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

namespace {

// The remaining typed entries: WM_CREATE (and its failure), WM_SHOWWINDOW, WM_SYSCOMMAND,
// WM_QUERYDRAGICON, WM_DESTROY, and the notifications of template controls.
class CEntriesWnd : public CWnd {
public:
    bool failCreate = false;
    int created = 0, shown = 0, destroyed = 0, sysCommands = 0;
    UINT lastSysCommand = 0;

protected:
    int OnCreate(LPCREATESTRUCT cs) {
        ++created;
        if (failCreate) return -1;  // creation failed
        return CWnd::OnCreate(cs);
    }
    void OnShowWindow(BOOL show, UINT status) {
        shown += show ? 1 : 0;
        CWnd::OnShowWindow(show, status);
    }
    void OnSysCommand(UINT id, LPARAM l) {
        ++sysCommands;
        lastSysCommand = id;
        (void)l;  // swallowed: no default handling
    }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(static_cast<INT_PTR>(0x1234)); }
    void OnDestroy() {
        ++destroyed;
        CWnd::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEntriesWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SHOWWINDOW()
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TEST(MessageMap, CreateShowSysCommandDragIconDestroy) {
    const char* cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW));
    CEntriesWnd failing;
    failing.failCreate = true;
    EXPECT_FALSE(failing.CreateEx(0, cls, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(failing.created, 1);
    EXPECT_EQ(failing.GetSafeHwnd(), nullptr);

    CEntriesWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, cls, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(wnd.created, 1);
    wnd.ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_EQ(wnd.shown, 1);
    wnd.SendMessage(WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_EQ(wnd.sysCommands, 1);
    EXPECT_EQ(wnd.lastSysCommand, static_cast<UINT>(SC_KEYMENU));
    EXPECT_EQ(wnd.SendMessage(WM_QUERYDRAGICON), 0x1234);
    HWND hwnd = wnd.GetSafeHwnd();
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.destroyed, 1);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);  // unbound at WM_NCDESTROY
}

// A modeless dialog on the main template: selection changes of its boxes, the "-" button, and an
// edit of the memo pad template bound through SubclassDlgItem.
class CNotifyDlg : public CDialog {
public:
    CNotifyDlg() : CDialog(IDD_MAIN) {}
    int selChanges = 0, hides = 0;

protected:
    void OnBoxChange() { ++selChanges; }
    void OnHide() { ++hides; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_MONTH_BOX, &CNotifyDlg::OnBoxChange)
    ON_CBN_SELCHANGE(IDC_YEAR_BOX, &CNotifyDlg::OnBoxChange)
    ON_BN_CLICKED(IDC_MAIN_HIDE, &CNotifyDlg::OnHide)
END_MESSAGE_MAP()

class CMemoDlg : public CDialog {
public:
    CMemoDlg() : CDialog(IDD_MEMO_PAD) {}
    int changes = 0;

protected:
    void OnEditChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMemoDlg, CDialog)
    ON_EN_CHANGE(IDC_MEMO_EDIT, &CMemoDlg::OnEditChange)
END_MESSAGE_MAP()

// An edit control whose messages pass through a message map of its own.
class CCountingEdit : public CWnd {
public:
    int chars = 0;

protected:
    LRESULT OnChar(WPARAM, LPARAM) {
        ++chars;
        return Default();  // the edit control still types the character
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingEdit, CWnd)
    ON_MESSAGE(WM_CHAR, &CCountingEdit::OnChar)
END_MESSAGE_MAP()

TEST(Dialog, ModelessNotificationsAndSubclassedControls) {
    CNotifyDlg main;
    ASSERT_TRUE(main.Create(IDD_MAIN));
    CComboBox months;
    months.AttachHandle(main.GetDlgItem(IDC_MONTH_BOX));
    months.AddString("1月");
    months.AddString("2月");
    // A user's choice in the list sends CBN_SELCHANGE; simulate the notification the box sends.
    main.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MONTH_BOX, CBN_SELCHANGE), reinterpret_cast<LPARAM>(months.GetSafeHwnd()));
    main.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_YEAR_BOX, CBN_SELCHANGE), 0);
    EXPECT_EQ(main.selChanges, 2);
    guitest::ClickButton(main.GetSafeHwnd(), IDC_MAIN_HIDE);
    EXPECT_EQ(main.hides, 1);
    main.DestroyWindow();

    CMemoDlg memo;
    ASSERT_TRUE(memo.Create(IDD_MEMO_PAD));
    CCountingEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_MEMO_EDIT, &memo));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit.GetSafeHwnd()), &edit);
    edit.SendMessage(WM_CHAR, 'a', 1);
    edit.SendMessage(WM_CHAR, 'b', 1);
    EXPECT_EQ(edit.chars, 2);
    EXPECT_EQ(std::string(edit.GetWindowText()), "ab");  // the control's own procedure still ran
    EXPECT_GE(memo.changes, 2);                          // and EN_CHANGE reached the dialog's map
    EXPECT_FALSE(CMemoDlg().Create(9999));               // no such template
    memo.DestroyWindow();
}

TEST(ColorDialog, RunsModallyWithSharedCustomColours) {
    CColorDialog::CustomColors()[0] = RGB(1, 2, 3);
    CColorDialog dlg(RGB(10, 20, 30));
    EXPECT_EQ(dlg.m_cc.lpCustColors, CColorDialog::CustomColors());
    guitest::OnNextDialog([](HWND d) { guitest::ClickButton(d, IDOK); });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetColor(), RGB(10, 20, 30));
    CColorDialog cancelled(RGB(5, 5, 5));
    guitest::OnNextDialog([](HWND d) { guitest::ClickButton(d, IDCANCEL); });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(CColorDialog::CustomColors()[0], RGB(1, 2, 3));
}

}  // namespace
