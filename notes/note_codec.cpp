// Note entries, the note list byte format and the colour rule.
#include "notes/note_codec.h"

#include <cstring>

uint32_t NoteColor(uint32_t colourWord, NoteKind kind) {
    if (colourWord & OwnColorFlag) return colourWord & 0x00FFFFFF;
    switch (kind) {
        case NoteKind::Day: return 0x00FACE87;          // RGB(135, 206, 250)
        case NoteKind::LunarYearly: return 0x00FF0080;  // RGB(128, 0, 255)
        case NoteKind::SolarYearly:
        case NoteKind::Weekly: break;
    }
    return 0x000000FF;  // RGB(255, 0, 0)
}

int NoteEntry::Assign(const char* newText, int newLength, uint32_t newColourWord) {
    if (newText == nullptr) newLength = 0;  // a null text is the empty text
    if (newLength < 0 || newLength > kMaxNoteLength) return -1;
    Clear();
    if (!(newColourWord & OwnColorFlag) && (newText == nullptr || newText[0] == '\0')) return 0;
    text.reset(new char[newLength + 1]);
    if (newLength > 0) std::memcpy(text.get(), newText, static_cast<size_t>(newLength));
    text[newLength] = '\0';
    length = static_cast<uint16_t>(newLength);
    colourWord = newColourWord;
    return 0;
}

void NoteEntry::Clear() {
    text.reset();
    length = 0;
    colourWord = 0;
}

namespace {

uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(std::vector<char>& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::vector<char>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr size_t kHeader = 8;  // index, length, colour word

}  // namespace

int DecodeNoteList(const char* data, size_t size, NoteEntry* entries, int lastIndex) {
    for (int i = 0; i <= lastIndex; ++i) entries[i].Clear();
    if (data == nullptr || size <= 2) return 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    size_t pos = 2;  // after the tag, which is not checked
    while (pos < size) {
        if (size - pos < kHeader) return -1;  // header cut short by the end of the file
        const uint16_t index = Read16(bytes + pos);
        const uint16_t n = Read16(bytes + pos + 2);
        const uint32_t colourWord = Read32(bytes + pos + 4);
        if (index > lastIndex) return -1;
        if (size - pos - kHeader < n) return -1;  // text cut short by the end of the file
        // A record of length 0 holds the empty text, whatever byte follows it.
        const char* text = n > 0 ? data + pos + kHeader : "";
        entries[index].Assign(text, n, colourWord);
        pos += kHeader + n;
    }
    return 0;
}

std::vector<char> EncodeNoteList(const NoteEntry* entries, int lastIndex) {
    std::vector<char> out;
    for (int i = 0; i <= lastIndex; ++i) {
        const NoteEntry& e = entries[i];
        if (!e.Present()) continue;
        if (out.empty()) Put16(out, kNoteListTag);
        Put16(out, static_cast<uint32_t>(i));
        Put16(out, e.length);
        Put32(out, e.colourWord);
        out.insert(out.end(), e.text.get(), e.text.get() + e.length);
    }
    return out;
}

bool MergeConflictingNote(const std::string& mine, const std::string& theirs, std::string* merged) {
    const std::string joined = mine + "\r\n（另一处的修改）" + theirs;
    const bool fits = joined.size() <= static_cast<size_t>(kMaxNoteLength);
    *merged = fits ? joined : mine;
    return fits;
}
