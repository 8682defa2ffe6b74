// Every resource of the program loads, and the templates' controls have their ids and texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/wide_test.h"

namespace {

INT_PTR CALLBACK NoDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct Item {
    int id;
    const char* cls;   // lower case
    const char* text;  // GBK
};

struct Template {
    int id;
    const char* caption;
    std::vector<Item> items;
};

std::string ClassOf(HWND hwnd) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    std::string s(cls);
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(Resources, EveryDialogTemplateLoadsWithItsControls) {
    const Template templates[] = {
        {IDD_MAIN, "", {{IDC_MONTH_BOX, "combobox", ""}, {IDC_YEAR_BOX, "combobox", ""},
                        {IDC_MAIN_HIDE, "button", "-"}, {IDC_MAIN_CLOSE, "button", "x"}}},
        {IDD_EXIT_PROMPT, "提示", {{IDCANCEL, "button", "点错了，返回"}, {IDC_EXIT_END, "button", "结束程序"},
                                   {IDC_EXIT_UNINSTALL, "button", "卸载软件"}}},
        {IDD_DAY_NOTE, "输入记事", {{IDCANCEL, "button", "取消"}, {IDC_DAY_TEXT, "edit", ""},
                                   {IDC_SOLAR_TEXT, "edit", ""}, {IDC_LUNAR_TEXT, "edit", ""}, {IDOK, "button", "确定"}}},
        {IDD_NOTE_POPUP, "", {}},
        {IDD_MEMO_PAD, "", {{IDC_MEMO_HIDE, "button", "-"}, {IDC_MEMO_EDIT, "edit", ""}}},
        {IDD_MEMO_TAB, "", {{IDC_TAB_BUTTON, "button", "本"}}},
        {IDD_CALENDAR_TAB, "", {{IDC_TAB_BUTTON, "button", "历"}}},
        {IDD_WEEKLY_NOTE, "每周提示", {{IDCANCEL, "button", "取消"}, {IDC_WEEK_TEXT, "edit", ""}, {IDOK, "button", "确定"}}},
        {IDD_FIND, "查找", {{IDC_FIND_TEXT, "edit", ""}, {IDC_FIND_LIST, "listbox", ""}, {IDC_FIND_STATUS, "static", ""}}},
    };
    for (const Template& t : templates) {
        HWND dlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(t.id), nullptr, NoDialogProc, 0);
        ASSERT_NE(dlg, nullptr) << "template " << t.id;
        char caption[64] = {};
        widetest::GetWindowTextGbk(dlg, caption, sizeof caption);
        EXPECT_EQ(std::string(caption), t.caption) << t.id;
        int controls = 0;
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++controls;
        int statics = 0;
        for (const Item& item : t.items) {
            HWND c = GetDlgItem(dlg, item.id);
            ASSERT_NE(c, nullptr) << t.id << "/" << item.id;
            EXPECT_EQ(ClassOf(c), item.cls) << t.id << "/" << item.id;
            if (std::string(item.cls) != "edit" && std::string(item.cls) != "combobox") {
                EXPECT_EQ(guitest::ItemText(dlg, item.id), item.text) << t.id << "/" << item.id;
            }
        }
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            statics += GetDlgCtrlID(c) == IDC_STATIC || GetDlgCtrlID(c) == 0xFFFF ? 1 : 0;
        EXPECT_EQ(controls - statics, static_cast<int>(t.items.size())) << t.id;
        DestroyWindow(dlg);
    }
}

TEST(Resources, TemplateDetails) {
    HWND main = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, NoDialogProc, 0);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(GetWindowLongA(main, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(main, IDC_MAIN_CLOSE), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(main, IDC_YEAR_BOX), GWL_STYLE) & 3, CBS_DROPDOWN);
    DestroyWindow(main);

    HWND day = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DAY_NOTE), nullptr, NoDialogProc, 0);
    ASSERT_NE(day, nullptr);
    const LONG edit = GetWindowLongA(GetDlgItem(day, IDC_DAY_TEXT), GWL_STYLE);
    EXPECT_TRUE(edit & ES_MULTILINE);
    EXPECT_TRUE(edit & ES_WANTRETURN);
    EXPECT_FALSE(edit & ES_AUTOHSCROLL);  // wraps its lines
    EXPECT_EQ(GetWindowLongA(GetDlgItem(day, IDOK), GWL_STYLE) & 0xF, BS_PUSHBUTTON);  // not a default button
    EXPECT_EQ(guitest::ItemText(day, IDC_STATIC), "2.16版");
    DestroyWindow(day);

    HWND popup = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_NOTE_POPUP), nullptr, NoDialogProc, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(IsWindowVisible(popup));
    EXPECT_FALSE(GetWindowLongA(popup, GWL_STYLE) & (WS_CAPTION | WS_BORDER));
    EXPECT_EQ(GetWindow(popup, GW_CHILD), nullptr);
    DestroyWindow(popup);

    HWND memo = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MEMO_PAD), nullptr, NoDialogProc, 0);
    ASSERT_NE(memo, nullptr);
    HWND label = nullptr;
    for (HWND c = GetWindow(memo, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "static") label = c;
    ASSERT_NE(label, nullptr);
    char text[32] = {};
    widetest::GetWindowTextGbk(label, text, sizeof text);
    EXPECT_STREQ(text, "记事小本");
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(memo, IDC_MEMO_EDIT), GWL_STYLE) & WS_TABSTOP);
    DestroyWindow(memo);
}

TEST(Resources, MenuIconVersionAndManifest) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_POPUP_MENU));
    ASSERT_NE(menu, nullptr);
    char name[32] = {};
    GetMenuStringA(menu, 0, name, sizeof name, MF_BYPOSITION);
    EXPECT_STREQ(name, "popup");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_UNINSTALL));
    GetMenuStringA(popup, 0, name, sizeof name, MF_BYPOSITION);
    EXPECT_STREQ(name, "卸载");
    DestroyMenu(menu);

    for (int size : {16, 32, 48}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)), nullptr);  // manifest
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16)), nullptr);  // version
}

// The program declares itself aware of each monitor's scale (Wine treats every program as aware,
// so the text is what can be checked): per monitor v2, else per monitor, else the system's.
TEST(Resources, ProgramManifestDeclaresPerMonitorDpiAwareness) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string exe(path);
    exe = exe.substr(0, exe.find_last_of('\\')) + "\\..\\..\\Vestrel.exe";  // tests/res/ -> the build
    HMODULE program = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << exe;
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(program, found)));
    const std::string manifest(data, SizeofResource(program, found));
    for (const char* want : {">true/pm</dpiAware>", ">PerMonitorV2, PerMonitor</dpiAwareness>",
                             "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                             "http://schemas.microsoft.com/SMI/2016/WindowsSettings"})
        EXPECT_NE(manifest.find(want), std::string::npos) << want;
    FreeLibrary(program);
}

}  // namespace
