// CMonthGrid.
#include "grid/month_grid.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "calendar/gregorian.h"
#include "calendar/labels.h"
#include "platform/handles.h"
#include "res/resource.h"
#include "web/page_open.h"
#include "widgets/user_messages.h"

BEGIN_MESSAGE_MAP(CMonthGrid, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CMonthGrid::OnMouseLeave)
    ON_MESSAGE(WM_LABEL_CLICKED, &CMonthGrid::OnLinkClicked)
END_MESSAGE_MAP()

namespace {

void MakeFont(CFont* font, int height, int weight, const char* face) {
    font->CreateFont(height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

// A weekly dot or a yearly star in box (offset by x, y): the mark's colour inside an edge (edge
// pixels wide) that stands out from it, so it shows on any fill.
void DrawMark(CDC* dc, const Mark& mark, const CellBox& box, int x, int y, bool star, int edge) {
    if (!mark.shown) return;
    ScopedPen pen(::CreatePen(PS_SOLID, edge, MarkEdgeColor(mark.color)));
    ScopedBrush brush(::CreateSolidBrush(mark.color));
    ScopedSelect selectPen(*dc, pen.get());
    ScopedSelect selectBrush(*dc, brush.get());
    if (!star) {
        dc->Ellipse(x + box.left, y + box.top, x + box.right, y + box.bottom);
        return;
    }
    GridPoint corners[10];
    StarCorners(box, x, y, corners);
    POINT points[10];
    for (int i = 0; i < 10; ++i) points[i] = POINT{corners[i].x, corners[i].y};
    ::Polygon(*dc, points, 10);
}

}  // namespace

CMonthGrid::~CMonthGrid() {
    if (m_popup && m_popup->GetSafeHwnd()) m_popup->DestroyWindow();
    DestroyWindow();
}

BOOL CMonthGrid::Create(const RECT& rect, CWnd* parent, UINT id, int dpi) {
    const char* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                          static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)), nullptr);
    // WS_CLIPCHILDREN: a paint of the grid never covers the strip labels, which paint themselves.
    if (!CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, id)) return FALSE;
    m_dpi = dpi > 0 ? dpi : WindowDpi(GetSafeHwnd());

    const int top = (rect.bottom - rect.top) - StripHeight();  // 219 for the program's rect
    const int bottom = rect.bottom;
    const int right = rect.right - S(160);                        // 203
    // 10 points: a title of two years ("丙申【猴】年－丁酉【鸡】年") leaves room before the first link.
    m_yearTitle.Create(CRect(0, top, right, bottom), this, static_cast<UINT>(IDC_STATIC), kStripColor, 0, 100,
                       "宋体");
    m_homeLink.Create(CRect(right, top, right + S(85), bottom), this, IDC_LINK_HOME, kStripColor, 0, 110, "宋体");
    m_loginLink.Create(CRect(right + S(85), top, right + S(125), bottom), this, IDC_LINK_LOGIN, kStripColor, 0,
                       110, "楷体_gb2312");
    m_helpLink.Create(CRect(right + S(125), top, right + S(165), bottom), this, IDC_LINK_HELP, kStripColor, 0, 110,
                      "楷体_gb2312");

    m_popup = std::make_unique<CNotePopup>();
    m_popup->Create(this, m_dpi);
    SetDpi(m_dpi);  // the fonts, and the labels' fonts at the grid's scale, not only the screen's

    m_homeLink.SetText("Pelorin", 1);
    m_loginLink.SetText("登录", 1);
    m_helpLink.SetText("帮助", 1);
    return TRUE;
}

void CMonthGrid::MakeFonts() {
    MakeFont(&m_dayFont, S(17), FW_NORMAL, "Arial Black");
    MakeFont(&m_labelFont, S(14), FW_NORMAL, "Arial");
    MakeFont(&m_labelBoldFont, S(14), FW_BOLD, "Arial");
    MakeFont(&m_narrowLabelFonts[0], S(13), FW_BOLD, "Arial");
    MakeFont(&m_narrowLabelFonts[1], S(12), FW_BOLD, "Arial");
    MakeFont(&m_holidayFont, S(12), FW_NORMAL, "宋体");
}

void CMonthGrid::SetDpi(int dpi) {
    m_dpi = dpi;
    MakeFonts();
    CRect client;
    GetClientRect(&client);
    const int top = client.Height() - StripHeight(), right = client.Width() - S(160);
    const struct {
        CColorLabel* label;
        int x;
    } labels[] = {
        {&m_yearTitle, 0}, {&m_homeLink, right}, {&m_loginLink, right + S(85)}, {&m_helpLink, right + S(125)}};
    for (const auto& l : labels) {
        l.label->MoveTo(l.x, top);
        l.label->SetDpi(dpi);
    }
    if (m_popup) m_popup->SetDpi(dpi);
    Invalidate(FALSE);
}

