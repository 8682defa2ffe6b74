// The note popup's text layout: wrapping at the reading width, line ends, the cut with "…".
#include <gtest/gtest.h>

#include <string>

#include "grid/popup_text.h"

namespace {

// Every one-byte character 7 pixels, every Chinese one 14.
GlyphWidths Widths() {
    GlyphWidths w{};
    for (int& x : w.single) x = 7;
    w.wide = 14;
    return w;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    while (n-- > 0) out += s;
    return out;
}

TEST(PopupText, WrapsBreaksAndCuts) {
    const GlyphWidths w = Widths();
    struct Row {
        const char* why;
        std::string text;
        int maxWidth, maxLines;
        std::string want;
        int width;
        bool cut;
    } rows[] = {
        {"fits", "记事一", 560, 50, "记事一", 42, false},
        {"line ends of every kind, a last empty line", "a\r\nb\nc\rd\r\n", 560, 50, "a\r\nb\r\nc\r\nd\r\n", 7, false},
        {"a Latin word moves down whole", "ab cd", 30, 50, "ab\r\ncd", 14, false},
        {"a word longer than the line is broken", "abcdef", 30, 50, "abcd\r\nef", 28, false},
        {"Chinese after a space breaks anywhere", "ab 中中中", 35, 50, "ab 中\r\n中中", 35, false},
        {"no two-byte character is split", "a中中", 20, 50, "a\r\n中\r\n中", 14, false},
        {"cut: the last line ends with an ellipsis that fits", "中中中中中中", 42, 1, "中中…", 42, true},
        {"cut at a line end", "one\r\ntwo\r\nthree", 560, 2, "one\r\ntwo…", 35, true},
        {"narrower than one character: one a line", "中中", 5, 50, "中\r\n中", 14, false},
        {"a lead byte at the very end counts alone", "a\x81", 560, 50, "a\x81", 14, false},
        {"nothing", "", 560, 50, "", 0, false},
    };
    for (const Row& r : rows) {
        const PopupText t = LayOutPopupText(r.text.data(), static_cast<int>(r.text.size()), w, r.maxWidth, r.maxLines);
        EXPECT_EQ(t.text, r.want) << r.why;
        EXPECT_EQ(t.width, r.width) << r.why;
        EXPECT_EQ(t.cut, r.cut) << r.why;
    }
    EXPECT_EQ(LayOutPopupText(nullptr, 5, w, 560, 50).text, "");
}

// 3,000 and 32,767 Chinese characters: 40 a line, as many lines as the screen holds, then "…".
TEST(PopupText, LongNotesKeepToTheReadingWidthAndTheScreen) {
    const GlyphWidths w = Widths();
    for (int chars : {3000, 32767}) {
        const std::string text = Repeat("记", chars);
        const PopupText t = LayOutPopupText(text.data(), static_cast<int>(text.size()), w,
                                            kPopupReadingChars * w.wide, 48);
        EXPECT_EQ(t.lines, 48);
        EXPECT_TRUE(t.cut);
        EXPECT_EQ(t.width, 560);
        EXPECT_EQ(t.text, Repeat(Repeat("记", 40) + "\r\n", 47) + Repeat("记", 39) + "…") << chars;
    }
}

}  // namespace
