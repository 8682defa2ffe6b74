// The month grid's decisions.
#include "grid/month_model.h"

#include <cstdio>
#include <cstring>

#include "calendar/day_details.h"
#include "calendar/labels.h"

namespace {

bool InMonth(const MonthLayout& m, int day) { return day >= 1 && day <= m.daysInMonth; }

Mark MarkOf(const NoteEntry* entry, NoteKind kind) {
    Mark mark;
    if (entry != nullptr && entry->Present()) {
        mark.shown = true;
        mark.color = NoteColor(entry->colourWord, kind);
    }
    return mark;
}

const NoteEntry* EntryAt(const NoteEntry* list, int index) { return list != nullptr ? &list[index] : nullptr; }

}  // namespace

namespace {

// Which of count bands of pitch pixels from base (positions at 96 DPI) holds v (a pixel at dpi):
// band i covers Scale(base + pitch i) ... Scale(base + pitch (i + 1)) - 1. -1 outside them all.
int BandAt(int v, int base, int pitch, int count, int dpi) {
    if (v < Scale(base, dpi)) return -1;
    for (int i = 0; i < count; ++i)
        if (v < Scale(base + pitch * (i + 1), dpi)) return i;
    return -1;
}

}  // namespace

GridPoint CellOrigin(const MonthLayout& m, int day, int dpi) {
    if (!InMonth(m, day)) return GridPoint{0, 0};
    return GridPoint{Scale(kColumnPitch * DayColumn(m, day), dpi),
                     Scale(kHeaderHeight + kRowPitch * DayRow(m, day), dpi)};
}

CellBox CellRect(int column, int row, int dpi) {
    const int x = kColumnPitch * column, y = kHeaderHeight + 1 + kRowPitch * row;
    return CellBox{Scale(x, dpi), Scale(y, dpi), Scale(x + kCellWidth, dpi), Scale(y + kCellHeight, dpi)};
}

int HitTestDay(const MonthLayout& m, GridPoint p, int dpi) {
    const int row = BandAt(p.y, kHeaderHeight, kRowPitch, 6, dpi);
    const int column = BandAt(p.x, 0, kColumnPitch, 7, dpi);
    if (row < 0 || column < 0) return 0;
    const int day = 7 * row - m.firstWeekday + column + 1;
    return InMonth(m, day) ? day : 0;
}

ClickTarget ClickTargetAt(const MonthLayout& m, GridPoint p, int dpi) {
    const int day = HitTestDay(m, p, dpi);
    if (day != 0) return ClickTarget{ClickTarget::Day, day};
    // The header band, with the line under it where no day lies below.
    const int column = BandAt(p.x, 0, kColumnPitch, 7, dpi);
    if (p.y >= 0 && p.y <= Scale(kHeaderHeight, dpi) && column >= 0) return ClickTarget{ClickTarget::Weekday, column};
    return ClickTarget{ClickTarget::Nothing, 0};
}


DayLook LookOfDay(const MonthLayout& m, const MonthNotes& notes, int day) {
    DayLook look{};
    if (!InMonth(m, day)) return look;
    const DayCell& cell = m.cells[day];
    const DayNotes d = NotesOfDay(m, notes, day);
    look.fill = MarkOf(d.dated, NoteKind::Day);
    look.dot = MarkOf(d.weekly, NoteKind::Weekly);
    look.solarStar = MarkOf(d.solarYearly, NoteKind::SolarYearly);
    look.lunarStar = MarkOf(d.lunarYearly, NoteKind::LunarYearly);
    look.boldLabel = cell.labelIsMonthName != 0;
    // A dated or yearly note marks the day, and a marked day is drawn black (white on a dark fill);
    // a weekly note does not.
    if (look.fill.shown || look.solarStar.shown || look.lunarStar.shown) {
        look.textColor = look.fill.shown ? MarkEdgeColor(look.fill.color) : kPlainTextColor;
        return look;
    }
    switch (ToneOf(cell)) {
        case DayTone::Holiday: look.textColor = kHolidayColor; break;
        case DayTone::SolarTerm: look.textColor = kSolarTermColor; break;
        case DayTone::Saturday: look.textColor = kSaturdayColor; break;
        case DayTone::Plain: look.textColor = kPlainTextColor; break;
    }
    return look;
}

HeaderLook LookOfHeader(const MonthLayout& m, const MonthNotes& notes, int todayDay) {
    HeaderLook look{};
    const int todayWeekday = InMonth(m, todayDay) ? m.cells[todayDay].weekday : -1;
    for (int w = 0; w < 7; ++w) {
        look.dot[w] = MarkOf(EntryAt(notes.weekly, w), NoteKind::Weekly);
        look.nameColor[w] = w == todayWeekday ? kTodayColor : kHeaderTextColor;
    }
    return look;
}