void CMonthGrid::Show(const MonthLayout& layout, const MonthNotes& notes) {
    m_layout = layout;
    m_notes = notes;
    UpdateYearTitle();
    Invalidate(FALSE);
}

void CMonthGrid::SetNotes(const MonthNotes& notes) {
    m_notes = notes;
    Invalidate(FALSE);
}

void CMonthGrid::SetToday(int year, int month, int day) {
    m_todayYear = static_cast<uint16_t>(year);
    m_todayMonth = static_cast<uint16_t>(month);
    m_todayDay = static_cast<uint16_t>(day);
    Invalidate(FALSE);
}

void CMonthGrid::UpdateYearTitle() {
    if (m_layout.daysInMonth == 0) return;
    char title[kYearTitleSize];
    ComposeYearTitle(m_layout.cells[1].lunar, m_layout.cells[m_layout.daysInMonth].lunar, title, sizeof title);
    m_yearTitle.SetText(title, 1);
}

void CMonthGrid::SetHolidays(const HolidayTable* table) {
    m_holidays = table != nullptr ? table : &HolidayTable::BuiltIn();
    Invalidate(FALSE);
}

std::unique_ptr<char[]> CMonthGrid::BuildNoteText(int day, int* length) const {
    std::string text = PopupTextOfDay(m_layout, *m_holidays, m_notes, day, m_todayYear);
    if (m_notes.unreadable)  // never an empty month in silence
        text = kNotesUnreadableLine + (text.empty() ? std::string() : "\r\n" + text);
    *length = static_cast<int>(text.size());
    if (text.empty()) return nullptr;
    std::unique_ptr<char[]> out(new char[text.size() + 1]);
    std::memcpy(out.get(), text.c_str(), text.size() + 1);
    return out;
}

void CMonthGrid::GetCellOrigin(int day, POINT* pt) const {
    const GridPoint p = CellOrigin(m_layout, day, m_dpi);
    pt->x = p.x;
    pt->y = p.y;
}

int CMonthGrid::HitTestDay(const POINT* pt) const {
    return ::HitTestDay(m_layout, GridPoint{pt->x, pt->y}, m_dpi);
}

// --- painting ---------------------------------------------------------------------------------

void CMonthGrid::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    // Drawn off screen and copied in one step, so the grid never shows half a paint.
    ScopedMemoryDc buffer(dc);
    ScopedBitmap bitmap(::CreateCompatibleBitmap(dc, client.Width(), client.Height()));
    if (!buffer.valid() || !bitmap.valid()) {
        PaintInto(dc, client);
        return;
    }
    {
        ScopedSelect select(buffer.get(), bitmap.get());
        PaintInto(buffer.get(), client);
        ::BitBlt(dc, 0, 0, client.Width(), client.Height(), buffer.get(), 0, 0, SRCCOPY);
    }
}

void CMonthGrid::PaintInto(HDC target, const RECT& r) {
    CDC dc(target);
    const int saved = ::SaveDC(target);
    dc.FillSolidRect(CRect(r.left, r.top, r.right, r.bottom - StripHeight()), 0x000000);
    dc.FillSolidRect(CRect(r.left, r.bottom - StripHeight(), r.right, r.bottom), kStripColor);
    dc.SetBkMode(TRANSPARENT);
    DrawWeekHeader(&dc, r);
    DrawDays(&dc, r);
    ::RestoreDC(target, saved);
}

void CMonthGrid::DrawWeekHeader(CDC* dc, const RECT& r) {
    dc->FillSolidRect(CRect(r.left, r.top, r.right, r.top + S(kHeaderHeight)), kHeaderBackColor);
    const HeaderLook look = LookOfHeader(m_layout, m_notes, TodayShown() ? m_todayDay : 0);
    for (int w = 0; w < 7; ++w)
        DrawMark(dc, look.dot[w], ScaleBox(kHeaderDotBox, m_dpi), r.left + S(kColumnPitch * w), r.top, false, S(1));
    ScopedSelect select(*dc, m_labelBoldFont.GetSafeHandle());
    for (int w = 0; w < 7; ++w) {
        dc->SetTextColor(look.nameColor[w]);
        dc->TextOut(r.left + S(10 + kColumnPitch * w), r.top + S(2), WeekdayName(w));
    }
}

