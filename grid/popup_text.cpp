// The note popup's text layout.
#include "grid/popup_text.h"

#include <vector>

namespace {

constexpr const char* kEllipsis = "\xA1\xAD";  // "…" in GBK

struct Line {
    int start, length, width;
};

int CharLength(const unsigned char* s, int i, int end) {
    return s[i] >= 0x81 && s[i] <= 0xFE && i + 1 < end ? 2 : 1;
}

int CharWidth(const unsigned char* s, int i, int n, const GlyphWidths& w) { return n == 2 ? w.wide : w.single[s[i]]; }

// Wraps s[start, end) into lines; stops once lines holds limit of them and returns whether text was
// left over.
bool Wrap(const unsigned char* s, int start, int end, const GlyphWidths& w, int maxWidth, size_t limit,
          std::vector<Line>* lines) {
    int lineStart = start, width = 0, lastSpace = -1;
    for (int i = start; i < end;) {
        const int n = CharLength(s, i, end);
        const int cw = CharWidth(s, i, n, w);
        if (width + cw > maxWidth && i > lineStart) {
            if (lines->size() == limit) return true;
            // Back to the last space when the line holds a word before it; the space is dropped.
            const bool atSpace = lastSpace > lineStart;
            const int stop = atSpace ? lastSpace : i;
            int lineWidth = 0;
            for (int k = lineStart; k < stop;) {
                const int kn = CharLength(s, k, end);
                lineWidth += CharWidth(s, k, kn, w);
                k += kn;
            }
            lines->push_back(Line{lineStart, stop - lineStart, lineWidth});
            lineStart = atSpace ? lastSpace + 1 : i;
            i = lineStart;
            width = 0;
            lastSpace = -1;
            continue;
        }
        if (s[i] == ' ') lastSpace = i;
        if (n == 2) lastSpace = -1;  // Chinese text breaks anywhere: only a Latin word moves down whole
        width += cw;
        i += n;
    }
    if (lines->size() == limit) return true;
    lines->push_back(Line{lineStart, end - lineStart, width});
    return false;
}

}  // namespace

PopupText LayOutPopupText(const char* text, int length, const GlyphWidths& widths, int maxWidth, int maxLines) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text != nullptr ? text : "");
    if (text == nullptr || length < 0) length = 0;
    const size_t limit = maxLines < 1 ? 1 : static_cast<size_t>(maxLines);
    std::vector<Line> lines;
    PopupText out;
    for (int pos = 0;;) {
        int end = pos;
        while (end < length && s[end] != '\r' && s[end] != '\n') ++end;
        if (Wrap(s, pos, end, widths, maxWidth, limit, &lines)) {
            out.cut = true;
            break;
        }
        if (end >= length) break;
        pos = end + (s[end] == '\r' && end + 1 < length && s[end + 1] == '\n' ? 2 : 1);
        if (lines.size() == limit) {
            out.cut = true;
            break;
        }
    }
    if (out.cut) {
        // The last line keeps what fits before "…".
        Line& last = lines.back();
        int width = 0, kept = 0;
        const int end = last.start + last.length;
        for (int i = last.start; i < end;) {
            const int n = CharLength(s, i, end);
            const int cw = CharWidth(s, i, n, widths);
            if (width + cw + widths.wide > maxWidth) break;
            width += cw;
            i += n;
            kept = i - last.start;
        }
        last.length = kept;
        last.width = width + widths.wide;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out.text += "\r\n";
        out.text.append(reinterpret_cast<const char*>(s) + lines[i].start, static_cast<size_t>(lines[i].length));
        if (lines[i].width > out.width) out.width = lines[i].width;
    }
    if (out.cut) out.text += kEllipsis;
    out.lines = static_cast<int>(lines.size());
    return out;
}
