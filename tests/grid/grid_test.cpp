// The month grid under Wine: pixels of rendered months, note marks, the popup across a row, the
// two note dialogs end to end (bytes on disk), a failed save, and the GDI objects of a paint.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "grid/month_grid.h"
#include "notes/memo_entry_dlg.h"
#include "notes/month_notes.h"
#include "notes/note_opener.h"
#include "notes/note_files.h"
#include "platform/handles.h"
#include "res/resource.h"
#include "tests/support/gui_test.h"
#include "tests/support/temp_tree.h"
#include "widgets/user_messages.h"
#include "tests/support/wide_test.h"

namespace {

using guitest::Bitmap;

std::string ReadNote(const char* relative) {
    const FileBytes f = ReadWholeFile(NotePath(relative));
    return f.data ? std::string(f.data.get(), static_cast<size_t>(f.size)) : std::string("<none>");
}

bool NoteExists(const char* relative) {
    return GetFileAttributesW(testtree::W(NotePath(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One list record: index, length, colour word, text.
std::string Record(int index, const std::string& text, uint32_t colour = 0) {
    std::string r;
    for (uint32_t v : {static_cast<uint32_t>(index), static_cast<uint32_t>(text.size())}) {
        r += static_cast<char>(v & 0xFF);
        r += static_cast<char>((v >> 8) & 0xFF);
    }
    for (int i = 0; i < 4; ++i) r += static_cast<char>((colour >> (8 * i)) & 0xFF);
    return r + text;
}
const std::string kTag("\x64\x00", 2);

// Pixels of one colour inside the cell of a day.
int CountInCell(const Bitmap& b, const CMonthGrid& grid, int day, COLORREF color) {
    POINT o;
    grid.GetCellOrigin(day, &o);
    int n = 0;
    for (int y = o.y + 1; y < o.y + 1 + kCellHeight; ++y)
        for (int x = o.x; x < o.x + kCellWidth; ++x) n += b.At(x, y) == color ? 1 : 0;
    return n;
}

// Pixels of one colour, or (unlike = true) of any other colour, in a box of a day's cell.
int CountInBox(const Bitmap& b, const CMonthGrid& grid, int day, const CellBox& box, COLORREF color, bool unlike = false) {
    POINT o;
    grid.GetCellOrigin(day, &o);
    int n = 0;
    for (int y = o.y + 1 + box.top; y < o.y + 1 + box.bottom; ++y)
        for (int x = o.x + box.left; x < o.x + box.right; ++x) n += (b.At(x, y) == color) != unlike ? 1 : 0;
    return n;
}

class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = testtree::FreshFolder("vestrel-grid", ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(SetUpNoteRoot(root_.c_str()));
        owner_.AttachHandle(host_.hwnd());
        ASSERT_TRUE(grid_.Create(CRect(0, 22, 363, 258), &owner_, IDC_MONTH_GRID));
        // Clicks open the note dialogs as the main window has them opened.
        grid_.SetClickHandlers({[this](int day) { opener_.OpenDay(&owner_, day); },
                                [this](int weekday) { opener_.OpenWeekly(&owner_, weekday); }});
    }
    void TearDown() override {
        grid_.DestroyWindow();
        owner_.AttachHandle(nullptr);
        testtree::RemoveTree(root_);
    }
    // Shows a month with its notes, read once, as the main window does.
    void ShowMonth(int year, int month) {
        MonthLayout layout;
        LayOutMonth(year, month, &layout);
        lists_.Open(layout);
        grid_.Show(layout, lists_.View());
    }
    void PutList(int year, int month, int index, const char* text, uint32_t colour = 0) {
        NoteList l;
        l.OpenDated(year, month);
        ASSERT_TRUE(l.SetEntry(index, text, static_cast<int>(strlen(text)), colour));
    }
    // A yearly note: open is &NoteList::OpenSolarYearly or &NoteList::OpenLunarYearly.
    void PutYearly(bool (NoteList::*open)(int), int month, int index, const char* text, uint32_t colour = 0) {
        NoteList l;
        (l.*open)(month);
        ASSERT_TRUE(l.SetEntry(index, text, static_cast<int>(strlen(text)), colour));
    }
    // Clicks a point of the grid, with the next dialog driven by action.
    void ClickWith(int x, int y, std::function<void(HWND)> action) {
        guitest::OnNextDialog(std::move(action));
        guitest::SendMouse(grid_.GetSafeHwnd(), WM_LBUTTONUP, x, y);
    }
    POINT CellCentre(int day) {
        POINT o;
        grid_.GetCellOrigin(day, &o);
        return POINT{o.x + 25, o.y + 17};
    }

    std::string root_;
    guitest::HostWindow host_{363, 300};
    CWnd owner_;
    CMonthGrid grid_;
    MonthNoteLists lists_;
    NoteOpener opener_{&lists_, [this] { grid_.SetNotes(lists_.View()); }};
};

// January 2017: day 1 a Sunday, 小寒 (5th) and 大寒 (20th) blue, 春节 on Saturday the 28th red.
TEST_F(Grid, JanuaryTwentySeventeenPixels) {
    grid_.SetToday(2017, 1, 9);
    ShowMonth(2017, 1);  // today the 9th
    const Bitmap b = guitest::Render(grid_.GetSafeHwnd());
    ASSERT_EQ(b.width, 363);
    ASSERT_EQ(b.height, 236);
    guitest::SavePng(guitest::CaptureWindow(grid_.GetSafeHwnd()), "grid-2017-01");
    struct { int x, y; COLORREF color; const char* what; } pixels[] = {
        {46, 1, RGB(72, 61, 139), "header"},        {20, 20, RGB(0, 0, 0), "line under the header"},
        {51, 40, RGB(0, 0, 0), "line right of a cell"}, {20, 53, RGB(0, 0, 0), "line under a row"},
        {48, 22, RGB(245, 245, 230), "cell"},        {20, 218, RGB(0, 0, 0), "line above the strip"},
        {100, 230, RGB(255, 215, 0), "strip"},       {362, 235, RGB(255, 215, 0), "strip corner"},
        {200, 200, RGB(245, 245, 230), "empty box in row 5"},
    };
    for (const auto& p : pixels) EXPECT_EQ(b.At(p.x, p.y), p.color) << p.what;

    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 128, 0), black = RGB(0, 0, 0);
    struct { int day; COLORREF shown; } tones[] = {
        {1, red}, {5, blue}, {7, green}, {8, red}, {20, blue}, {28, red}, {2, black}, {31, black}};
    for (const auto& t : tones) {
        EXPECT_GT(CountInCell(b, grid_, t.day, t.shown), 20) << t.day;
        for (COLORREF other : {red, blue, green}) {
            if (other != t.shown) {
                EXPECT_EQ(CountInCell(b, grid_, t.day, other), 0) << t.day;
            }
        }
    }
    // Today's ring, and today's weekday name, in RGB(0, 255, 255) only while its month is shown.
    const COLORREF cyan = RGB(0, 255, 255);
    // Glyphs may be smoothed: their pixels count when near the colour (red below 128, green and
    // blue above 160 tells cyan from the header's yellow and violet).
    int header = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 52; x < 104; ++x) {
            const COLORREF c = b.At(x, y);
            header += GetRValue(c) < 128 && GetGValue(c) > 160 && GetBValue(c) > 160 ? 1 : 0;
        }
    }
    EXPECT_GT(header, 5);  // "一" is one stroke
    EXPECT_GT(b.Count(cyan), header + 50);
    ShowMonth(2017, 2);
    EXPECT_EQ(guitest::Render(grid_.GetSafeHwnd()).Count(cyan), 0);
    EXPECT_EQ(grid_.TodayDay(), 9);
}

// January 2017 at 96, 120, 144 and 192 DPI: the grid's size, its lines at the scaled pitch and
// black from end to end (no label or ring runs into one), every day's label drawn inside its cell,
// today's ring (the 9th) inside today's cell, leaving every other cell as it is without it, and
// the pointer at a scaled cell's centre on that day.
TEST(ScaledGrid, JanuaryTwentySeventeenAtEachScale) {
    guitest::HostWindow host(800, 600);
    CWnd owner;
    owner.AttachHandle(host.hwnd());
    for (int dpi : {96, 120, 144, 192}) {
        CMonthGrid grid;
        ASSERT_TRUE(grid.Create(CRect(0, Scale(22, dpi), Scale(363, dpi), Scale(258, dpi)), &owner, IDC_MONTH_GRID, dpi));
        MonthLayout layout;
        LayOutMonth(2017, 1, &layout);
        grid.SetToday(2017, 2, 9);
        grid.Show(layout, MonthNotes{});
        const Bitmap plain = guitest::Render(grid.GetSafeHwnd());
        grid.SetToday(2017, 1, 9);
        const Bitmap b = guitest::Render(grid.GetSafeHwnd());
        const CellBox today = CellRect(1, 1, dpi);
        int ring = 0, changed = 0;
        for (int y = Scale(kHeaderHeight, dpi); y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                if (x >= today.left && x < today.right && y >= today.top && y < today.bottom)
                    ring += b.At(x, y) == RGB(0, 255, 255) ? 1 : 0;
                else
                    changed += b.At(x, y) != plain.At(x, y) ? 1 : 0;
            }
        EXPECT_GT(ring, Scale(60, dpi)) << dpi;
        EXPECT_EQ(changed, 0) << dpi;
        ASSERT_EQ(b.width, Scale(363, dpi));
        ASSERT_EQ(b.height, Scale(236, dpi));
        guitest::SavePng(guitest::CaptureWindow(grid.GetSafeHwnd()), "grid-2017-01-dpi" + std::to_string(dpi));
        const COLORREF black = RGB(0, 0, 0), cell = RGB(245, 245, 230);
        for (int row = 0; row < 6; ++row) {
            for (int c = 0; c < 7; ++c) {
                const CellBox box = CellRect(c, row, dpi), below = CellRect(c, row + 1, dpi);
                int ink = 0;  // the label row's pixels other than the cell colour
                for (int y = box.top; y < below.top; ++y)
                    for (int x = box.left; x < std::min(box.right + 1, b.width); ++x) {
                        if (y >= box.bottom || x == box.right) {
                            ASSERT_EQ(b.At(x, y), black) << dpi << " " << x << "," << y;
                        } else if (y >= box.top + Scale(17, dpi)) {
                            ink += b.At(x, y) != cell ? 1 : 0;
                        }
                    }
                const int day = 7 * row + c + 1;
                if (day > 31) continue;
                EXPECT_GT(ink, Scale(20, dpi)) << dpi << " day " << day;
                EXPECT_EQ(plain.At(box.left, box.top + Scale(17, dpi) + 2), cell) << dpi << " day " << day;
                guitest::SendMouse(grid.GetSafeHwnd(), WM_MOUSEMOVE, (box.left + box.right) / 2,
                                   (box.top + box.bottom) / 2);
                EXPECT_EQ(grid.HotDay(), day) << dpi;
            }
        }
        grid.HidePopup();
        grid.DestroyWindow();
    }
    owner.AttachHandle(nullptr);
}

// February 2015 uses four rows, October 2016 six; empty boxes are plain cell colour.
TEST_F(Grid, FourAndSixRowMonths) {
    ShowMonth(2015, 2);
    Bitmap b = guitest::Render(grid_.GetSafeHwnd());
    for (int y = 21 + 4 * 33; y < 21 + 6 * 33 - 1; ++y) {
        for (int x = 0; x < 363; ++x) {
            const bool line = (x % 52) >= 51 || (y - 21) % 33 == 32;
            ASSERT_EQ(b.At(x, y), line ? RGB(0, 0, 0) : RGB(245, 245, 230)) << x << "," << y;
        }
    }
    ShowMonth(2016, 10);
    b = guitest::Render(grid_.GetSafeHwnd());
    EXPECT_GT(CountInCell(b, grid_, 30, RGB(255, 0, 0)), 20);  // Sunday the 30th, row 5
    EXPECT_GT(CountInCell(b, grid_, 31, RGB(0, 0, 0)), 20);
    // December 2033: "闰十一月" on Thursday the 22nd keeps to its cell (the line right of it stays black).
    ShowMonth(2033, 12);
    b = guitest::Render(grid_.GetSafeHwnd());
    guitest::SavePng(guitest::CaptureWindow(grid_.GetSafeHwnd()), "grid-2033-12");
    POINT o;
    grid_.GetCellOrigin(22, &o);
    for (int y = o.y + 1; y < o.y + 33; ++y) ASSERT_EQ(b.At(o.x + 51, y), RGB(0, 0, 0)) << y;
    EXPECT_GT(CountInBox(b, grid_, 22, kLabelBox, RGB(0, 0, 0)), 40);
}

// Note marks on white and on coloured cells: the dated fill (default and own colour), both stars
// and the weekly dot in their boxes, each showing on any fill (an orange star on an orange cell, a
// black one on a black cell), the dot in the header, a marked festival drawn black; the day number
// stays inside its box, clear of the marks.
TEST_F(Grid, NotesAreDrawn) {
    const COLORREF orange = RGB(255, 165, 0), red = RGB(255, 0, 0), violet = RGB(128, 0, 255);
    PutList(2017, 1, 1, "new year party");  // 元旦: fill, and drawn black
    PutList(2017, 1, 10, "dentist", OwnColorFlag | RGB(0, 200, 0));
    PutList(2017, 1, 18, "orange day", OwnColorFlag | orange);
    PutList(2017, 1, 25, "black day", OwnColorFlag | 0);
    PutList(2017, 1, 27, "red day", OwnColorFlag | red);  // 除夕, a 休 day
    PutYearly(&NoteList::OpenSolarYearly, 1, 12, "birthday");  // Gregorian yearly: red star
    PutYearly(&NoteList::OpenSolarYearly, 1, 18, "orange star", OwnColorFlag | orange);
    PutYearly(&NoteList::OpenSolarYearly, 1, 25, "black star", OwnColorFlag | 0);
    for (int lunarDay : {15, 21, 28}) PutYearly(&NoteList::OpenLunarYearly, 12, lunarDay, "lunar");  // the 12th, 18th, 25th
    NoteList week;
    week.OpenWeekly();
    ASSERT_TRUE(week.SetEntry(3, "wednesday", 9, 0));
    ShowMonth(2017, 1);
    const Bitmap b = guitest::Render(grid_.GetSafeHwnd());
    guitest::SavePng(guitest::CaptureWindow(grid_.GetSafeHwnd()), "grid-2017-01-notes");

    EXPECT_EQ(b.At(48, 22), RGB(135, 206, 250));
    EXPECT_EQ(CountInCell(b, grid_, 1, red), 0);
    EXPECT_GT(CountInCell(b, grid_, 1, RGB(0, 0, 0)), 20);
    POINT o;
    grid_.GetCellOrigin(10, &o);
    EXPECT_EQ(b.At(o.x + 48, o.y + 20), RGB(0, 200, 0));
    struct { int day; COLORREF fill, solar, lunar; bool dot; } rows[] = {
        {12, RGB(245, 245, 230), red, violet, false},
        {18, orange, orange, violet, true},
        {25, RGB(0, 0, 0), RGB(0, 0, 0), violet, true},
    };
    for (const auto& r : rows) {
        EXPECT_GE(CountInBox(b, grid_, r.day, kSolarStarBox, r.solar), 10) << r.day;
        EXPECT_GE(CountInBox(b, grid_, r.day, kLunarStarBox, r.lunar), 10) << r.day;
        // Seen on the fill: the mark, or its edge where the mark has the fill's colour.
        for (const CellBox& box : {kSolarStarBox, kLunarStarBox})
            EXPECT_GE(CountInBox(b, grid_, r.day, box, r.fill, true), 25) << r.day;
        EXPECT_EQ(CountInBox(b, grid_, r.day, kWeeklyDotBox, red) >= 20, r.dot) << r.day;
        if (r.fill != r.solar) {
            EXPECT_EQ(CountInBox(b, grid_, r.day, kNumberBox, r.solar), 0) << r.day;
        }
        EXPECT_EQ(CountInBox(b, grid_, r.day, kLabelBox, violet), 0) << r.day;
    }
    for (int day : {4, 11}) EXPECT_GE(CountInBox(b, grid_, day, kWeeklyDotBox, red), 20) << day;
    // A 休 box keeps a white edge on the red cell (48 pixels round it), none on a plain or blue one.
    const CellBox inner{kHolidayBox.left + 1, kHolidayBox.top + 1, kHolidayBox.right - 1, kHolidayBox.bottom - 1};
    const COLORREF white = RGB(255, 255, 255), dayOff = RGB(220, 40, 40);
    for (int day : {27, 2, 1}) {
        const int edge = CountInBox(b, grid_, day, kHolidayBox, white) - CountInBox(b, grid_, day, inner, white);
        EXPECT_EQ(edge, day == 27 ? 48 : 0) << day;
        EXPECT_GE(CountInBox(b, grid_, day, inner, dayOff), 40) << day;
    }
    int headerDot = 0;
    for (int y = kHeaderDotBox.top; y < kHeaderDotBox.bottom; ++y)
        for (int x = 156 + kHeaderDotBox.left; x < 156 + kHeaderDotBox.right; ++x) headerDot += b.At(x, y) == red ? 1 : 0;
    EXPECT_GE(headerDot, 20);
    // The widest number in the grid's face ends inside its box.
    HFONT font = CreateFontA(17, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial Black");
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    int widest = 0;
    for (int day = 10; day <= 31; ++day) {
        SIZE s{};
        GetTextExtentPoint32A(dc, std::to_string(day).c_str(), 2, &s);
        widest = std::max<int>(widest, s.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    EXPECT_LE(kNumberBox.left + widest, kNumberBox.right);
}

// Across one row the popup is shown, hidden or replaced only where the pointer crosses into
// another cell.
TEST_F(Grid, PopupChangesOnlyAtCellBoundaries) {
    PutList(2017, 1, 9, "monday note");
    PutList(2017, 1, 10, "tuesday note");
    PutList(2017, 1, 13, "friday note");
    ShowMonth(2017, 1);
    CNotePopup* popup = grid_.Popup();
    bool visible = false;
    std::string text;
    int changes = 0;
    for (int x = 0; x < 363; ++x) {
        guitest::SendMouse(grid_.GetSafeHwnd(), WM_MOUSEMOVE, x, 70);  // row 1: days 8 ... 14
        const bool nowVisible = IsWindowVisible(popup->GetSafeHwnd()) != FALSE;
        const std::string nowText = nowVisible ? popup->Text() : "";
        if (nowVisible != visible || nowText != text) {
            ++changes;
            EXPECT_EQ(x % 52, 0) << "changed inside a cell at x " << x;
        }
        visible = nowVisible;
        text = nowText;
        if (x == 52 * 5 + 20) {
            EXPECT_EQ(text, "friday note");
        }
    }
    EXPECT_EQ(changes, 6);  // 8 shown (三九第1天), 9 and 10 replaced, 11 hidden, 13 shown, 14 hidden
    EXPECT_EQ(grid_.HotDay(), 14);
    // Into the header: hidden, no day.
    guitest::SendMouse(grid_.GetSafeHwnd(), WM_MOUSEMOVE, 60, 70);
    EXPECT_TRUE(IsWindowVisible(popup->GetSafeHwnd()));
    guitest::SendMouse(grid_.GetSafeHwnd(), WM_MOUSEMOVE, 60, 5);
    EXPECT_FALSE(IsWindowVisible(popup->GetSafeHwnd()));
    EXPECT_EQ(grid_.HotDay(), 0);
    // Today's notes under today's cell, without the mouse.
    grid_.SetToday(2017, 1, 13);
    ShowMonth(2017, 1);
    grid_.ShowTodayNotes();
    EXPECT_TRUE(IsWindowVisible(popup->GetSafeHwnd()));
    EXPECT_STREQ(popup->Text(), "friday note");
}

// The day-note dialog: three notes typed and confirmed are exactly the bytes of three files;
// "取消" and Escape write nothing; a colour-only note survives; a right click on a swatch drops
// the own colour.
TEST_F(Grid, DayNoteDialogWritesItsThreeFiles) {
    ShowMonth(2017, 1);
    const POINT day5 = CellCentre(5);  // lunar 12-8
    std::string dateLine;
    ClickWith(day5.x, day5.y, [&](HWND dialog) {
        dateLine = guitest::ItemText(dialog, 1032);
        EXPECT_EQ(guitest::ItemText(dialog, 1038), "阳历每年1月5日");
        EXPECT_EQ(guitest::ItemText(dialog, 1039), "农历每年十二月初八");
        guitest::SetItemText(dialog, IDC_DAY_TEXT, "  line 1\r\n第二行");
        guitest::SetItemText(dialog, IDC_SOLAR_TEXT, "every year");
        guitest::SetItemText(dialog, IDC_LUNAR_TEXT, "腊八");
        guitest::SavePng(guitest::CaptureWindow(dialog), "day-note-dialog");
        // The three lines and three swatches lie whole inside the dialog; each repeat line ends
        // left of its edit, each later swatch right of it.
        RECT client;
        GetClientRect(dialog, &client);
        const auto rectOf = [dialog](int id) {
            RECT r{};
            GetWindowRect(GetDlgItem(dialog, id), &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        for (int id : {1032, 1038, 1039, IDC_DAY_SWATCH, IDC_SOLAR_SWATCH, IDC_LUNAR_SWATCH}) {
            const RECT r = rectOf(id);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom && r.right > r.left)
                << id << " at " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        }
        EXPECT_LE(rectOf(1038).right, rectOf(IDC_SOLAR_TEXT).left);
        EXPECT_LE(rectOf(1039).right, rectOf(IDC_LUNAR_TEXT).left);
        EXPECT_GE(rectOf(IDC_SOLAR_SWATCH).left, rectOf(IDC_SOLAR_TEXT).right);
        EXPECT_GE(rectOf(IDC_LUNAR_SWATCH).left, rectOf(IDC_LUNAR_TEXT).right);
        guitest::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(dateLine, "2017年1月5日星期四 农历十二月大 初八");
    EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, "line 1\r\n第二行"));
    EXPECT_EQ(ReadNote("日历\\101"), kTag + Record(5, "every year"));
    EXPECT_EQ(ReadNote("日历\\012"), kTag + Record(8, "腊八"));

    // Cancel and Escape change nothing on disk.
    for (int way = 0; way < 2; ++way) {
        ClickWith(day5.x, day5.y, [way](HWND dialog) {
            EXPECT_EQ(guitest::ItemText(dialog, IDC_SOLAR_TEXT), "every year");
            guitest::SetItemText(dialog, IDC_SOLAR_TEXT, "changed");
            if (way == 0) {
                guitest::ClickButton(dialog, IDCANCEL);
            } else {
                // Escape itself, through the dialog's own message loop.
                HWND edit = GetDlgItem(dialog, IDC_SOLAR_TEXT);
                SetFocus(edit);
                PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            }
        });
        EXPECT_EQ(ReadNote("日历\\101"), kTag + Record(5, "every year")) << way;
    }

    // An own colour stays as a colour-only note when the text is emptied; a right click on the
    // swatch drops it, and the emptied note then leaves no record.
    PutList(2017, 1, 6, "coloured", OwnColorFlag | 0x123456);
    ShowMonth(2017, 1);
    const POINT day6 = CellCentre(6);
    ClickWith(day6.x, day6.y, [](HWND dialog) {
        guitest::SetItemText(dialog, IDC_DAY_TEXT, "");
        guitest::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, "line 1\r\n第二行") + Record(6, "", OwnColorFlag | 0x123456));
    ClickWith(day6.x, day6.y, [](HWND dialog) {
        SendMessageA(dialog, WM_LABEL_RCLICKED, IDC_DAY_SWATCH, 0);
        guitest::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, "line 1\r\n第二行"));

    // Enter in a one-line edit confirms.
    ClickWith(day6.x, day6.y, [](HWND dialog) {
        guitest::SetItemText(dialog, IDC_LUNAR_TEXT, "enter");
        HWND edit = GetDlgItem(dialog, IDC_LUNAR_TEXT);
        SetFocus(edit);
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
    });
    EXPECT_EQ(ReadNote("日历\\012"), kTag + Record(8, "腊八") + Record(9, "enter"));
}

// The day dialog opens with the focus in the first note. A swatch's colour picker is owned by the
// dialog, which it disables, and opens over it; once it closes, typing goes into the note again and
// the chosen colour is saved.
TEST_F(Grid, ColourPickerIsModalToItsDialogAndGivesTheKeyboardBack) {
    PutList(2017, 1, 5, "dentist");
    ShowMonth(2017, 1);
    const POINT day5 = CellCentre(5);
    ClickWith(day5.x, day5.y, [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_DAY_TEXT);
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(guitest::ItemText(dialog, IDC_COLOUR_HINT), kColourHintText);
        HWND owner = nullptr;
        bool dialogEnabled = true;
        RECT picker{}, box{};
        GetWindowRect(dialog, &box);
        guitest::OnNextDialog([&](HWND p) {
            owner = GetWindow(p, GW_OWNER);
            dialogEnabled = IsWindowEnabled(dialog) != FALSE;
            GetWindowRect(p, &picker);
            guitest::ClickButton(p, IDOK);  // the note's own red
        });
        SendMessageA(dialog, WM_LABEL_CLICKED, IDC_SOLAR_SWATCH, 0);
        EXPECT_EQ(owner, dialog);
        EXPECT_FALSE(dialogEnabled);
        EXPECT_NEAR((picker.left + picker.right) / 2, (box.left + box.right) / 2, 2);
        EXPECT_TRUE(IsWindowEnabled(dialog));
        // Typed keys reach the focused window: the note's edit, with the caret after its text.
        HWND focus = GetFocus();
        EXPECT_EQ(focus, edit);
        for (char c : std::string("!?")) SendMessageA(focus, WM_CHAR, static_cast<WPARAM>(c), 1);
        guitest::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, "dentist!?"));
    EXPECT_EQ(ReadNote("日历\\101"), kTag + Record(5, "", OwnColorFlag | RGB(255, 0, 0)));
}

// A month that touches three lunar months keeps a middle-month day's note in its own month's file.
TEST_F(Grid, MiddleLunarMonthHasItsOwnFile) {
    ShowMonth(2000, 7);
    const int middle = lists_.LunarListMonth(kLunarMiddle);
    ASSERT_NE(middle, 0);
    int day = 1;
    while (grid_.Cell(day).lunar.month != middle) ++day;
    const int lunarDay = grid_.Cell(day).lunar.day;
    const POINT p = CellCentre(day);
    ClickWith(p.x, p.y, [](HWND dialog) {
        guitest::SetItemText(dialog, IDC_LUNAR_TEXT, "middle");
        guitest::ClickButton(dialog, IDOK);
    });
    char name[16];
    snprintf(name, sizeof name, "日历\\0%02d", middle);
    EXPECT_EQ(ReadNote(name), kTag + Record(lunarDay, "middle"));
    for (LunarListSlot other : {kLunarFirst, kLunarLast}) {
        snprintf(name, sizeof name, "日历\\0%02d", lists_.LunarListMonth(other));
        EXPECT_FALSE(NoteExists(name)) << name;
    }
    EXPECT_STREQ(NotesOfDay(lists_.Layout(), lists_.View(), day).lunarYearly->text.get(), "middle");
    int length = 0;
    EXPECT_STREQ(grid_.BuildNoteText(day, &length).get(), "middle");
}

// The weekly dialog writes 日历\week; a failed save keeps the dialog open with the warning.
TEST_F(Grid, WeeklyNoteAndAFailedSave) {
    ShowMonth(2017, 1);
    std::string label;
    ClickWith(60, 5, [&](HWND dialog) {  // the header column of Monday
        guitest::SetItemText(dialog, IDC_WEEK_TEXT, " gym");
        guitest::SavePng(guitest::CaptureWindow(dialog), "weekly-note-dialog");
        guitest::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(ReadNote("日历\\week"), kTag + Record(1, "gym"));

    // 日历\201701 cannot be replaced (a folder took its name while the dialog was open): the
    // dialog stays with "警告", the other notes are saved.
    const POINT p = CellCentre(3);
    std::string warning, caption;
    bool stayedOpen = false;
    ClickWith(p.x, p.y, [&](HWND dialog) {
        ASSERT_TRUE(CreateDirectoryW(testtree::W(NotePath("日历\\201701")).c_str(), nullptr));
        guitest::SetItemText(dialog, IDC_DAY_TEXT, "lost?");
        guitest::SetItemText(dialog, IDC_SOLAR_TEXT, "kept");
        guitest::OnNextDialog([&](HWND box) {
            char title[32] = {};
            widetest::GetWindowTextGbk(box, title, sizeof title);
            caption = title;
            EnumChildWindows(
                box,
                [](HWND child, LPARAM out) -> BOOL {
                    char cls[16] = {}, text[128] = {};
                    GetClassNameA(child, cls, sizeof cls);
                    widetest::GetWindowTextGbk(child, text, sizeof text);
                    if (lstrcmpiA(cls, "Static") == 0) *reinterpret_cast<std::string*>(out) += text;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&warning));
            guitest::ClickButton(box, IDOK);
        });
        guitest::ClickButton(dialog, IDOK);
        stayedOpen = IsWindow(dialog) && IsWindowVisible(dialog);
        EXPECT_EQ(guitest::ItemText(dialog, IDC_DAY_TEXT), "lost?");
        guitest::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(warning, kNoteNotSavedText);
    EXPECT_EQ(caption, "警告");
    EXPECT_EQ(ReadNote("日历\\101"), kTag + Record(3, "kept"));
    EXPECT_FALSE(lists_.View().month[3].Present());
}

// Only the notes the user changed are written: a dated note another program rewrote while the
// dialog was open survives an edit of the same day's yearly note.
TEST_F(Grid, SavesOnlyTheChangedNotes) {
    PutList(2017, 1, 5, "dentist");
    ShowMonth(2017, 1);
    const POINT p = CellCentre(5);
    ClickWith(p.x, p.y, [&](HWND dialog) {
        PutList(2017, 1, 5, "dentist at 3");
        guitest::SetItemText(dialog, IDC_SOLAR_TEXT, "party");
        guitest::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, "dentist at 3"));
    EXPECT_EQ(ReadNote("日历\\101"), kTag + Record(5, "party"));
    // The same note changed on both sides: both kept in it, the other after its mark; the user is told.
    TakeNotices();
    ClickWith(p.x, p.y, [&](HWND dialog) {
        PutList(2017, 1, 5, "clinic phoned");
        guitest::SetItemText(dialog, IDC_DAY_TEXT, "dentist 10:00");
        guitest::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, "dentist 10:00\r\n（另一处的修改）clinic phoned"));
    EXPECT_EQ(TakeNotices().size(), 1u);
    // Too long together: the user's text is saved, the other list kept whole beside it; a second
    // such conflict keeps the first copy and makes another.
    for (const char* kept : {"日历\\201701.conflict", "日历\\201701.conflict.2"}) {
        const char last = kept[std::strlen(kept) - 1];  // 't', then '2'
        const std::string theirs(60000, last), mine(6000, static_cast<char>(last + 1));
        ClickWith(p.x, p.y, [&](HWND dialog) {
            PutList(2017, 1, 5, theirs.c_str());
            guitest::SetItemText(dialog, IDC_DAY_TEXT, mine.c_str());
            guitest::ClickButton(dialog, IDOK);
        });
        EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, mine));
        EXPECT_EQ(ReadNote(kept), kTag + Record(5, theirs));
        const std::vector<std::string> told = TakeNotices();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find(std::string(kept) + "”"), std::string::npos) << told[0];
    }
    EXPECT_EQ(ReadNote("日历\\201701.conflict"), kTag + Record(5, std::string(60000, 't')));
}

// A list held open by another program when the dialog opens makes its note read-only, with a
// line saying so; the other notes of the day are saved and the held list is left as it was.
TEST_F(Grid, AHeldListMakesItsNoteReadOnly) {
    PutList(2017, 1, 5, "dentist");
    ShowMonth(2017, 1);
    HANDLE held = CreateFileW(testtree::W(NotePath("日历\\201701")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const POINT p = CellCentre(5);
    std::string shown;
    bool readOnly = false;
    ClickWith(p.x, p.y, [&](HWND dialog) {
        shown = guitest::ItemText(dialog, IDC_DAY_TEXT);
        readOnly = (GetWindowLongA(GetDlgItem(dialog, IDC_DAY_TEXT), GWL_STYLE) & ES_READONLY) != 0;
        guitest::SetItemText(dialog, IDC_SOLAR_TEXT, "party");
        guitest::ClickButton(dialog, IDOK);
    });
    CloseHandle(held);
    EXPECT_EQ(shown, kNoteUnreadableText);
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(ReadNote("日历\\201701"), kTag + Record(5, "dentist"));
    EXPECT_EQ(ReadNote("日历\\101"), kTag + Record(5, "party"));
}

// October 2026: a 休 box on the National Day span, a 班 box on Saturday the 10th, on white and on
// a note's coloured fill; the popup names the holiday first, on a day without notes too.
TEST_F(Grid, HolidayMarksAndThePopupLine) {
    PutList(2026, 10, 3, "trip", OwnColorFlag | RGB(0, 160, 0));
    ShowMonth(2026, 10);
    const Bitmap b = guitest::Render(grid_.GetSafeHwnd());
    guitest::SavePng(guitest::CaptureWindow(grid_.GetSafeHwnd()), "grid-2026-10-holidays");
    for (int day = 1; day <= 31; ++day) {
        const bool off = day <= 7, work = day == 10;
        EXPECT_EQ(CountInCell(b, grid_, day, RGB(220, 40, 40)) > 40, off) << day;
        EXPECT_EQ(CountInCell(b, grid_, day, RGB(80, 80, 80)) > 40, work) << day;
    }
    POINT p;
    grid_.GetCellOrigin(10, &p);
    guitest::SendMouse(grid_.GetSafeHwnd(), WM_MOUSEMOVE, p.x + 20, p.y + 15);
    ASSERT_TRUE(IsWindowVisible(grid_.Popup()->GetSafeHwnd()));
    EXPECT_STREQ(grid_.Popup()->Text(), "国庆节 调休上班");
    grid_.GetCellOrigin(3, &p);
    guitest::SendMouse(grid_.GetSafeHwnd(), WM_MOUSEMOVE, p.x + 20, p.y + 15);
    EXPECT_STREQ(grid_.Popup()->Text(), "国庆节 放假\r\ntrip");
}

// Painting and browsing create and free GDI objects in pairs.
TEST_F(Grid, PaintsLeaveNoGdiObjectBehind) {
    grid_.SetToday(2017, 1, 9);
    ShowMonth(2017, 1);
    guitest::Render(grid_.GetSafeHwnd());
    const long before = LiveGdiObjects();
    for (int month = 1; month <= 12; ++month) {
        ShowMonth(2018, month);
        guitest::Render(grid_.GetSafeHwnd());
        UpdateWindow(grid_.GetSafeHwnd());
    }
    EXPECT_EQ(LiveGdiObjects(), before);
}

}  // namespace