void CMonthGrid::DrawDays(CDC* dc, const RECT& r) {
    // Drawn in passes, one font selected per pass: a font select costs far more than the text it
    // draws (under Wine it reads the X resources each time).
    struct Day {
        CRect box;
        DayLook look;
        HolidayLook holiday;
        std::string label;
        int font = 0;  // 0 normal, 1 bold, 2 and 3 the narrow faces
    };
    constexpr int kDaySlots = sizeof(MonthLayout::cells) / sizeof(MonthLayout::cells[0]);
    Day days[kDaySlots];
    int n = 1;
    for (int row = 0; row < 6; ++row) {
        for (int c = 0; c < 7; ++c) {
            const CellBox cell = CellRect(c, row, m_dpi);
            const CRect box(r.left + cell.left, r.top + cell.top, r.left + cell.right, r.top + cell.bottom);
            dc->FillSolidRect(box, kCellBackColor);
            if ((row == 0 && c < m_layout.firstWeekday) || n > m_layout.daysInMonth) continue;
            Day& d = days[n];
            d.box = box;
            d.look = LookOfDay(m_layout, m_notes, n);
            d.holiday = HolidayOfDay(m_layout, *m_holidays, n);
            d.label = CellLabel(m_layout.cells[n]);
            const int x = box.left, y = box.top;
            if (d.look.fill.shown) dc->FillSolidRect(box, d.look.fill.color);
            if (TodayShown() && n == m_todayDay) DrawTodayRing(dc, box);
            DrawMark(dc, d.look.dot, ScaleBox(kWeeklyDotBox, m_dpi), x, y, false, S(1));
            DrawMark(dc, d.look.solarStar, ScaleBox(kSolarStarBox, m_dpi), x, y, true, S(1));
            DrawMark(dc, d.look.lunarStar, ScaleBox(kLunarStarBox, m_dpi), x, y, true, S(1));
            if (d.holiday.mark != HolidayMark::None) {
                const CellBox b = ScaleBox(kHolidayBox, m_dpi);
                CRect mark(x + b.left, y + b.top, x + b.right, y + b.bottom);
                // On a fill of nearly its colour (a red note's cell) the box keeps an edge.
                if (CloseColors(d.holiday.color, d.look.fill.shown ? d.look.fill.color : kCellBackColor)) {
                    dc->FillSolidRect(mark, MarkEdgeColor(d.holiday.color));
                    mark = CRect(mark.left + S(1), mark.top + S(1), mark.right - S(1), mark.bottom - S(1));
                }
                dc->FillSolidRect(mark, d.holiday.color);
            }
            ++n;
        }
    }
    const int last = m_layout.daysInMonth;
    {
        ScopedSelect select(*dc, m_dayFont.GetSafeHandle());
        for (int day = 1; day <= last; ++day) {
            char number[8];
            std::snprintf(number, sizeof number, "%2d", day);
            dc->SetTextColor(days[day].look.textColor);
            dc->TextOut(days[day].box.left + S(kNumberBox.left), days[day].box.top + S(kNumberBox.top), number);
        }
    }
    {
        ScopedSelect select(*dc, m_holidayFont.GetSafeHandle());
        dc->SetTextColor(0xFFFFFF);
        const CellBox b = ScaleBox(kHolidayBox, m_dpi);
        for (int day = 1; day <= last; ++day) {
            if (days[day].holiday.mark == HolidayMark::None) continue;
            RECT text{days[day].box.left + b.left, days[day].box.top + b.top, days[day].box.left + b.right,
                      days[day].box.top + b.bottom};
            dc->DrawText(days[day].holiday.glyph, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        }
    }
    // Each label from x + 6; one too wide for its room (the cell, less the 休/班 box) starts further
    // left and, when it still does not fit, is drawn a little smaller (a month name has already lost
    // its 大/小), so it never runs into the box or the next day. Measured font by font: first every
    // label in its own font, then what is still too wide in each narrower one.
    CFont* fonts[] = {&m_labelFont, &m_labelBoldFont, &m_narrowLabelFonts[0], &m_narrowLabelFonts[1]};
    int width[kDaySlots] = {};
    const auto room = [&](int day) {
        return days[day].holiday.mark == HolidayMark::None ? days[day].box.Width() : S(kHolidayBox.left) - 1;
    };
    for (int day = 1; day <= last; ++day) days[day].font = days[day].look.boldLabel ? 1 : 0;
    for (int f = 0; f < 4; ++f) {
        std::optional<ScopedSelect> select;
        for (int day = 1; day <= last; ++day) {
            const int font = days[day].font;
            // Its own face first; a narrow face only after the face before it left it too wide.
            const bool lastTried = f == 2 ? font < 2 : font == f - 1;
            const bool measure = f < 2 ? font == f : (lastTried && width[day] > room(day) - S(2));
            if (!measure) continue;
            if (!select) select.emplace(*dc, fonts[f]->GetSafeHandle());
            const CSize size = TextExtentOf(*dc, days[day].label.c_str(), static_cast<int>(days[day].label.size()));
            width[day] = size.cx;
            days[day].font = f;
        }
    }
    for (int f = 0; f < 4; ++f) {
        std::optional<ScopedSelect> select;
        for (int day = 1; day <= last; ++day) {
            const Day& d = days[day];
            if (d.font != f) continue;
            if (!select) select.emplace(*dc, fonts[f]->GetSafeHandle());
            const int spare = room(day) - width[day];  // what is left beside the label
            const int left = spare >= S(12) ? S(6) : (spare > 2 ? spare / 2 : 1);
            dc->SetTextColor(d.look.textColor);
            dc->TextOut(d.box.left + left, d.box.top + S(kLabelBox.top), d.label.c_str(),
                        static_cast<int>(d.label.size()));
        }
    }
}

void CMonthGrid::DrawTodayRing(CDC* dc, const CRect& cell) {
    // Inside today's cell, under its marks and text: the labels round it stay whole, and its own
    // number and label are drawn over the ring.
    // Along the cell's edge, so it keeps clear of the label on the cell's last rows: 1 pixel wide at
    // 96 DPI, 2 at 144, 3 at 192.
    ScopedPen pen(::CreatePen(PS_INSIDEFRAME, std::max(1, S(3) / 2), kTodayColor));
    ScopedSelect selectPen(*dc, pen.get());
    ScopedSelect selectBrush(*dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(*dc, cell.left, cell.top, cell.right, cell.bottom, S(12), S(12));
}

// --- input ------------------------------------------------------------------------------------

void CMonthGrid::OnMouseMove(UINT flags, CPoint point) {
    if (!m_trackingLeave) {  // told when the pointer leaves the grid, to put the popup away
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, GetSafeHwnd(), 0};
        m_trackingLeave = ::TrackMouseEvent(&track) != FALSE;
    }
    const int day = HitTestDay(&point);
    if (day != m_hotDay) {
        if (day != 0) {
            POINT p = point;
            ShowNotePopup(day, &p);
        } else if (m_popup) {
            m_popup->ShowWindow(SW_HIDE);
        }
        m_hotDay = static_cast<uint16_t>(day);
    }
    CWnd::OnMouseMove(flags, point);
}

LRESULT CMonthGrid::OnMouseLeave(WPARAM, LPARAM) {
    m_trackingLeave = false;
    // A leave seen late (the system may look for it on a timer) while the pointer is back: ignored.
    POINT at{};
    RECT me{};
    ::GetCursorPos(&at);
    GetWindowRect(&me);
    if (!::PtInRect(&me, at)) HidePopup();
    return 0;
}

void CMonthGrid::ShowNotePopup(int day, POINT* pt) {
    if (!m_popup) return;
    int length = 0;
    std::unique_ptr<char[]> text = BuildNoteText(day, &length);
    ClientToScreen(pt);
    if (length > 0) {
        // The day cells, which it may cover, and the calendar round them, whose controls it may not.
        const CellBox first = CellRect(0, 0, m_dpi), last = CellRect(6, 5, m_dpi);
        POINT corners[2] = {{first.left, first.top}, {last.right, last.bottom}};
        ::MapWindowPoints(GetSafeHwnd(), nullptr, corners, 2);
        RECT calendar{};
        const HWND parent = ::GetParent(GetSafeHwnd());
        ::GetWindowRect(parent ? parent : GetSafeHwnd(), &calendar);
        const PixelRect cells{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        const PixelRect around{calendar.left, calendar.top, calendar.right, calendar.bottom};
        m_popup->SetText(std::move(text), length, *pt, &cells, &around);
        m_popup->Show();
    } else {
        m_popup->ShowWindow(SW_HIDE);
    }
}

void CMonthGrid::ShowTodayNotes() {
    if (!TodayShown() || m_todayDay == 0) return;
    POINT p;
    GetCellOrigin(m_todayDay, &p);
    p.y += S(12);
    ShowNotePopup(m_todayDay, &p);
}

void CMonthGrid::HidePopup() {
    if (m_popup) m_popup->ShowWindow(SW_HIDE);
    m_hotDay = 0;
}

void CMonthGrid::OnLButtonUp(UINT flags, CPoint point) {
    const ClickTarget target = ClickTargetAt(m_layout, GridPoint{point.x, point.y}, m_dpi);
    if (target.kind == ClickTarget::Day) {
        if (m_popup) m_popup->ShowWindow(SW_HIDE);
        m_hotDay = static_cast<uint16_t>(target.value);
        if (m_clicks.day) m_clicks.day(target.value);
    } else if (target.kind == ClickTarget::Weekday) {
        if (m_clicks.weekday) m_clicks.weekday(target.value);
    }
    CWnd::OnLButtonUp(flags, point);
}

LRESULT CMonthGrid::OnLinkClicked(WPARAM wParam, LPARAM) {
    OpenStripLink(GetSafeHwnd(), static_cast<int>(wParam));
    return 0;
}