std::string NoteTextOfDay(const MonthLayout& m, const MonthNotes& notes, int day) {
    const DayNotes d = NotesOfDay(m, notes, day);
    std::string text;
    for (const NoteEntry* e : {d.weekly, d.dated, d.solarYearly, d.lunarYearly}) {
        if (e == nullptr || !e->Present() || e->length == 0) continue;
        if (!text.empty()) text += "\r\n";
        text.append(e->text.get(), e->length);
    }
    return text;
}

std::string GlanceOfDay(const MonthLayout& m, int day) {
    DayDetails details;
    char line[kDetailsLineSize];
    if (!InMonth(m, day) || !ComputeDayDetails(m.year, m.month, day, &details)) return "";
    return std::string(line, FormatGlanceLine(details, line, sizeof line));
}

std::string PopupTextOfDay(const MonthLayout& m, const HolidayTable& table, const MonthNotes& notes, int day,
                           int currentYear) {
    std::string text;
    for (const std::string& part : {HolidayOfDay(m, table, day, currentYear).popupLine, GlanceOfDay(m, day), NoteTextOfDay(m, notes, day)}) {
        if (part.empty()) continue;
        if (!text.empty()) text += "\r\n";
        text += part;
    }
    return text;
}

void StarCorners(const CellBox& box, int x, int y, GridPoint corners[10]) {
    // Unit star, point up: outer corners on a circle of radius 1, inner ones at 0.45 (a stout star
    // that stays a star at 9 pixels). Scaled to the box and rounded.
    static const double unit[10][2] = {
        {0.0, -1.0},     {0.2645, -0.3641}, {0.9511, -0.3090}, {0.4280, 0.1391},  {0.5878, 0.8090},
        {0.0, 0.45},     {-0.5878, 0.8090}, {-0.4280, 0.1391}, {-0.9511, -0.3090}, {-0.2645, -0.3641},
    };
    // Corners land on pixel centres from the box's first pixel to its last.
    const double w = box.right - box.left - 1, h = box.bottom - box.top - 1;
    const double cx = x + box.left + w / 2.0, cy = y + box.top + h / 2.0 + h * 0.04;
    for (int i = 0; i < 10; ++i) {
        const double px = cx + unit[i][0] * w / 2.0, py = cy + unit[i][1] * h / 2.0;
        corners[i] = GridPoint{static_cast<int>(px < 0 ? px - 0.5 : px + 0.5), static_cast<int>(py < 0 ? py - 0.5 : py + 0.5)};
    }
}

uint32_t MarkEdgeColor(uint32_t color) {
    const uint32_t r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return 299 * r + 587 * g + 114 * b > 140000 ? 0x000000 : 0xFFFFFF;
}

bool CloseColors(uint32_t a, uint32_t b) {
    const auto d = [&](int shift) {
        return static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    };
    return 2 * d(0) * d(0) + 4 * d(8) * d(8) + 3 * d(16) * d(16) < 160 * 160;
}

std::string CellLabel(const DayCell& cell) {
    if (!cell.labelIsMonthName) return cell.label;
    return std::string(LunarMonthName(cell.lunar.month, cell.lunar.isLeap)) + "月";
}

bool ArrangementAwaited(const HolidayTable& table, int year, int currentYear) {
    return currentYear != 0 && year >= currentYear && year >= kFirstNoticeYear && !table.Announced(year);
}

bool StatutoryFestival(const MonthLayout& m, int day) {
    if (!InMonth(m, day)) return false;
    const DayCell& cell = m.cells[day];
    if (cell.solarTerm != 0 && std::strcmp(SolarTermName(m.month, cell.solarTerm), "清明") == 0) return true;
    if (cell.festival == nullptr) return false;
    for (const char* name : {"元旦", "除夕", "春节", "劳动节", "端午", "中秋", "国庆"})
        if (std::strcmp(cell.festival, name) == 0) return true;
    return false;
}

HolidayLook HolidayOfDay(const MonthLayout& m, const HolidayTable& table, int day, int currentYear) {
    HolidayLook look;
    if (!InMonth(m, day)) return look;
    const char* name = "";
    look.mark = table.Mark(m.year, m.month, day, &name);
    if (look.mark == HolidayMark::None && StatutoryFestival(m, day) && ArrangementAwaited(table, m.year, currentYear)) {
        look.popupLine = "放假安排未公布";
    } else if (look.mark == HolidayMark::Off) {
        look.glyph = "休";
        look.color = kDayOffColor;
        look.popupLine = std::string(name) + " 放假";
    } else if (look.mark == HolidayMark::Work) {
        look.glyph = "班";
        look.color = kWorkdayColor;
        look.popupLine = std::string(name) + " 调休上班";
    }
    return look;
}
