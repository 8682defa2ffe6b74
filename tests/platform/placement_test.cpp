// The reachable-position rule of stored window positions; windows kept whole inside a work area.
#include <gtest/gtest.h>

#include <climits>

#include "platform/placement.h"

namespace {

TEST(Placement, AStoredPositionMustKeepAPieceOfTheStripOnAMonitor) {
    const std::vector<PixelRect> one{{0, 0, 1024, 768}};
    const std::vector<PixelRect> two{{0, 0, 1024, 768}, {1024, 0, 2944, 1080}};
    const Origin fallback{500, 300};
    struct { Origin stored; const std::vector<PixelRect>* monitors; Origin want; const char* why; } rows[] = {
        {{100, 100}, &one, {100, 100}, "on screen"},
        {{-300, 10}, &one, {-300, 10}, "63 px of the strip on screen"},
        {{-323, 10}, &one, {-323, 10}, "40 px: just enough"},
        {{-324, 10}, &one, {500, 300}, "39 px: too little"},
        {{1000, 10}, &one, {500, 300}, "24 px at the right edge"},
        {{984, 10}, &one, {984, 10}, "40 px at the right edge"},
        {{10, 748}, &one, {10, 748}, "20 px tall at the bottom"},
        {{10, 749}, &one, {500, 300}, "19 px tall at the bottom"},
        {{10, -5}, &one, {10, -5}, "the strip's lower 20 px on screen"},
        {{2000, 500}, &one, {500, 300}, "a monitor that is gone"},
        {{2000, 500}, &two, {2000, 500}, "on the second monitor"},
        {{INT_MAX - 10, 0}, &two, {500, 300}, "damaged value"},
        {{INT_MIN, INT_MIN}, &two, {500, 300}, "damaged value"},
    };
    for (const auto& r : rows) {
        const Origin got = ReachableOrigin(true, r.stored, fallback, 363, 25, *r.monitors, 40, 20);
        EXPECT_EQ(got.x, r.want.x) << r.why;
        EXPECT_EQ(got.y, r.want.y) << r.why;
    }
    // The memo pad: a 10-pixel piece of its title strip suffices.
    EXPECT_EQ(ReachableOrigin(true, Origin{200, 758}, fallback, 185, 16, one, 40, 10).y, 758);
    EXPECT_EQ(ReachableOrigin(true, Origin{200, 759}, fallback, 185, 16, one, 40, 10).y, 300);
    EXPECT_EQ(ReachableOrigin(false, Origin{100, 100}, fallback, 363, 25, one, 40, 20).x, 500);
    EXPECT_EQ(ReachableOrigin(true, Origin{100, 100}, fallback, 363, 25, {}, 40, 20).x, 500);  // no monitor known
}

// A popup hung under the pointer and a picker centred over its dialog are moved, never cut, into
// the work area of a second monitor (left 1024, taskbar at the bottom).
TEST(Placement, HungAndCentredWindowsStayWholeInTheWorkArea) {
    const PixelRect area{1024, 0, 2944, 1040};
    struct { const char* why; Origin got, want; } rows[] = {
        {"room below", HangUnder(1500, 100, 200, 50, area), {1402, 112}},
        {"room below at 192 DPI", HangUnder(1500, 100, 200, 50, area, 192), {1404, 124}},
        {"above the pointer at 144 DPI", HangUnder(1500, 1000, 200, 300, area, 144), {1403, 682}},
        {"wider than the rest of the area on the right", HangUnder(2900, 100, 200, 50, area), {2744, 112}},
        {"left edge of the area", HangUnder(1030, 100, 200, 50, area), {1024, 112}},
        {"no room below: above the pointer", HangUnder(1500, 1000, 200, 300, area), {1402, 688}},
        {"no room above or below: at the bottom", HangUnder(1500, 500, 200, 1000, area), {1402, 40}},
        {"taller and wider than the area: its top-left", HangUnder(1500, 500, 5000, 3000, area), {1024, 0}},
        {"centred", CentreOver(PixelRect{1100, 100, 1500, 400}, 200, 100, area), {1200, 200}},
        {"centred, pushed off the top", CentreOver(PixelRect{1100, -50, 1500, 50}, 200, 300, area), {1200, 0}},
        {"huge owner", CentreOver(PixelRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 100, 100, area), {1024, 0}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(r.got.x, r.want.x) << r.why;
        EXPECT_EQ(r.got.y, r.want.y) << r.why;
    }
}

// The memo pad goes under the calendar (363 x 278 at 96 DPI), else above, right or left of it; the
// tabs go right of it unless that is off screen, then left of it; where nothing fits, the first
// place kept on the screen.
TEST(Placement, PadAndTabsGoWhereTheyCanBeSeen) {
    const std::vector<PixelRect> one{{0, 0, 1024, 768}};
    struct { PixelRect calendar; Origin pad, tab; const char* why; } rows[] = {
        {{500, 200, 863, 478}, {500, 488}, {873, 460}, "room below and right"},
        {{500, 480, 863, 758}, {500, 250}, {873, 740}, "near the bottom: pad above"},
        {{650, 100, 1013, 378}, {650, 388}, {614, 360}, "near the right edge: tabs left"},
        {{650, 480, 1013, 758}, {650, 250}, {614, 740}, "bottom right corner"},
        {{0, 0, 1024, 768}, {0, 548}, {998, 750}, "the whole screen: nowhere whole, the first place kept on it"},
        {{500, 200, 863, 617}, {305, 200}, {873, 599}, "no room below or above, too little right: left"},
    };
    // A window that leaves the calendar in view (the find window, 490 x 350, 40 apart) goes right,
    // left, below, then above it.
    struct { PixelRect calendar; Origin find; const char* why; } sides[] = {
        {{100, 100, 463, 378}, {503, 100}, "right"},
        {{560, 100, 923, 378}, {30, 100}, "left"},
        {{300, 100, 663, 378}, {300, 418}, "below"},
        {{300, 400, 663, 678}, {300, 10}, "above"},
        {{0, 0, 1024, 768}, {534, 0}, "the whole screen: right, kept on it"},
    };
    for (const auto& r : sides) {
        const Origin find = OnAnySide(r.calendar, 490, 350, 40, one);
        EXPECT_EQ(find.x, r.find.x) << r.why;
        EXPECT_EQ(find.y, r.find.y) << r.why;
    }
    for (const auto& r : rows) {
        const Origin pad = BesideCalendar(r.calendar, 185, 220, 10, one);
        const Origin tab = RightOrLeft(r.calendar, r.calendar.bottom - 18, 26, 18, 10, one);
        EXPECT_EQ(pad.x, r.pad.x) << r.why;
        EXPECT_EQ(pad.y, r.pad.y) << r.why;
        EXPECT_EQ(tab.x, r.tab.x) << r.why;
        EXPECT_EQ(tab.y, r.tab.y) << r.why;
    }
    // At 144 and 192 DPI a 1000-pixel-high screen has no room for the pad (222 x 205 at 96 DPI) under
    // or above the calendar: it goes beside it, whole on one monitor, over it only when nothing fits.
    const std::vector<PixelRect> wide{{0, 0, 1920, 1000}}, narrow{{0, 0, 1280, 1000}},
        pair{{0, 0, 1280, 1000}, {1280, 0, 2560, 1000}};
    struct { int dpi; const std::vector<PixelRect>* monitors; Origin calendar, want; const char* why; } scaled[] = {
        {144, &wide, {500, 300}, {1060, 300}, "right"},
        {192, &wide, {500, 300}, {1246, 300}, "right"},
        {192, &wide, {1100, 300}, {636, 300}, "room only on the left"},
        {192, &pair, {500, 300}, {36, 300}, "right would straddle two monitors: left"},
        {192, &pair, {800, 300}, {1546, 300}, "right, on the second monitor"},
        {192, &narrow, {300, 300}, {300, 590}, "no room anywhere: below, kept on the screen"},
    };
    for (const auto& r : scaled) {
        const PixelRect calendar{r.calendar.x, r.calendar.y, r.calendar.x + Scale(363, r.dpi),
                                 r.calendar.y + Scale(278, r.dpi)};
        const Origin pad = BesideCalendar(calendar, Scale(222, r.dpi), Scale(205, r.dpi), Scale(10, r.dpi), *r.monitors);
        EXPECT_EQ(pad.x, r.want.x) << r.dpi << " " << r.why;
        EXPECT_EQ(pad.y, r.want.y) << r.dpi << " " << r.why;
    }
}

// A note's popup no taller than PopupRoom never covers the pointer nor the calendar's strip above
// the day cells or its rows below them, wherever the calendar lies, at each scale; a tall one goes
// beside the calendar, on the left when the right has no room.
TEST(Placement, ANotePopupNeverCoversThePointerNorTheCalendarsControls) {
    const PixelRect area{0, 0, 1920, 1040};
    for (int dpi : {96, 144, 192})
        for (const Origin at : {Origin{0, 0}, Origin{800, 400}, Origin{1920 - Scale(363, dpi), 1040 - Scale(278, dpi)}}) {
            const PixelRect calendar{at.x, at.y, at.x + Scale(363, dpi), at.y + Scale(278, dpi)};
            const PopupBounds b{{calendar.left, at.y + Scale(43, dpi), calendar.right, at.y + Scale(241, dpi)},
                                calendar, area, dpi};
            for (int y = b.cells.top; y < b.cells.bottom; y += 5) {
                const int room = PopupRoom(y, 300, b);
                for (int height : {1, room / 2, room}) {
                    const int x = calendar.left + 180;
                    const Origin o = PlacePopup(x, y, 300, height, b);
                    const bool overCalendar = o.x < calendar.right && o.x + 300 > calendar.left &&
                                              o.y < calendar.bottom && o.y + height > calendar.top;
                    EXPECT_TRUE(y < o.y || y >= o.y + height || x < o.x || x >= o.x + 300) << dpi << " " << y;
                    EXPECT_TRUE(o.y >= area.top && o.y + height <= area.bottom) << dpi << " " << y;
                    EXPECT_TRUE(!overCalendar || (o.y >= b.cells.top && o.y + height <= b.cells.bottom))
                        << dpi << " " << at.x << "," << at.y << " " << y << " " << height;
                }
            }
        }
    const PopupBounds middle{{800, 443, 1163, 641}, {800, 400, 1163, 678}, area, 96};
    const PopupBounds right{{1557, 443, 1920, 641}, {1557, 400, 1920, 678}, area, 96};
    EXPECT_EQ(PopupRoom(600, 300, middle), 1040);
    EXPECT_EQ(PlacePopup(980, 600, 300, 800, middle).x, 1167);  // right of the calendar
    EXPECT_EQ(PlacePopup(980, 600, 300, 800, middle).y, 200);   // centred on the pointer's height
    EXPECT_EQ(PlacePopup(1700, 600, 300, 800, right).x, 1253);  // no room on the right: left
    EXPECT_EQ(PlacePopup(980, 450, 300, 100, middle).y, 462);   // fits under the pointer in the cells
    EXPECT_EQ(PlacePopup(980, 630, 300, 100, middle).y, 518);   // over it
}

}  // namespace
