// How the note popup lays out a day's notes: lines split at line ends and wrapped at a width that
// reads well, no more lines than fit on the screen, the last one ending with "…" when text was left
// out. Portable: the widths of characters come from the popup's font.
#pragma once

#include <string>

// Advances in pixels: of each one-byte character, and of any two-byte (GBK) character.
struct GlyphWidths {
    int single[256];
    int wide;
};

struct PopupText {
    std::string text;  // the lines joined by CR LF
    int lines = 0;
    int width = 0;     // of the widest line
    bool cut = false;  // text was left out
};

// The popup's lines of text (GBK, length bytes; lines end at CR LF, LF or CR). A line wider than
// maxWidth is wrapped: after its last space when a space lets a word move down whole, else between
// two characters (never inside a two-byte one). At most maxLines lines (at least 1); text beyond
// them is left out and the last line ends with "…", shortened until it fits.
PopupText LayOutPopupText(const char* text, int length, const GlyphWidths& widths, int maxWidth, int maxLines);

// The reading width of the popup: about 40 Chinese characters.
constexpr int kPopupReadingChars = 40;
