// The month grid under Wine: showing a month (its layout and its note files read) and one full paint
// into a memory DC, over every month from February 1900 to December 2100. Prints µs per month for
// each and the GDI objects left alive after all the paints, then the same paint at 192 DPI (four
// times the pixels).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/app_model.h"
#include "grid/month_grid.h"
#include "notes/month_notes.h"
#include "notes/note_files.h"
#include "platform/handles.h"
#include "res/resource.h"

namespace {

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string root = std::string(temp) + "vestrel-grid-bench";
    if (!SetUpNoteRoot(root.c_str())) {
        std::fprintf(stderr, "grid_bench: cannot set up %s\n", root.c_str());
        return 1;
    }
    // Every list a month reads exists and holds a note.
    int months = 0;
    for (int year = kFirstShownYear; year <= kLastShownYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            if (year == 1900 && month == 1) continue;
            NoteList l;
            l.OpenDated(year, month);
            if (!l.Entry(9).Present()) l.SetEntry(9, "dated note", 10, 0);
            ++months;
        }
    }
    for (int m = 1; m <= 12; ++m) {
        NoteList l;
        l.OpenSolarYearly(m);
        if (!l.Entry(3).Present()) l.SetEntry(3, "yearly", 6, 0);
        l.OpenLunarYearly(m);
        if (!l.Entry(15).Present()) l.SetEntry(15, "lunar yearly", 12, 0);
    }
    NoteList week;
    week.OpenWeekly();
    if (!week.Entry(2).Present()) week.SetEntry(2, "weekly", 6, 0);

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VestrelGridBenchHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 363, 258, nullptr, nullptr, wc.hInstance,
                                nullptr);
    CWnd owner;
    owner.AttachHandle(host);
    CMonthGrid grid;
    if (!grid.Create(CRect(0, 22, 363, 258), &owner, IDC_MONTH_GRID)) return 1;

    HDC screen = GetDC(nullptr);
    ScopedMemoryDc dc(screen);
    ScopedBitmap bitmap(CreateCompatibleBitmap(screen, 363, 236));
    ReleaseDC(nullptr, screen);
    ScopedSelect select(dc.get(), bitmap.get());
    const RECT client{0, 0, 363, 236};

    MonthNoteLists notes;
    const long gdiBefore = LiveGdiObjects();
    std::chrono::steady_clock::duration setMonth{}, paint{};
    for (int round = 0; round < 2; ++round) {  // the first round warms the file cache
        setMonth = paint = {};
        for (YearMonth ym{kFirstShownYear, kFirstShownMonth};; ym = StepMonth(ym, 1)) {
            const auto t0 = std::chrono::steady_clock::now();
            MonthLayout layout;
            LayOutMonth(ym.year, ym.month, &layout);
            notes.Open(layout);
            grid.Show(layout, notes.View());
            const auto t1 = std::chrono::steady_clock::now();
            grid.PaintInto(dc.get(), client);
            GdiFlush();
            const auto t2 = std::chrono::steady_clock::now();
            setMonth += t1 - t0;
            paint += t2 - t1;
            if (ym == YearMonth{kLastShownYear, kLastShownMonth}) break;
        }
    }
    std::printf("grid month shown, notes read: %8.1f us/month over %d months\n", 1e6 * Seconds(setMonth) / months,
                months);
    std::printf("grid paint (memory DC):   %8.1f us/month over %d months\n", 1e6 * Seconds(paint) / months, months);
    std::printf("GDI objects alive after the paints: %+ld\n", LiveGdiObjects() - gdiBefore);

    // The grid at 192 DPI, painted into a bitmap of its size.
    CMonthGrid large;
    if (!large.Create(CRect(0, 44, 726, 516), &owner, IDC_MONTH_GRID, 192)) return 1;
    HDC screen2 = GetDC(nullptr);
    ScopedMemoryDc largeDc(screen2);
    ScopedBitmap largeBitmap(CreateCompatibleBitmap(screen2, 726, 472));
    ReleaseDC(nullptr, screen2);
    ScopedSelect selectLarge(largeDc.get(), largeBitmap.get());
    std::chrono::steady_clock::duration largePaint{};
    for (YearMonth ym{kFirstShownYear, kFirstShownMonth};; ym = StepMonth(ym, 1)) {
        MonthLayout layout;
        LayOutMonth(ym.year, ym.month, &layout);
        notes.Open(layout);
        large.Show(layout, notes.View());
        const auto t0 = std::chrono::steady_clock::now();
        large.PaintInto(largeDc.get(), RECT{0, 0, 726, 472});
        GdiFlush();
        largePaint += std::chrono::steady_clock::now() - t0;
        if (ym == YearMonth{kLastShownYear, kLastShownMonth}) break;
    }
    std::printf("grid paint at 192 DPI:    %8.1f us/month over %d months\n", 1e6 * Seconds(largePaint) / months,
                months);
    large.DestroyWindow();
    owner.AttachHandle(nullptr);
    DestroyWindow(host);
    return 0;
}
